// Files and pictures: the screens as a picture and a PNG, and files read and written whole.
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

// Reads the whole file, or standard input for "-". When it cannot, `error` says why
// and errno is the failure's (ENOENT for a file that is not there).
bool readFileWhole(const std::string& path, std::string* text, std::string* error);
// Whether an output can go to `path`, before anything is played: standard output ("-"),
// a new name in a folder that is there, or what is there and is not a folder. When not,
// `error` says "PATH: cannot write: REASON".
bool outputPathUsable(const std::string& path, std::string* error);
// Writes the whole file or nothing: a temporary of its own beside it, then a rename.
// "-" is standard output.
bool writeFileWhole(const std::string& path, const std::string& data, std::string* error);
// The picture as a PNG at `path`, written whole; nothing is written when it cannot be encoded.
bool writePngWhole(const std::string& path, const std::vector<u8>& rgb, int width, int height, std::string* error);
