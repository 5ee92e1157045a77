#include "gfx/render.h"

#include <string.h>

#include "gfx/font.h"

u8* topFramebuffer;

namespace {

s32 screenColumns(u8 screen) { return screen == 1 ? BOTTOM_COLUMNS : TOP_COLUMNS; }

// Paints the set bits of one glyph, skipping every pixel outside `columns` x 240.
// Coordinates are 64-bit so that no position near the 32-bit limits can overflow.
void paintGlyph(u8 code, s64 x, s64 y, u8 red, u8 green, u8 blue, u8* framebuffer,
                s64 columns) {
    if (code >= 128) return; // no glyph beyond the 7-bit codes
    const u8* rows = &FONT8X8[code * 8];
    for (s32 k = 0; k < 8; k++) {
        u8 bits = rows[k];
        s64 row = y + k - 1;
        if (bits == 0 || row < 0 || row >= SCREEN_ROWS) continue;
        for (s32 j = 0; j < 8; j++) {
            s64 column = x + j;
            if (!(bits & (0x80 >> j)) || column < 0 || column >= columns) continue;
            u8* pixel = framebuffer + 3 * (SCREEN_ROWS * column + (SCREEN_ROWS - 1) - row);
            pixel[0] = blue;
            pixel[1] = green;
            pixel[2] = red;
        }
    }
}

} // namespace

void clearScreen(u8* framebuffer, u8 screen) {
    memset(framebuffer, 0, screen == 1 ? BOTTOM_FRAMEBUFFER_BYTES : TOP_FRAMEBUFFER_BYTES);
}

void clearTopScreen(void) {
    topFramebuffer = gfxGetFramebuffer(GFX_TOP, GFX_LEFT, NULL, NULL);
    clearScreen(topFramebuffer, 0);
}

void clearBottomScreen(void) { clearScreen(gfxGetFramebuffer(GFX_BOTTOM, GFX_LEFT, NULL, NULL), 1); }

void drawGlyph(u8 code, s32 x, s32 y, u8 red, u8 green, u8 blue, u8* framebuffer) {
    paintGlyph(code, x, y, red, green, blue, framebuffer, TOP_COLUMNS);
}

void drawText(const char* text, s32 x, s32 y, u8 red, u8 green, u8 blue, u8* framebuffer,
              u8 screen) {
    s64 width = screenColumns(screen);
    s64 pen = x;
    s64 line = 0;
    for (const u8* c = (const u8*)text; *c != 0; c++) {
        if (pen + 7 >= width) {
            pen = x;
            line++;
        }
        paintGlyph(*c, pen, (s64)y + 8 * line, red, green, blue, framebuffer, width);
        pen += 8;
    }
}
