#include "desktop/buttons.h"

ControlAction windowAction(SDL_Scancode key) {
    for (size_t i = 0; i < kControlCount; i++) {
        if (kControls[i].action == PressButton || kControls[i].place == OnPage) continue;
        for (const ControlKey& control : kControls[i].keys) {
            if (control.sdl != nullptr && SDL_GetScancodeFromName(control.sdl) == key) return kControls[i].action;
        }
    }
    return PressButton;
}

char typedKey(SDL_Scancode key) {
    for (size_t i = 0; i < kControlCount; i++) {
        const Control& control = kControls[i];
        if (control.action != TypeDigit && control.action != EraseDigit) continue;
        for (size_t k = 0; k < sizeof control.keys / sizeof control.keys[0]; k++) {
            const char* name = control.keys[k].sdl;
            if (name == nullptr || SDL_GetScancodeFromName(name) != key) continue;
            return control.action == TypeDigit ? (char)('0' + k) : '\b';
        }
    }
    return 0;
}

u32 controllerButton(SDL_GameControllerButton button) {
    for (size_t i = 0; i < kControlCount; i++) {
        for (const ControlPad& pad : kControls[i].pad) {
            if (pad.sdl != nullptr && SDL_GameControllerGetButtonFromString(pad.sdl) == button) return pad.button;
        }
    }
    return 0;
}

// Only the console buttons' keys are followed here; the window handles its own actions.
ButtonTracker::ButtonTracker() {
    for (size_t i = 0; i < kControlCount; i++) {
        for (const ControlKey& key : kControls[i].keys) {
            if (key.sdl == nullptr || key.button == 0 || bindingCount_ == bindings_.size()) continue;
            SDL_Keycode label = key.label ? (SDL_Keycode)key.label : SDLK_UNKNOWN;
            bindings_[bindingCount_++] = KeyBinding{SDL_GetScancodeFromName(key.sdl), label, key.button};
        }
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

void ButtonTracker::stickMoved(Controller* pad, u8 axis, Sint16 value) {
    (axis == SDL_CONTROLLER_AXIS_LEFTX ? pad->x : pad->y) = (float)value / 32768.0f;
    pad->stick = stickButtons(pad->stick, pad->x, pad->y);
}

// A key is a binding's by its place, or by what is written on it.
static bool isBindingsKey(const KeyBinding& binding, const SDL_Keysym& key) {
    return binding.place == key.scancode || (binding.label != SDLK_UNKNOWN && binding.label == key.sym);
}

u32 ButtonTracker::keyButton(const SDL_Keysym& key) const {
    u32 buttons = 0;
    for (size_t i = 0; i < bindingCount_; i++) {
        if (isBindingsKey(bindings_[i], key)) buttons |= bindings_[i].button;
    }
    return buttons;
}

void ButtonTracker::handle(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        if (event.key.repeat) return;
        const SDL_Keysym& key = event.key.keysym;
        for (size_t i = 0; i < bindingCount_; i++) {
            if (!isBindingsKey(bindings_[i], key)) continue;
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
                pad = Controller{id, handle, 0, 0, 0, 0};
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
    for (size_t i = 0; i < bindingCount_; i++) {
        if (keys_ & (1u << i)) held |= bindings_[i].button;
    }
    for (const Controller& pad : controllers_) held |= pad.buttons | pad.stick;
    pressed_ |= newlyPressed(held, held_);
    held_ = held;
}

void ButtonTracker::releaseAll() {
    keys_ = 0;
    for (Controller& pad : controllers_) {
        pad.buttons = 0;
        pad.stick = 0;
        pad.x = pad.y = 0;
    }
    held_ = 0;
}

void ButtonTracker::take(u32* held, u32* pressedSinceLastTake) {
    *held = held_;
    *pressedSinceLastTake = pressed_;
    pressed_ = 0;
}
