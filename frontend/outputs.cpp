#include "frontend/outputs.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

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

// A file of its own beside `path`, as mkstemp makes one: created only where no file or
// link of that name is (so another run's, or a planted link, is never followed), but with
// the permissions the umask gives any other file the program writes. -1 when it cannot be.
static int createTemporaryBeside(const std::string& path, std::string* temporary) {
    static unsigned made = 0;
    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    for (int attempt = 0; attempt < 100; attempt++) {
        char unique[48];
        snprintf(unique, sizeof unique, ".%ld-%u-%lx.part", (long)getpid(), made++, (unsigned long)time(nullptr));
        *temporary = folder + "." + name + unique;
        int descriptor = open(temporary->c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

static bool writeAll(int descriptor, const std::string& data) {
    for (size_t done = 0; done < data.size();) {
        ssize_t wrote = write(descriptor, data.data() + done, data.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += (size_t)wrote;
    }
    return true;
}

bool readFileWhole(const std::string& path, std::string* text, std::string* error) {
    FILE* file = path == "-" ? stdin : fopen(path.c_str(), "rb");
    bool failed = file == nullptr;
    if (!failed) {
        char chunk[4096];
        size_t got;
        while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) text->append(chunk, got);
        failed = ferror(file) != 0;
    }
    int reason = errno;
    if (file != nullptr && file != stdin) fclose(file);
    if (failed) *error = path + ": cannot read: " + strerror(reason);
    errno = reason;
    return !failed;
}

// Whether `folder` is a folder that is there; when not, `reason` says why. The console's
// C library, emulated, sees no folders at all: there, one is taken as there.
static bool folderIsThere(const std::string& folder, int* reason) {
#ifdef _NEWLIB_VERSION
    (void)folder, (void)reason;
    return true;
#else
    struct stat status;
    if (stat(folder.c_str(), &status) != 0) return *reason = errno, false;
    return S_ISDIR(status.st_mode) || (*reason = ENOTDIR, false);
#endif
}

bool outputPathUsable(const std::string& path, std::string* error) {
    if (path == "-") return true;
    struct stat status;
    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    int reason = 0;
    if (stat(path.c_str(), &status) == 0) {
        reason = S_ISDIR(status.st_mode) ? EISDIR : 0;
    } else if (errno != ENOENT || path.back() == '/') {
        reason = path.back() == '/' ? EISDIR : errno;
    } else {
        folderIsThere(folder, &reason);
    }
    if (reason != 0) *error = path + ": cannot write: " + strerror(reason);
    return reason == 0;
}

bool writeFileWhole(const std::string& path, const std::string& data, std::string* error) {
    if (path == "-") {
        bool written = fwrite(data.data(), 1, data.size(), stdout) == data.size() && fflush(stdout) == 0;
        if (!written) *error = "standard output: cannot write: " + std::string(strerror(errno));
        return written;
    }
    std::string temporary;
    int descriptor = createTemporaryBeside(path, &temporary);
    if (descriptor < 0) {
        *error = path + ": cannot write: " + strerror(errno);
        return false;
    }
    bool written = writeAll(descriptor, data);
    written = (close(descriptor) == 0) && written;
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        *error = path + ": cannot write: " + strerror(errno);
        remove(temporary.c_str());
        return false;
    }
    return true;
}

bool writePngWhole(const std::string& path, const std::vector<u8>& rgb, int width, int height, std::string* error) {
    std::string png = encodePng(rgb, width, height);
    if (png.empty()) {
        *error = path + ": cannot encode the picture as a PNG";
        return false;
    }
    return writeFileWhole(path, png, error);
}
