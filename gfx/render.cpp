#include "gfx/render.h"

#include <string.h>

#include "gfx/font.h"

u8* topFramebuffer;

namespace {

s32 screenColumns(u8 screen) { return screen == 1 ? BOTTOM_COLUMNS : TOP_COLUMNS; }

// Paints the set bits of one glyph one at a time, skipping every pixel outside
// `columns` x 240. Coordinates are 64-bit so that no position near the 32-bit
// limits can overflow. Used where the glyph's cell is not wholly on the screen.
void paintClipped(u8 code, s64 x, s64 y, u8 red, u8 green, u8 blue, u8* framebuffer,
                  s64 columns) {
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

// In memory a glyph's 8x8 cell is 8 short columns, 720 bytes apart, each holding the
// glyph's 8 rows as 24 consecutive bytes, bottom row first. A vertical run of painted
// pixels is therefore a run of bytes blue, green, red, blue, ..., and each glyph is
// kept as the stores that paint exactly its runs, grouped by kind so that each kind
// is one tight loop:
// - a run of 3 to 7 pixels (9 to 21 bytes): three 8-byte stores, overlapping inside
//   the run only: from its pixel 0 and from its pixel 2 (or 0 again when the run is
//   short), which start on a blue byte, and the last 8 bytes, which start on green;
//   a run of all 8 rows is one of 7 and a lone pixel;
// - a run of 2 pixels: 4 bytes, then 2;
// - a lone pixel: 2 bytes, then 1.
enum StoreKind { Run, PairRun, LonePixel, STORE_KINDS };
enum { RUN_STORES = 3 };
// At most 6 offsets a column (two runs of 3), and one repeated store for each of the
// two kinds that go by twos.
enum { MAX_GLYPH_STORES = 8 * 6 + 2 };

struct GlyphStores {
    u8 runs;                       // runs of 3 or more pixels
    u8 pairTwos;                   // runs of 2, counted by twos
    u8 loneTwos;                   // lone pixels, counted by twos
    u16 offsets[MAX_GLYPH_STORES]; // byte offsets from the cell: runs, pairs, lone pixels
};

struct GlyphTable {
    GlyphStores glyphs[128];
};

GlyphTable buildGlyphTable(void) {
    GlyphTable table;
    memset(&table, 0, sizeof table);
    for (u32 code = 0; code < 128; code++) {
        u16 byKind[STORE_KINDS][MAX_GLYPH_STORES];
        u32 count[STORE_KINDS] = {};
        for (u32 j = 0; j < 8; j++) {
            u32 column = 0; // bit i: pixel i of the column, which is glyph row 7 - i
            for (u32 k = 0; k < 8; k++) {
                if (FONT8X8[code * 8 + k] & (0x80 >> j)) column |= 1u << (7 - k);
            }
            for (u32 i = 0; i < 8;) {
                if (!(column & (1u << i))) {
                    i++;
                    continue;
                }
                u32 start = i;
                while (i < 8 && (column & (1u << i))) i++;
                u32 first = 720 * j + 3 * start;
                u32 bytes = 3 * (i - start);
                if (bytes == 24) {
                    byKind[LonePixel][count[LonePixel]++] = (u16)(first + 21);
                    bytes = 21;
                }
                if (bytes == 3) {
                    byKind[LonePixel][count[LonePixel]++] = (u16)first;
                } else if (bytes == 6) {
                    byKind[PairRun][count[PairRun]++] = (u16)first;
                } else {
                    byKind[Run][count[Run]++] = (u16)first;
                    byKind[Run][count[Run]++] = (u16)(first + (bytes > 16 ? 6 : 0));
                    byKind[Run][count[Run]++] = (u16)(first + bytes - 8);
                }
            }
        }
        // Pairs and lone pixels go two at a time: an odd count repeats its last store,
        // which writes the same bytes again.
        for (u32 kind = PairRun; kind <= LonePixel; kind++) {
            if (count[kind] % 2) {
                byKind[kind][count[kind]] = byKind[kind][count[kind] - 1];
                count[kind]++;
            }
        }
        GlyphStores& glyph = table.glyphs[code];
        glyph.runs = (u8)(count[Run] / RUN_STORES);
        glyph.pairTwos = (u8)(count[PairRun] / 2);
        glyph.loneTwos = (u8)(count[LonePixel] / 2);
        u32 used = 0;
        for (u32 kind = 0; kind < STORE_KINDS; kind++) {
            for (u32 n = 0; n < count[kind]; n++) glyph.offsets[used++] = byKind[kind][n];
        }
    }
    return table;
}

// Built once, from the font, before the game starts.
const GlyphTable kGlyphTable = buildGlyphTable();

// A colour laid out as the stores write it.
struct Colour {
    u64 fromBlue;  // blue, green, red, blue, green, red, blue, green
    u64 fromGreen; // green, red, blue, green, red, blue, green, red
    u32 pairHead;  // blue, green, red, blue
    u16 pairTail;  // green, red
    u16 blueGreen;
    u8 red;
};

Colour makeColour(u8 red, u8 green, u8 blue) {
    u8 pattern[9] = {blue, green, red, blue, green, red, blue, green, red};
    Colour colour;
    memcpy(&colour.fromBlue, pattern, 8);
    memcpy(&colour.fromGreen, pattern + 1, 8);
    memcpy(&colour.pairHead, pattern, 4);
    memcpy(&colour.pairTail, pattern + 1, 2);
    memcpy(&colour.blueGreen, pattern, 2);
    colour.red = red;
    return colour;
}

// The whole cell on the screen: `cell` is the byte of its column 0, glyph row 7.
inline void paintCell(const GlyphStores* glyph, const Colour& colour, u8* cell) {
    const u16* offset = glyph->offsets;
    for (u32 n = glyph->runs; n != 0; n--, offset += RUN_STORES) {
        memcpy(cell + offset[0], &colour.fromBlue, 8);
        memcpy(cell + offset[1], &colour.fromBlue, 8);
        memcpy(cell + offset[2], &colour.fromGreen, 8);
    }
    for (u32 n = glyph->pairTwos; n != 0; n--, offset += 2) {
        memcpy(cell + offset[0], &colour.pairHead, 4);
        memcpy(cell + offset[0] + 4, &colour.pairTail, 2);
        memcpy(cell + offset[1], &colour.pairHead, 4);
        memcpy(cell + offset[1] + 4, &colour.pairTail, 2);
    }
    for (u32 n = glyph->loneTwos; n != 0; n--, offset += 2) {
        memcpy(cell + offset[0], &colour.blueGreen, 2);
        cell[offset[0] + 2] = colour.red;
        memcpy(cell + offset[1], &colour.blueGreen, 2);
        cell[offset[1] + 2] = colour.red;
    }
}

// The glyph at (x, y) covers columns x to x + 7 and rows y - 1 to y + 6.
inline void paintGlyph(u8 code, s64 x, s64 y, const Colour& colour, u8 red, u8 green, u8 blue,
                       u8* framebuffer, s64 columns) {
    if (code >= 128) return; // no glyph beyond the 7-bit codes
    if (x >= 0 && x + 8 <= columns && y >= 1 && y + 6 < SCREEN_ROWS) {
        paintCell(&kGlyphTable.glyphs[code], colour,
                  framebuffer + 3 * (SCREEN_ROWS * x + (SCREEN_ROWS - 7) - y));
    } else {
        paintClipped(code, x, y, red, green, blue, framebuffer, columns);
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
    paintGlyph(code, x, y, makeColour(red, green, blue), red, green, blue, framebuffer,
               TOP_COLUMNS);
}

void drawText(const char* text, s32 x, s32 y, u8 red, u8 green, u8 blue, u8* framebuffer,
              u8 screen) {
    Colour colour = makeColour(red, green, blue);
    s64 width = screenColumns(screen);
    s64 pen = x;
    s64 line = 0;
    for (const u8* c = (const u8*)text; *c != 0; c++) {
        if (pen + 7 >= width) {
            pen = x;
            line++;
        }
        paintGlyph(*c, pen, (s64)y + 8 * line, colour, red, green, blue, framebuffer, width);
        pen += 8;
    }
}
