// Composition of the upper screen from the farm, in French or English.
#pragma once

#include "platform/ctru.h"

// One line of the upper screen as drawn: its text, where drawText starts it (the glyphs'
// top row is y - 1), and its colour.
struct ScreenLine {
    char text[100];
    s32 x, y;
    u8 red, green, blue;
};

// Clears the upper screen and draws the rules, the month or the end of the game.
void drawScreen(void);

// Fills `line` with the index-th line, in the order drawn, of the screen drawScreen would
// draw now; false past the last (and for a negative index).
bool screenLine(int index, ScreenLine* line);
