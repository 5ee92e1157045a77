// The renderer and its font: every glyph's pixels against the font as it must look
// (tests/golden/font.txt), whole on the screen and cut at each edge; the layout of text.
#include <gtest/gtest.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "gfx/render.h"
#include "support/test_console.h"

namespace {

const u8 kBackground = 0x11;
const size_t kGuard = 4096;
const u8 kRed = 0xC1, kGreen = 0x82, kBlue = 0x43;

// A framebuffer on a busy background, with guard bytes on both sides.
struct Buffer {
    std::vector<u8> bytes;
    explicit Buffer(size_t size) : bytes(size + 2 * kGuard, kBackground) {}
    u8* data() { return bytes.data() + kGuard; }
    size_t changedBytes() const {
        size_t changed = 0;
        for (u8 byte : bytes) changed += byte != kBackground;
        return changed;
    }
};

int goldenPixels(int code) {
    int pixels = 0;
    for (int k = 0; k < 8; k++) pixels += __builtin_popcount(goldenGlyphRow(code, k));
    return pixels;
}

// Checks the cell of `code` drawn at (x, y) on a screen `columns` wide: the glyph's
// pixels in the colour where they are on the screen, the background elsewhere. Then
// puts the background back.
void checkCell(u8* fb, s64 columns, int code, s64 x, s64 y) {
    for (int k = 0; k < 8; k++) {
        for (int j = 0; j < 8; j++) {
            s64 column = x + j, row = y + k - 1; // the glyph's top row lands one row above y
            if (column < 0 || column >= columns || row < 0 || row >= SCREEN_ROWS) continue;
            u8* pixel = fb + 3 * (SCREEN_ROWS * column + SCREEN_ROWS - 1 - row);
            bool set = goldenGlyphRow(code, k) & (0x80 >> j);
            std::vector<u8> want = set ? std::vector<u8>{kBlue, kGreen, kRed} : std::vector<u8>(3, kBackground);
            EXPECT_EQ(std::vector<u8>(pixel, pixel + 3), want) << code << " at " << x << "," << y << ": " << k << "," << j;
            pixel[0] = pixel[1] = pixel[2] = kBackground;
        }
    }
}

TEST(Font, EveryGlyphWholeAndCutAtEachEdge) {
    const s64 places[][2] = {{100, 100}, {8, 233}, {-3, 50}, {395, 50}, {50, 0}, {50, 236},
                             {-6, -5}, {397, 238}, {INT32_MIN, 5}, {INT32_MAX, INT32_MAX}};
    Buffer fb(TOP_FRAMEBUFFER_BYTES);
    for (int code = 0; code < 128; code++) {
        for (const auto& at : places) {
            drawGlyph((u8)code, (s32)at[0], (s32)at[1], kRed, kGreen, kBlue, fb.data());
            checkCell(fb.data(), TOP_COLUMNS, code, at[0], at[1]);
        }
        ASSERT_EQ(fb.changedBytes(), 0u) << "code " << code << " painted outside its cell";
    }
    for (int code = 128; code < 256; code++) drawGlyph((u8)code, 100, 100, 255, 255, 255, fb.data());
    EXPECT_EQ(fb.changedBytes(), 0u) << "codes 128-255 have no glyph";
}

// The wrap and the pitch of the game's own lines are in the screens' golden pictures;
// here what the game does not draw: the lower screen's width, a line feed.
TEST(Text, TheScreenSelectorSetsTheWrapWidth) {
    const std::string text = std::string(40, 'W') + "\n";
    for (u8 screen : {1, 0, 255}) {
        Buffer fb(screen == 1 ? BOTTOM_FRAMEBUFFER_BYTES : TOP_FRAMEBUFFER_BYTES);
        drawText(text.c_str(), 0, 30, kRed, kGreen, kBlue, fb.data(), screen);
        checkCell(fb.data(), screen == 1 ? BOTTOM_COLUMNS : TOP_COLUMNS, '\n', screen == 1 ? 0 : 320, screen == 1 ? 38 : 30);
        EXPECT_EQ(fb.changedBytes(), 3u * 40 * goldenPixels('W')) << (int)screen; // 40 W, and glyph 10 checked
    }
}

} // namespace
