#include "desktop/layout.h"

#include <errno.h>
#include <stdio.h>

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "frontend/files.h"
#include "frontend/outputs.h"
#include "gfx/render.h"

namespace {

const char* const kLayoutNames[kLayoutCount] = {"upper-advice", "both", "upper", "side-by-side"};
const size_t kLongestSettings = 4096;

// Room kept beside the picture for the window's frame and title bar, which the system
// draws outside the window's own size.
const int kFrameRoomX = 16;
const int kFrameRoomY = 48;

} // namespace

LayoutBox layoutSize(WindowLayout layout) {
    switch (layout) {
    case UpperWithAdvice: return {0, 0, TOP_COLUMNS, SCREEN_ROWS + kAdviceStrip};
    case UpperScreenOnly: return {0, 0, TOP_COLUMNS, SCREEN_ROWS};
    case SideBySide: return {0, 0, TOP_COLUMNS + BOTTOM_COLUMNS, SCREEN_ROWS};
    default: return {0, 0, SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT};
    }
}

LayoutBox advicePlace(WindowLayout layout) {
    switch (layout) {
    case UpperWithAdvice: return {0, SCREEN_ROWS, TOP_COLUMNS, kAdviceStrip};
    case BothScreens: return {0, SCREEN_ROWS, TOP_COLUMNS, SCREEN_ROWS};
    case SideBySide: return {TOP_COLUMNS, 0, BOTTOM_COLUMNS, SCREEN_ROWS};
    default: return {0, 0, 0, 0};
    }
}

int fittingScale(int usableWidth, int usableHeight, int asked, int width, int height) {
    int fits = std::max(std::min((usableWidth - kFrameRoomX) / width, (usableHeight - kFrameRoomY) / height), 1);
    return asked > 0 ? std::min(asked, fits) : fits;
}

WindowLayout defaultLayout(int usableWidth, int usableHeight) {
    WindowLayout best = UpperWithAdvice;
    auto scale = [&](WindowLayout layout) {
        LayoutBox size = layoutSize(layout);
        return fittingScale(usableWidth, usableHeight, 0, size.width, size.height);
    };
    for (WindowLayout layout : {BothScreens, SideBySide}) {
        if (scale(layout) > scale(best)) best = layout;
    }
    return best;
}

const char* layoutName(WindowLayout layout) { return kLayoutNames[layout]; }

std::optional<WindowLayout> readLayout(const std::string& path) {
    std::string text, error;
    if (!readFileWhole(path, &text, &error, kLongestSettings, true)) {
        if (errno != ENOENT) fprintf(stderr, "quorvandelle: %s; the layout is chosen for the display\n", error.c_str());
        return std::nullopt;
    }
    std::string_view rest = text;
    while (!rest.empty()) {
        std::string_view line = rest.substr(0, rest.find('\n'));
        rest.remove_prefix(std::min(rest.size(), line.size() + 1));
        if (line.substr(0, 7) != "layout=") continue;
        for (int layout = 0; layout < kLayoutCount; layout++) {
            if (line.substr(7) == kLayoutNames[layout]) return (WindowLayout)layout;
        }
    }
    return std::nullopt;
}

bool writeLayout(const std::string& path, WindowLayout layout, std::string* error) {
    std::error_code ignored; // told by the write's own failure
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    return writeFileWhole(path, std::string("layout=") + kLayoutNames[layout] + "\n", error);
}
