// What the window's files share of it: its state, and how it draws and fits. Not for the
// rest of the program, which has desktop/window.h.
#pragma once

#include <SDL.h>

#include <chrono>
#include <string>
#include <vector>

#include "desktop/buttons.h"
#include "desktop/layout.h"
#include "desktop/overlay.h"
#include "desktop/window.h"

// How long the title tells something passing, and how long a second F5 may wait.
const std::chrono::seconds kNoticeTime(5);

using Clock = std::chrono::steady_clock;

struct Window {
    WindowSettings settings;
    SDL_Window* sdl = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* picture = nullptr;
    SDL_Texture* help = nullptr;   // the help's page, over the picture
    SDL_Texture* advice = nullptr; // beside it
    std::vector<std::string> adviceLines;
    ButtonTracker buttons;
    WindowLayout layout = UpperWithAdvice;
    bool closed = false, minimised = false, redraw = false;
    size_t helpPage = 0; // 0: closed; the game waits while it is open
    std::vector<HelpPage> pages;
    std::string passing, lasting, told; // what the title tells
    Clock::time_point passingUntil, newYearUntil;
};

extern Window w;

// The window's own words in the game's language.
std::string say(const char* english, const char* french);
// The title: a passing notice for a while, else the lasting one, else the game's name.
void updateTitle(void);
void draw(void);
void fitToDisplay(void);
void applyLayout(void);
// The advice in its place, drawn anew for the layout's room.
void placeAdvice(void);
// Nothing held or pressed in an earlier window counts.
void forgetButtons(void);
// Page `page` of the help over the picture; 0 closes it.
void showHelp(size_t page);
