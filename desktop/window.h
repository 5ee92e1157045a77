// The console on a desktop screen: an SDL window, the window's home for the player
// (frontend/home.h). It shows the picture, reads the keyboard and game controllers, and
// has its own keys: the help, layouts, full screen, screenshots and a new year.
#pragma once

#include <SDL.h>

#include <string>

#include "desktop/keeping.h"
#include "frontend/outputs.h"

// The largest whole scale, no larger than `asked` (0: as large as it goes), at which the
// window and its frame fit in a display's usable area of this size; at least 1. The
// picture is both screens, or the layout's `width` x `height`.
int fittingScale(int usableWidth, int usableHeight, int asked, int width = SCREENSHOT_WIDTH,
                 int height = SCREENSHOT_HEIGHT);

struct WindowSettings {
    int scale = 0;                 // 0: the largest that fits the display
    u8 language = CFG_LANGUAGE_EN; // of the window's own words and help
    WindowLayout layout = BothScreens;
    std::string settingsPath;      // where F10's layout is remembered; empty: it is not
    std::string screenshotFolder = ".";
    bool keepsYear = false;        // F5 may start a new year
};

// Starts SDL and opens the window; false, with the reason, when there is no display.
bool openWindow(const WindowSettings& settings, std::string* error);
void closeWindow(void);
SDL_Window* gameWindow(void);
// The help's page shown: 0 when closed, then 1, 2, ...
int windowHelpPage(void);

