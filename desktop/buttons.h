// The console's buttons on a desktop: keyboard keys and game controllers, turned into
// what the console's button scan reports (held now, pressed since the last scan).
#pragma once

#include <SDL.h>

#include <array>

#include "platform/ctru.h"

// The keyboard, as --help and the README tell it. A letter key counts by its place on
// the keyboard (as on a US layout) and by what is written on it, so that A, R and L
// are where a player looks for them on any layout.
struct KeyBinding {
    SDL_Scancode place;
    SDL_Keycode label; // SDLK_UNKNOWN: by place only
    u32 button;
};
extern const KeyBinding kKeyBindings[];
extern const size_t kKeyBindingCount;

// The game controller's buttons; its left stick is the Circle Pad.
u32 controllerButton(SDL_GameControllerButton button);

// How far the left stick must go to press a Circle Pad direction, and how far back it
// must come to release it (the gap keeps a stick resting near the edge from chattering).
constexpr int kStickPress = 16384;
constexpr int kStickRelease = 12288;

// Follows every key and controller and remembers each button that went down, so that
// a press counts once however long it is held, and counts even when it is released
// again before the next scan. Keyboard auto-repeat is not a press.
class ButtonTracker {
  public:
    ~ButtonTracker();

    // Takes any SDL event; those that are not about buttons are ignored. Opens game
    // controllers as they are plugged in and closes them as they go.
    void handle(const SDL_Event& event);

    // Closes the controllers opened so far (before SDL shuts down).
    void closeControllers();

    // The window lost the keyboard: everything is up. Presses already seen still count.
    void releaseAll();

    // The buttons held now, and those that went down since the previous take.
    void take(u32* held, u32* pressedSinceLastTake);

    u32 held() const { return held_; }

  private:
    struct Controller {
        SDL_JoystickID id = -1;
        SDL_GameController* handle = nullptr;
        u32 buttons = 0;
        u32 stick = 0;
    };

    Controller* controller(SDL_JoystickID id);
    void stickMoved(Controller* pad, u8 axis, int value);
    void update();

    u32 keys_ = 0; // bit i: kKeyBindings[i] is down
    std::array<Controller, 8> controllers_{};
    u32 held_ = 0;
    u32 pressed_ = 0;
};
