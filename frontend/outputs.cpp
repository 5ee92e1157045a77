#include "frontend/outputs.h"

#include <string.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

#include "frontend/files.h"
#include "gfx/render.h"

namespace {

// Copies one screen, turning its bottom-up BGR columns into top-down RGB rows.
void copyScreen(const u8* framebuffer, int columns, int left, int top, u8* rgb) {
    for (int column = 0; column < columns; column++) {
        for (int row = 0; row < SCREEN_ROWS; row++) {
            const u8* pixel = framebuffer + 3 * (SCREEN_ROWS * column + SCREEN_ROWS - 1 - row);
            u8* out = rgb + 3 * ((top + row) * SCREENSHOT_WIDTH + left + column);
            out[0] = pixel[2];
            out[1] = pixel[1];
            out[2] = pixel[0];
        }
    }
}

void appendBytes(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), (size_t)size);
}

} // namespace

std::vector<u8> composeScreenshot(const u8* top, const u8* bottom) {
    std::vector<u8> rgb((size_t)SCREENSHOT_WIDTH * SCREENSHOT_HEIGHT * 3, 0);
    composeScreenshotInto(top, bottom, rgb.data());
    return rgb;
}

void composeScreenshotInto(const u8* top, const u8* bottom, u8* rgb) {
    memset(rgb, 0, (size_t)SCREENSHOT_WIDTH * SCREENSHOT_HEIGHT * 3);
    if (top) copyScreen(top, TOP_COLUMNS, 0, 0, rgb);
    if (bottom) copyScreen(bottom, BOTTOM_COLUMNS, (TOP_COLUMNS - BOTTOM_COLUMNS) / 2, SCREEN_ROWS, rgb);
}

void ShownPicture::reset() {
    top_.assign(TOP_FRAMEBUFFER_BYTES, 0);
    bottom_.assign(BOTTOM_FRAMEBUFFER_BYTES, 0);
    rgb_.assign((size_t)SCREENSHOT_WIDTH * SCREENSHOT_HEIGHT * 3, 0);
}

bool ShownPicture::update(const u8* top, const u8* bottom) {
    if (memcmp(top, top_.data(), top_.size()) == 0 && memcmp(bottom, bottom_.data(), bottom_.size()) == 0) {
        return false;
    }
    memcpy(top_.data(), top, top_.size());
    memcpy(bottom_.data(), bottom, bottom_.size());
    composeScreenshotInto(top, bottom, rgb_.data());
    return true;
}

std::string encodePng(const std::vector<u8>& rgb, int width, int height) {
    std::string png;
    if (width <= 0 || height <= 0 || rgb.size() != (size_t)width * height * 3) return png;
    if (stbi_write_png_to_func(appendBytes, &png, width, height, 3, rgb.data(), width * 3) == 0) png.clear();
    return png;
}

bool writePngWhole(const std::string& path, const std::vector<u8>& rgb, int width, int height, std::string* error) {
    std::string png = encodePng(rgb, width, height);
    if (png.empty()) {
        *error = path + ": cannot encode the picture as a PNG";
        return false;
    }
    return writeFileWhole(path, png, error);
}
