// Text straight into the console's framebuffers: 3 bytes a pixel (blue, green, red),
// stored column by column from the left, each column from the bottom of the screen up.
#pragma once

#include "platform/ctru.h"

enum {
    SCREEN_ROWS = GSP_SCREEN_WIDTH,
    TOP_COLUMNS = GSP_SCREEN_HEIGHT_TOP,
    BOTTOM_COLUMNS = GSP_SCREEN_HEIGHT_BOTTOM,
    COLUMN_BYTES = SCREEN_ROWS * 3,
    TOP_FRAMEBUFFER_BYTES = TOP_COLUMNS * COLUMN_BYTES,
    BOTTOM_FRAMEBUFFER_BYTES = BOTTOM_COLUMNS * COLUMN_BYTES
};

// The upper screen's buffer for the frame being composed; taken anew every frame.
extern u8* topFramebuffer;

// Screen selector 1 is the lower screen, any other value the upper one.
void clearScreen(u8* framebuffer, u8 screen);
void clearTopScreen(void);
void clearBottomScreen(void);

// The glyph covers columns x..x+7 and rows y-1..y+6; pixels off the upper screen are skipped.
void drawGlyph(u8 code, s32 x, s32 y, u8 red, u8 green, u8 blue, u8* framebuffer);

// Draws glyphs 8 pixels apart, wrapping to the next 8-pixel row at the starting x
// when a glyph would reach the screen's right edge.
void drawText(const char* text, s32 x, s32 y, u8 red, u8 green, u8 blue, u8* framebuffer,
              u8 screen);
