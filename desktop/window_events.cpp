#include <stdio.h>

#include "desktop/window_state.h"
#include "frontend/home.h"
#include "frontend/player.h"

// The window's events: its own keys, the console's buttons on the keyboard and game
// controllers, being closed, minimised or shown again.
namespace {

// F5 twice within a few seconds: the kept year is forgotten for a new one.
void askNewYear(void) {
    if (!w.settings.keepsYear) {
        return homeTell(PassingNotice, say("F5 is for the kept game (without --record, --replay or --seed)",
                                           "F5 ne sert qu'a la partie gardee (sans --record, --replay ni --seed)"));
    }
    if (Clock::now() < w.newYearUntil) {
        w.newYearUntil = {};
        return playerNewYear();
    }
    w.newYearUntil = Clock::now() + kNoticeTime;
    homeTell(PassingNotice, say("F5 again: a new year, this one forgotten", "F5 encore : une nouvelle annee, celle-ci oubliee"));
}

// The window's own keys; false for a key that is the console's.
bool windowKey(const SDL_KeyboardEvent& key) {
    ControlAction action = windowAction(key.keysym.scancode);
    if (action == FullScreen) {
        bool full = (SDL_GetWindowFlags(w.sdl) & SDL_WINDOW_FULLSCREEN) != 0;
        SDL_SetWindowFullscreen(w.sdl, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
        // Back in a window, its size is set again: without a window manager SDL would go
        // on drawing for the full screen's size, off the window.
        if (full) fitToDisplay();
        draw();
        w.redraw = true;
    } else if (action == Screenshot) {
        saveScreenshot(w.settings.screenshotFolder);
    } else if (action == ShowHelp || w.helpPage > 0) {
        // F1 turns the page, any other key closes it and does nothing else
        showHelp(action == ShowHelp && w.helpPage < w.pages.size() ? w.helpPage + 1 : 0);
    } else if (action == NextLayout) {
        w.layout = (WindowLayout)((w.layout + 1) % kLayoutCount);
        applyLayout();
        std::string error;
        if (!w.settings.settingsPath.empty() && !writeLayout(w.settings.settingsPath, w.layout, &error)) {
            fprintf(stderr, "quorvandelle: the layout is not remembered: %s\n", error.c_str());
        }
    } else if (action == NewYear) {
        askNewYear();
    } else if (char typed = typedKey(key.keysym.scancode)) {
        playerKey(typed);
    } else {
        // A, while a typed number is being fed, confirms it once it is reached.
        return w.buttons.keyButton(key.keysym) == KEY_A && playerKey('\n');
    }
    return true;
}

void handle(const SDL_Event& event) {
    if (event.type == SDL_QUIT) w.closed = true;
    if (event.type == SDL_WINDOWEVENT) {
        Uint8 what = event.window.event;
        if (what == SDL_WINDOWEVENT_CLOSE) w.closed = true;
        if (what == SDL_WINDOWEVENT_MINIMIZED) w.minimised = true;
        if (what == SDL_WINDOWEVENT_SHOWN || what == SDL_WINDOWEVENT_RESTORED || what == SDL_WINDOWEVENT_MAXIMIZED) {
            w.minimised = false;
        }
        if (what == SDL_WINDOWEVENT_FOCUS_LOST) w.buttons.releaseAll();
        w.redraw = true;
    }
    // A renderer that lost its textures gets the picture again.
    if (event.type == SDL_RENDER_TARGETS_RESET || event.type == SDL_RENDER_DEVICE_RESET) {
        SDL_UpdateTexture(w.picture, nullptr, playerPicture().data(), SCREENSHOT_WIDTH * 3);
        placeAdvice();
        if (w.helpPage > 0) showHelp(w.helpPage);
    }
    if (event.type == SDL_KEYDOWN && !event.key.repeat && windowKey(event.key)) return;
    if (event.type == SDL_CONTROLLERBUTTONDOWN && w.helpPage > 0) return showHelp(0);
    w.buttons.handle(event);
}

void pump(void) {
    // Drained with PeepEvents: after a wait, SDL_PollEvent can stop short of the newest events.
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) handle(event);
    updateTitle();
    if (w.redraw && !w.closed) draw();
}

} // namespace

void forgetButtons(void) {
    u32 held, pressed;
    w.buttons.releaseAll();
    w.buttons.take(&held, &pressed);
}

void homeButtons(u32* held, u32* pressed) {
    pump();
    w.buttons.take(held, pressed);
}

// Minimised, the console sits in its HOME menu; while the help is shown the player reads
// it: either way the game waits.
bool homePaused(void) { return w.minimised || w.helpPage > 0; }

void homeWaitWhilePaused(void) {
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, 250)) handle(event);
    pump();
}

bool homeClosing(void) { return w.closed; }

