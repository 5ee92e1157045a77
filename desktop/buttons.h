// The console's buttons on a desktop: keyboard keys and game controllers, turned into
// what the console's button scan reports (held now, pressed since the last scan).
#pragma once

#include <SDL.h>

#include <array>

#include "platform/ctru.h"

#include "frontend/controls.h"

// A console button's key of the table of controls, as SDL codes it.
struct KeyBinding {
    SDL_Scancode place;
    SDL_Keycode label; // SDLK_UNKNOWN: by place only
    u32 button;
};

// The window's own action of a key, or PressButton when it is none.
ControlAction windowAction(SDL_Scancode key);

// What a key types on a question: '0' to '9', '\b' to erase; 0 for none.
char typedKey(SDL_Scancode key);

// What a game controller's button presses on the console; 0 for none.
u32 controllerButton(SDL_GameControllerButton button);

// Follows every key and controller and remembers each button that went down, so that
// a press counts once however long it is held, and counts even when it is released
// again before the next scan. Keyboard auto-repeat is not a press.
class ButtonTracker {
  public:
    ButtonTracker();
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
    // The console buttons a key presses, by its place or its label.
    u32 keyButton(const SDL_Keysym& key) const;

  private:
    struct Controller {
        SDL_JoystickID id = -1;
        SDL_GameController* handle = nullptr;
        u32 buttons = 0;
        u32 stick = 0;
        float x = 0, y = 0; // the left stick
    };

    Controller* controller(SDL_JoystickID id);
    void stickMoved(Controller* pad, u8 axis, Sint16 value);
    void update();

    std::array<KeyBinding, 32> bindings_{}; // the console buttons' keys; one bit each in keys_
    size_t bindingCount_ = 0;
    u32 keys_ = 0;
    std::array<Controller, 8> controllers_{};
    u32 held_ = 0;
    u32 pressed_ = 0;
};
