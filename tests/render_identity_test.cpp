// The renderer draws fast, but every byte it leaves must be the byte that drawing bit by
// bit, as the rules describe, would leave: the same painted pixels, the same skipped ones
// off the screen, nothing for codes 128-255, nothing outside the buffer.
#include <gtest/gtest.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "gfx/font.h"
#include "gfx/render.h"

namespace {

// Drawing as the rules say, one bit at a time, on a screen `columns` wide.
void referenceGlyph(u8 code, s64 x, s64 y, u8 red, u8 green, u8 blue, u8* framebuffer,
                    s64 columns) {
    if (code >= 128) return;
    for (s64 k = 0; k < 8; k++) {
        u8 bits = FONT8X8[8 * code + k];
        for (s64 j = 0; j < 8; j++) {
            if (!(bits & (0x80 >> j))) continue;
            s64 column = x + j;
            s64 row = y + k - 1;
            if (column < 0 || column >= columns || row < 0 || row >= 240) continue;
            s64 offset = 3 * (240 * (x + j + 1) - (y + k));
            framebuffer[offset + 0] = blue;
            framebuffer[offset + 1] = green;
            framebuffer[offset + 2] = red;
        }
    }
}

void referenceText(const char* text, s32 x, s32 y, u8 red, u8 green, u8 blue, u8* framebuffer,
                   u8 screen) {
    s64 width = screen == 1 ? 320 : 400;
    s64 pen = x;
    s64 line = 0;
    for (const u8* c = (const u8*)text; *c; c++) {
        if (pen + 7 >= width) {
            pen = x;
            line++;
        }
        referenceGlyph(*c, pen, (s64)y + 8 * line, red, green, blue, framebuffer, width);
        pen += 8;
    }
}

const size_t kGuard = 4096;

// Two copies of one screen with guard bands around each; both start from the same
// busy background so that an unpainted pixel that changes shows.
struct Screens {
    size_t bytes;
    std::vector<u8> fast;
    std::vector<u8> reference;

    explicit Screens(size_t framebufferBytes)
        : bytes(framebufferBytes), fast(framebufferBytes + 2 * kGuard),
          reference(framebufferBytes + 2 * kGuard) {
        u32 state = 12345;
        for (u8& byte : fast) {
            state = state * 1103515245u + 12345u;
            byte = (u8)(state >> 16);
        }
        reference = fast;
    }
    u8* fastBuffer() { return fast.data() + kGuard; }
    u8* referenceBuffer() { return reference.data() + kGuard; }

    // The columns a glyph at x may touch, then (now and then) everything.
    ::testing::AssertionResult sameAround(s64 x) {
        s64 first = x < 0 ? 0 : x;
        s64 last = x + 8;
        s64 columns = (s64)(bytes / 720);
        if (last > columns) last = columns;
        if (first < last) {
            size_t from = kGuard + (size_t)first * 720;
            size_t length = (size_t)(last - first) * 720;
            if (memcmp(&fast[from], &reference[from], length) != 0) return firstDifference();
        }
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult same() {
        if (fast == reference) return ::testing::AssertionSuccess();
        return firstDifference();
    }

    ::testing::AssertionResult firstDifference() {
        for (size_t i = 0; i < fast.size(); i++) {
            if (fast[i] == reference[i]) continue;
            s64 offset = (s64)i - (s64)kGuard;
            return ::testing::AssertionFailure()
                   << "byte " << offset << " (column " << offset / 720 << ", row "
                   << 239 - (offset % 720) / 3 << ", component " << offset % 3 << "): "
                   << (int)fast[i] << " instead of " << (int)reference[i];
        }
        return ::testing::AssertionFailure() << "differs";
    }
};

// x and y that cover every alignment inside the screen and every amount of clipping at
// each edge, plus positions far outside.
std::vector<s32> glyphXs() {
    std::vector<s32> xs = {INT32_MIN, INT32_MIN + 7, -1000, INT32_MAX - 7, INT32_MAX, 1000};
    for (s32 x = -9; x <= 9; x++) xs.push_back(x);
    for (s32 x = 100; x < 108; x++) xs.push_back(x);
    for (s32 x = 310; x <= 322; x++) xs.push_back(x);
    for (s32 x = 390; x <= 401; x++) xs.push_back(x);
    return xs;
}

std::vector<s32> glyphYs() {
    std::vector<s32> ys = {INT32_MIN, INT32_MIN + 1, -500, INT32_MAX - 6, INT32_MAX, 900};
    for (s32 y = -8; y <= 10; y++) ys.push_back(y);
    for (s32 y = 117; y < 125; y++) ys.push_back(y);
    for (s32 y = 229; y <= 242; y++) ys.push_back(y);
    return ys;
}

TEST(RendererIdentity, EveryCodeAtEveryAlignmentAndEdge) {
    Screens screens(TOP_FRAMEBUFFER_BYTES);
    std::vector<s32> xs = glyphXs();
    std::vector<s32> ys = glyphYs();
    u32 draws = 0;
    for (int code = 0; code < 256; code++) {
        for (s32 x : xs) {
            for (s32 y : ys) {
                // A colour of three different components, changing with every draw.
                u8 red = (u8)(draws * 7 + 1);
                u8 green = (u8)(draws * 13 + 2);
                u8 blue = (u8)(draws * 29 + 3);
                draws++;
                drawGlyph((u8)code, x, y, red, green, blue, screens.fastBuffer());
                referenceGlyph((u8)code, x, y, red, green, blue, screens.referenceBuffer(), 400);
                ASSERT_TRUE(screens.sameAround(x)) << "code " << code << " at " << x << ", " << y;
            }
        }
        ASSERT_TRUE(screens.same()) << "after code " << code;
    }
}

// Black and white are drawn like any colour: no component value is special.
TEST(RendererIdentity, ExtremeColours) {
    Screens screens(TOP_FRAMEBUFFER_BYTES);
    const u8 colours[][3] = {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}, {0, 255, 0}};
    s32 x = 0;
    for (const auto& colour : colours) {
        for (int code = 0; code < 128; code++, x += 3) {
            s32 column = x % 400;
            s32 y = 1 + (x / 400) * 5;
            drawGlyph((u8)code, column, y, colour[0], colour[1], colour[2], screens.fastBuffer());
            referenceGlyph((u8)code, column, y, colour[0], colour[1], colour[2],
                           screens.referenceBuffer(), 400);
        }
    }
    EXPECT_TRUE(screens.same());
}

std::string allCodes(void) {
    std::string text;
    for (int code = 1; code < 256; code++) text += (char)code;
    return text;
}

struct TextCase {
    std::string text;
    s32 x;
    s32 y;
};

std::vector<TextCase> textCases(void) {
    std::string codes = allCodes();
    std::string letters = "THE PURPOSE OF THE GAME IS TO MANAGE BREEDING HAMSTERS 12 MONTHS!";
    std::vector<TextCase> cases;
    const s32 xs[] = {0,   1,   7,   8,   16,  104, 256, 313, 319,  320,       321,      392,
                      393, 399, 400, 401, -1,  -7,  -8,  -9,  -300, INT32_MIN, INT32_MAX};
    const s32 ys[] = {1,   0,   -1,  -7,  -8,  30,      159,       231,       232,
                      233, 234, 239, 240, 241, -100000, INT32_MIN, INT32_MAX, INT32_MAX - 8};
    for (s32 x : xs) {
        for (s32 y : ys) {
            cases.push_back({letters, x, y});
        }
        cases.push_back({codes, x, 1});
        cases.push_back({codes, x, 150});
    }
    cases.push_back({"", 10, 10});
    cases.push_back({"          ", 10, 10});
    cases.push_back({std::string(50, '_'), 0, 160});
    cases.push_back({std::string(51, '_'), 0, 160});
    cases.push_back({"IMPOSSIBLE", 320, 220});
    cases.push_back({"LINE\nFEED\tTAB", 5, 5});
    return cases;
}

TEST(RendererIdentity, TextsOnBothScreenSelectorsWithTheirWrapAndClipping) {
    for (u8 screen : {(u8)0, (u8)1, (u8)2, (u8)255}) {
        Screens screens(TOP_FRAMEBUFFER_BYTES);
        u32 draws = 0;
        for (const TextCase& c : textCases()) {
            u8 red = (u8)(draws * 11 + 5);
            u8 green = (u8)(draws * 17 + 6);
            u8 blue = (u8)(draws * 23 + 7);
            draws++;
            drawText(c.text.c_str(), c.x, c.y, red, green, blue, screens.fastBuffer(), screen);
            referenceText(c.text.c_str(), c.x, c.y, red, green, blue, screens.referenceBuffer(),
                          screen);
            ASSERT_TRUE(screens.same()) << "screen " << (int)screen << ", text at " << c.x << ", "
                                        << c.y << ": " << c.text.substr(0, 20);
        }
    }
}

// The lower screen's buffer is smaller: selector 1 keeps every pixel inside it.
TEST(RendererIdentity, TextsOnTheLowerScreensOwnBuffer) {
    Screens screens(BOTTOM_FRAMEBUFFER_BYTES);
    u32 draws = 0;
    for (const TextCase& c : textCases()) {
        u8 value = (u8)(draws++ * 37 + 1);
        drawText(c.text.c_str(), c.x, c.y, value, (u8)~value, (u8)(value ^ 0x5A),
                 screens.fastBuffer(), 1);
        referenceText(c.text.c_str(), c.x, c.y, value, (u8)~value, (u8)(value ^ 0x5A),
                      screens.referenceBuffer(), 1);
        ASSERT_TRUE(screens.same()) << "text at " << c.x << ", " << c.y;
    }
}

// The reference itself, against the one pixel the rules work out: "A" at (0, 1) in red
// first paints glyph row 1, bit 0x20, which is column 2, screen row 1.
TEST(RendererIdentity, ReferenceMatchesTheWorkedExample) {
    std::vector<u8> buffer(TOP_FRAMEBUFFER_BYTES, 0);
    referenceGlyph('A', 0, 1, 255, 0, 0, buffer.data(), 400);
    size_t pixel = 240 * 2 + 238;
    EXPECT_EQ(buffer[3 * pixel + 0], 0);
    EXPECT_EQ(buffer[3 * pixel + 1], 0);
    EXPECT_EQ(buffer[3 * pixel + 2], 255);
    // Column 0 stays empty (no glyph row sets bit 0x80), and every set bit of the
    // glyph paints one pixel.
    for (size_t i = 0; i < 720; i++) ASSERT_EQ(buffer[i], 0) << "byte " << i;
    size_t painted = 0;
    for (size_t i = 0; i < buffer.size(); i += 3) painted += buffer[i + 2] == 255;
    size_t bits = 0;
    for (int k = 0; k < 8; k++) bits += (size_t)__builtin_popcount(FONT8X8[8 * 'A' + k]);
    EXPECT_EQ(painted, bits);
}

} // namespace
