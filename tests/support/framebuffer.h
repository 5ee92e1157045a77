// Test helpers for framebuffers: guarded buffers and reading back drawn text.
#pragma once

#include <string>
#include <vector>

#include "gfx/render.h"

// A framebuffer with guard bytes on both sides, to catch writes outside it.
struct GuardedBuffer {
    static constexpr size_t kGuard = 4096;
    static constexpr u8 kGuardByte = 0xA5;
    std::vector<u8> bytes;
    size_t size;

    explicit GuardedBuffer(size_t bufferSize, u8 fill = 0)
        : bytes(bufferSize + 2 * kGuard, kGuardByte), size(bufferSize) {
        std::fill(bytes.begin() + kGuard, bytes.begin() + kGuard + size, fill);
    }
    u8* data() { return bytes.data() + kGuard; }
    bool guardsIntact() const;
    size_t paintedPixels() const; // pixels with any non-zero byte
};

// The three bytes (blue, green, red) of the pixel at screen column x, row y.
const u8* pixelAt(const u8* framebuffer, int x, int y);

// Reads `length` glyph cells drawn at (x, y) as characters; '?' for a cell that
// matches no printable glyph.
std::string readText(const u8* framebuffer, int x, int y, int length);
