// The console program: the game's loop is the whole of main.
#include "app/app.h"

int main(void) { return appMain(); }
