#include "support/framebuffer.h"

#include "gfx/font.h"

bool GuardedBuffer::guardsIntact() const {
    for (size_t i = 0; i < kGuard; i++) {
        if (bytes[i] != kGuardByte || bytes[kGuard + size + i] != kGuardByte) return false;
    }
    return true;
}

size_t GuardedBuffer::paintedPixels() const {
    size_t painted = 0;
    for (size_t i = kGuard; i < kGuard + size; i += 3) {
        if (bytes[i] | bytes[i + 1] | bytes[i + 2]) painted++;
    }
    return painted;
}

const u8* pixelAt(const u8* framebuffer, int x, int y) {
    return framebuffer + 3 * (SCREEN_ROWS * x + SCREEN_ROWS - 1 - y);
}

std::string readText(const u8* framebuffer, int x, int y, int length) {
    std::string text;
    for (int cell = 0; cell < length; cell++) {
        u8 rows[8] = {};
        for (int k = 0; k < 8; k++) {
            for (int j = 0; j < 8; j++) {
                int column = x + 8 * cell + j;
                int row = y + k - 1;
                if (column < 0 || column >= TOP_COLUMNS || row < 0 || row >= SCREEN_ROWS) continue;
                const u8* p = pixelAt(framebuffer, column, row);
                if (p[0] | p[1] | p[2]) rows[k] |= (u8)(0x80 >> j);
            }
        }
        char found = '?';
        for (int code = 0x20; code < 0x7F && found == '?'; code++) {
            bool same = true;
            for (int k = 0; k < 8 && same; k++) same = FONT8X8[code * 8 + k] == rows[k];
            if (same) found = (char)code;
        }
        text += found;
    }
    return text;
}
