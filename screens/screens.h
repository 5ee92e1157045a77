// Composition of the upper screen from the farm, in French or English.
#pragma once

// Clears the upper screen and draws the rules, the month or the end of the game.
void drawScreen(void);
