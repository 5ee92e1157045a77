// The console on a desktop screen: an SDL window, the window's home for the player
// (frontend/home.h). It shows the picture, reads the keyboard and game controllers, and
// has its own keys: the help, layouts, full screen, screenshots and a new year.
#pragma once

#include <SDL.h>

#include <string>

#include <optional>

#include "desktop/keeping.h"
#include "desktop/layout.h"
#include "frontend/outputs.h"

struct WindowSettings {
    int scale = 0;                 // 0: the largest that fits the display
    u8 language = CFG_LANGUAGE_EN; // of the window's own words and help
    std::optional<WindowLayout> layout; // the player's choice; none: the one the display holds best
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
WindowLayout windowLayout(void);

