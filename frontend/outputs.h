// The screens as a picture, and as a PNG.
#pragma once

#include <string>
#include <vector>

#include "platform/ctru.h"

enum { SCREENSHOT_WIDTH = 400, SCREENSHOT_HEIGHT = 480 };

// Both screens as seen, 400x480 RGB: the upper screen on top, the lower centred below it.
// Null buffers (nothing presented yet) give black.
std::vector<u8> composeScreenshot(const u8* top, const u8* bottom);
// The same into `rgb`, which holds SCREENSHOT_WIDTH x SCREENSHOT_HEIGHT x 3 bytes.
void composeScreenshotInto(const u8* top, const u8* bottom, u8* rgb);
// What the screens show: the picture of the frame presented last, in the screenshot's
// layout. A frame like the one shown is not composed again. Room is taken at reset.
class ShownPicture {
  public:
    void reset(); // black, as the all-zero buffers are
    // False when the frame is the one already shown.
    bool update(const u8* top, const u8* bottom);
    const std::vector<u8>& rgb() const { return rgb_; }

  private:
    std::vector<u8> top_;
    std::vector<u8> bottom_;
    std::vector<u8> rgb_;
};

// The picture as a PNG file's bytes; empty when it cannot be encoded.
std::string encodePng(const std::vector<u8>& rgb, int width, int height);

// The picture as a PNG at `path`, written whole; nothing is written when it cannot be encoded.
bool writePngWhole(const std::string& path, const std::vector<u8>& rgb, int width, int height, std::string* error);
