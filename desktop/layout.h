// The window's layouts, as the console's emulators offer them, each with the advice on
// the question being asked where it has room: the largest whole scale a display holds,
// and the player's own choice, remembered.
#pragma once

#include <optional>
#include <string>

enum WindowLayout {
    UpperWithAdvice, // the upper screen, the advice in a strip under it
    BothScreens,     // both screens as the console holds them, the advice in the lower's place
    UpperScreenOnly, // the upper screen alone
    SideBySide,      // the two side by side, the advice in the lower's place
    kLayoutCount
};

// A rectangle in console pixels.
struct LayoutBox {
    int x, y, width, height;
};

// The height of the advice strip under the upper screen, in console pixels: six lines
// of the game's font.
constexpr int kAdviceStrip = 64;

LayoutBox layoutSize(WindowLayout layout);   // x and y 0
LayoutBox advicePlace(WindowLayout layout);  // width 0: no advice in this layout

// The largest whole scale, no larger than `asked` (0: as large as it goes), at which a
// picture of `width` x `height` and the window's frame fit in a display's usable area of
// this size; at least 1.
int fittingScale(int usableWidth, int usableHeight, int asked, int width, int height);

// What a window opens with when the player chose nothing: of the layouts with the
// advice, the one that fits the usable area at the largest whole scale, the upper screen
// and its strip where they are equal (or where the two screens fit only at 1x).
WindowLayout defaultLayout(int usableWidth, int usableHeight);

const char* layoutName(WindowLayout layout);
// The layout the settings file at `path` names; none when it names none.
std::optional<WindowLayout> readLayout(const std::string& path);
bool writeLayout(const std::string& path, WindowLayout layout, std::string* error);
