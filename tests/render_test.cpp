// The text renderer and its font: where each pixel lands, the wrap, the clipping.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "gfx/font.h"
#include "gfx/render.h"
#include "support/framebuffer.h"

namespace {

GuardedBuffer topBuffer() { return GuardedBuffer(TOP_FRAMEBUFFER_BYTES); }

// The columns a text painted in, from the leftmost to the rightmost painted pixel.
std::pair<int, int> paintedColumns(const u8* fb, int columns) {
    int first = -1, last = -1;
    for (int x = 0; x < columns; x++) {
        for (int y = 0; y < SCREEN_ROWS; y++) {
            const u8* p = pixelAt(fb, x, y);
            if (p[0] | p[1] | p[2]) {
                if (first < 0) first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

TEST(Font, PrintableGlyphsKeepTheirTopRowAndLeftColumnEmpty) {
    for (int code = 0x20; code <= 0x7E; code++) {
        EXPECT_EQ(FONT8X8[code * 8], 0) << "code " << code;
        for (int k = 0; k < 8; k++) EXPECT_EQ(FONT8X8[code * 8 + k] & 0x80, 0) << "code " << code;
    }
    for (int k = 0; k < 8; k++) EXPECT_EQ(FONT8X8[0x20 * 8 + k], 0);
}

TEST(Font, OnlyTheInverseGlyphsFillTheirTopRow) {
    for (int code = 0; code < 128; code++) {
        bool filled = FONT8X8[code * 8] == 0xFF;
        EXPECT_EQ(filled, code == 0x08 || code == 0x0A) << "code " << code;
    }
}

TEST(Font, LowLineIsTheOnlyFullBottomRule) {
    for (int code = 0x20; code <= 0x7E; code++) {
        EXPECT_EQ(FONT8X8[code * 8 + 7] == 0x7F, code == '_') << "code " << code;
    }
}

TEST(Font, PicturesAreDistinct) {
    for (int a = 1; a < 32; a++) {
        for (int b = a + 1; b < 32; b++) {
            EXPECT_NE(memcmp(&FONT8X8[a * 8], &FONT8X8[b * 8], 8), 0) << a << " and " << b;
        }
        EXPECT_NE(memcmp(&FONT8X8[a * 8], &FONT8X8[0], 8), 0) << a << " is blank";
    }
}

TEST(Glyph, FirstPaintedPixelOfA) {
    GuardedBuffer fb = topBuffer();
    drawGlyph('A', 0, 1, 255, 0, 0, fb.data());
    // Glyph row 1 is 0x3C: bit 0x20 is the first set, column 2, screen row 1.
    const u8* p = fb.data() + 3 * (240 * 2 + 238);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(p[2], 255);
    EXPECT_EQ(readText(fb.data(), 0, 1, 1), "A");
    EXPECT_EQ(pixelAt(fb.data(), 1, 1)[2], 0); // bit 0x40 is clear
}

TEST(Glyph, ColoursAreStoredBlueGreenRed) {
    GuardedBuffer fb = topBuffer();
    drawGlyph('_', 100, 100, 10, 20, 30, fb.data());
    const u8* p = pixelAt(fb.data(), 101, 106); // bottom row, second column
    EXPECT_EQ(p[0], 30);
    EXPECT_EQ(p[1], 20);
    EXPECT_EQ(p[2], 10);
    EXPECT_EQ(fb.paintedPixels(), 7u);
}

TEST(Glyph, DrawsOverWithoutBackground) {
    GuardedBuffer fb = topBuffer();
    drawGlyph('-', 50, 50, 255, 255, 255, fb.data());
    drawGlyph('|', 50, 50, 255, 255, 255, fb.data());
    // The bar's blank row is where the dash lies: both glyphs stay whole.
    EXPECT_EQ(fb.paintedPixels(), 4u + 12u);
    drawGlyph('+', 50, 50, 255, 255, 255, fb.data());
    EXPECT_EQ(fb.paintedPixels(), 4u + 12u + 1u); // the plus adds only its right arm's tip
}

TEST(Glyph, PixelsOffTheScreenAreSkipped) {
    GuardedBuffer fb = topBuffer();
    // '#' fills rows 1-7; at y 0 its first row lands on row 0, nothing above.
    drawGlyph(0x08, 0, 0, 255, 255, 255, fb.data());   // top row filled: would be row -1
    drawGlyph(0x08, 396, 100, 255, 255, 255, fb.data()); // half off the right edge
    drawGlyph(0x08, -4, 100, 255, 255, 255, fb.data());  // half off the left edge
    drawGlyph(0x08, 200, 236, 255, 255, 255, fb.data()); // rows 235-242
    drawGlyph(0x08, 2000000000, 2000000000, 255, 255, 255, fb.data());
    drawGlyph(0x08, -2147483647 - 1, -2147483647 - 1, 255, 255, 255, fb.data());
    EXPECT_TRUE(fb.guardsIntact());
    int glyph08 = 0;
    for (int k = 0; k < 8; k++) glyph08 += __builtin_popcount(FONT8X8[0x08 * 8 + k]);
    EXPECT_LT(fb.paintedPixels(), (size_t)(4 * glyph08));
    // What lies on the screen is still drawn: row 0 holds glyph row 1.
    EXPECT_NE(pixelAt(fb.data(), 0, 0)[0], 0);
    EXPECT_NE(pixelAt(fb.data(), 399, 100)[0], 0);
    EXPECT_NE(pixelAt(fb.data(), 0, 100)[0], 0);
    EXPECT_NE(pixelAt(fb.data(), 200, 239)[0], 0);
}

TEST(Glyph, CodesBeyondTheFontDrawNothing) {
    GuardedBuffer fb = topBuffer();
    for (int code = 128; code < 256; code++) drawGlyph((u8)code, 8, 8, 255, 255, 255, fb.data());
    std::string high;
    for (int code = 128; code < 256; code++) high += (char)code;
    drawText(high.c_str(), 0, 100, 255, 255, 255, fb.data(), 0);
    EXPECT_EQ(fb.paintedPixels(), 0u);
    EXPECT_TRUE(fb.guardsIntact());
}

TEST(Text, GlyphsAreEightPixelsApart) {
    GuardedBuffer fb = topBuffer();
    drawText("HAMSTER 12", 17, 40, 255, 255, 255, fb.data(), 0);
    EXPECT_EQ(readText(fb.data(), 17, 40, 10), "HAMSTER 12");
}

TEST(Text, WrapsWhenAGlyphWouldReachTheRightEdge) {
    // Pen 392 still fits (columns 392-399); pen 393 goes to the next line.
    GuardedBuffer fb = topBuffer();
    drawText("AB", 384, 20, 255, 255, 255, fb.data(), 0);
    EXPECT_EQ(readText(fb.data(), 384, 20, 2), "AB");

    GuardedBuffer wrapped = topBuffer();
    drawText("AB", 385, 20, 255, 255, 255, wrapped.data(), 0);
    EXPECT_EQ(readText(wrapped.data(), 385, 20, 1), "A");
    EXPECT_EQ(readText(wrapped.data(), 385, 28, 1), "B");
    EXPECT_TRUE(wrapped.guardsIntact());
}

TEST(Text, FiftyUnderscoresFillOneLine) {
    GuardedBuffer fb = topBuffer();
    drawText(std::string(50, '_').c_str(), 0, 160, 255, 0, 0, fb.data(), 0);
    EXPECT_EQ(fb.paintedPixels(), 50u * 7u);
    for (int x = 0; x < 400; x++) EXPECT_EQ(pixelAt(fb.data(), x, 166)[2] != 0, x % 8 != 0) << x;
}

TEST(Text, ImpossibleEndsAtTheRightEdge) {
    GuardedBuffer fb = topBuffer();
    drawText("IMPOSSIBLE", 320, 200, 255, 255, 255, fb.data(), 0);
    EXPECT_EQ(readText(fb.data(), 320, 200, 10), "IMPOSSIBLE");
    EXPECT_EQ(paintedColumns(fb.data(), 400).second, 398); // the E's last column
}

TEST(Text, WrappedLinesStartAtTheirOwnX) {
    GuardedBuffer fb = topBuffer();
    std::string text = std::string(49, 'X') + "YZ";
    drawText(text.c_str(), 1, 30, 255, 255, 255, fb.data(), 0);
    EXPECT_EQ(readText(fb.data(), 1, 30, 49), std::string(49, 'X'));
    EXPECT_EQ(readText(fb.data(), 1, 38, 2), "YZ");
}

TEST(Text, TheScreenSelectorSetsTheWrapWidth) {
    GuardedBuffer lower = topBuffer();
    drawText(std::string(41, 'W').c_str(), 0, 30, 255, 255, 255, lower.data(), 1);
    EXPECT_EQ(readText(lower.data(), 0, 30, 41), std::string(40, 'W') + " ");
    EXPECT_EQ(readText(lower.data(), 0, 38, 1), "W");

    for (u8 selector : {0, 2, 255}) {
        GuardedBuffer upper = topBuffer();
        drawText(std::string(41, 'W').c_str(), 0, 30, 255, 255, 255, upper.data(), selector);
        EXPECT_EQ(readText(upper.data(), 0, 30, 41), std::string(41, 'W')) << (int)selector;
    }
}

TEST(Text, LowerScreenTextNeverLeavesItsBuffer) {
    // A start too close to the lower screen's edge leaves no room on any line.
    GuardedBuffer fb(BOTTOM_FRAMEBUFFER_BYTES);
    drawText("QUORVANDELLE", 316, 230, 255, 255, 255, fb.data(), 1);
    drawText("QUORVANDELLE", 300, 1, 255, 255, 255, fb.data(), 1);
    EXPECT_TRUE(fb.guardsIntact());
    EXPECT_EQ(readText(fb.data(), 300, 1, 2), "QU");
    EXPECT_EQ(readText(fb.data(), 300, 9, 2), "OR");
}

TEST(Text, LongTextsRunOffTheBottomSafely) {
    GuardedBuffer fb = topBuffer();
    std::string many(5000, '#');
    drawText(many.c_str(), 0, 200, 255, 255, 255, fb.data(), 0);
    drawText(many.c_str(), 2147483600, 2147483600, 255, 255, 255, fb.data(), 0);
    EXPECT_TRUE(fb.guardsIntact());
    EXPECT_EQ(readText(fb.data(), 0, 232, 50), std::string(50, '#'));
}

TEST(Text, EmptyAndBlankTextsPaintNothing) {
    GuardedBuffer fb = topBuffer();
    drawText("", 0, 1, 255, 255, 255, fb.data(), 0);
    drawText("          ", 0, 1, 255, 255, 255, fb.data(), 0);
    EXPECT_EQ(fb.paintedPixels(), 0u);
}

TEST(Text, ALineFeedIsJustAGlyph) {
    GuardedBuffer fb = topBuffer();
    drawText("A\nB", 0, 50, 255, 255, 255, fb.data(), 0);
    EXPECT_EQ(readText(fb.data(), 16, 50, 1), "B");
    EXPECT_EQ(memcmp(pixelAt(fb.data(), 8, 49), "\xFF\xFF\xFF", 3), 0); // glyph 10's top row
}

TEST(Clear, FillsExactlyOneScreen) {
    for (u8 selector : {0, 1}) {
        size_t size = selector == 1 ? BOTTOM_FRAMEBUFFER_BYTES : TOP_FRAMEBUFFER_BYTES;
        GuardedBuffer fb(size, 0x77);
        clearScreen(fb.data(), selector);
        EXPECT_TRUE(fb.guardsIntact());
        EXPECT_EQ(fb.paintedPixels(), 0u);
    }
}

} // namespace
