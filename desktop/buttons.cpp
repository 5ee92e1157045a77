#include "desktop/buttons.h"

const KeyBinding kKeyBindings[] = {
    {SDL_SCANCODE_A, SDLK_a, KEY_A},
    {SDL_SCANCODE_RETURN, SDLK_UNKNOWN, KEY_A},
    {SDL_SCANCODE_KP_ENTER, SDLK_UNKNOWN, KEY_A},
    {SDL_SCANCODE_SPACE, SDLK_UNKNOWN, KEY_A},
    {SDL_SCANCODE_UP, SDLK_UNKNOWN, KEY_DUP},
    {SDL_SCANCODE_DOWN, SDLK_UNKNOWN, KEY_DDOWN},
    {SDL_SCANCODE_LEFT, SDLK_UNKNOWN, KEY_DLEFT},
    {SDL_SCANCODE_RIGHT, SDLK_UNKNOWN, KEY_DRIGHT},
    // The Circle Pad does what the D-pad does; the numeric keypad's arrows give it keys of its own.
    {SDL_SCANCODE_KP_8, SDLK_UNKNOWN, KEY_CPAD_UP},
    {SDL_SCANCODE_KP_2, SDLK_UNKNOWN, KEY_CPAD_DOWN},
    {SDL_SCANCODE_KP_4, SDLK_UNKNOWN, KEY_CPAD_LEFT},
    {SDL_SCANCODE_KP_6, SDLK_UNKNOWN, KEY_CPAD_RIGHT},
    {SDL_SCANCODE_R, SDLK_r, KEY_R},
    {SDL_SCANCODE_PAGEUP, SDLK_UNKNOWN, KEY_R},
    {SDL_SCANCODE_L, SDLK_l, KEY_L},
    {SDL_SCANCODE_PAGEDOWN, SDLK_UNKNOWN, KEY_L},
    {SDL_SCANCODE_ESCAPE, SDLK_UNKNOWN, KEY_START},
};
const size_t kKeyBindingCount = sizeof kKeyBindings / sizeof kKeyBindings[0];
static_assert(sizeof kKeyBindings / sizeof kKeyBindings[0] <= 32, "one bit a key");

u32 controllerButton(SDL_GameControllerButton button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A: return KEY_A;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return KEY_DUP;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return KEY_DDOWN;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return KEY_DLEFT;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return KEY_DRIGHT;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return KEY_L;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return KEY_R;
    case SDL_CONTROLLER_BUTTON_START: return KEY_START;
    default: return 0;
    }
}

ButtonTracker::~ButtonTracker() { closeControllers(); }

void ButtonTracker::closeControllers() {
    for (Controller& pad : controllers_) {
        if (pad.handle) SDL_GameControllerClose(pad.handle);
        pad = Controller{};
    }
    update();
}

ButtonTracker::Controller* ButtonTracker::controller(SDL_JoystickID id) {
    for (Controller& pad : controllers_) {
        if (pad.handle && pad.id == id) return &pad;
    }
    return nullptr;
}

void ButtonTracker::stickMoved(Controller* pad, u8 axis, int value) {
    u32 towardsMinus = axis == SDL_CONTROLLER_AXIS_LEFTX ? KEY_CPAD_LEFT : KEY_CPAD_UP;
    u32 towardsPlus = axis == SDL_CONTROLLER_AXIS_LEFTX ? KEY_CPAD_RIGHT : KEY_CPAD_DOWN;
    // Past the press mark a direction goes down; it stays down until back inside the release mark.
    u32 stick = pad->stick & ~(towardsMinus | towardsPlus);
    u32 before = pad->stick;
    if (value <= -kStickPress || (value <= -kStickRelease && (before & towardsMinus))) stick |= towardsMinus;
    if (value >= kStickPress || (value >= kStickRelease && (before & towardsPlus))) stick |= towardsPlus;
    pad->stick = stick;
}

void ButtonTracker::handle(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        if (event.key.repeat) return;
        const SDL_Keysym& key = event.key.keysym;
        for (size_t i = 0; i < kKeyBindingCount; i++) {
            const KeyBinding& binding = kKeyBindings[i];
            bool labelled = binding.label != SDLK_UNKNOWN && binding.label == key.sym;
            if (binding.place != key.scancode && !labelled) continue;
            if (event.type == SDL_KEYDOWN) keys_ |= 1u << i;
            else keys_ &= ~(1u << i);
        }
        break;
    }
    case SDL_CONTROLLERDEVICEADDED: {
        SDL_GameController* handle = SDL_GameControllerOpen(event.cdevice.which);
        if (handle == nullptr) return;
        SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(handle));
        if (controller(id) == nullptr) {
            for (Controller& pad : controllers_) {
                if (pad.handle) continue;
                pad = Controller{id, handle, 0, 0};
                return;
            }
        }
        SDL_GameControllerClose(handle); // already followed, or one too many: SDL counts opens
        return;
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
        Controller* pad = controller(event.cdevice.which);
        if (pad == nullptr) return;
        SDL_GameControllerClose(pad->handle);
        *pad = Controller{};
        break;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        Controller* pad = controller(event.cbutton.which);
        u32 button = controllerButton((SDL_GameControllerButton)event.cbutton.button);
        if (pad == nullptr || button == 0) return;
        if (event.type == SDL_CONTROLLERBUTTONDOWN) pad->buttons |= button;
        else pad->buttons &= ~button;
        break;
    }
    case SDL_CONTROLLERAXISMOTION: {
        Controller* pad = controller(event.caxis.which);
        u8 axis = event.caxis.axis;
        if (pad == nullptr || (axis != SDL_CONTROLLER_AXIS_LEFTX && axis != SDL_CONTROLLER_AXIS_LEFTY)) return;
        stickMoved(pad, axis, event.caxis.value);
        break;
    }
    default: return;
    }
    update();
}

// A button is down while any key or controller holds it; it is pressed when it goes
// from up to down, not again while another key for it is still held.
void ButtonTracker::update() {
    u32 held = 0;
    for (size_t i = 0; i < kKeyBindingCount; i++) {
        if (keys_ & (1u << i)) held |= kKeyBindings[i].button;
    }
    for (const Controller& pad : controllers_) held |= pad.buttons | pad.stick;
    pressed_ |= held & ~held_;
    held_ = held;
}

void ButtonTracker::releaseAll() {
    keys_ = 0;
    for (Controller& pad : controllers_) {
        pad.buttons = 0;
        pad.stick = 0;
    }
    held_ = 0;
}

void ButtonTracker::take(u32* held, u32* pressedSinceLastTake) {
    *held = held_;
    *pressedSinceLastTake = pressed_;
    pressed_ = 0;
}
