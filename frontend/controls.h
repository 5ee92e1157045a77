// Every control a player has, in one table: the console's buttons on the keyboard and on
// a game controller, and the actions of the window and the page themselves. The window's
// key and controller mappings, --help, the F1 overlay, the page's keys and help, and the
// README's table of controls all come from it.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "platform/ctru.h"

enum ControlAction : u8 {
    PressButton, // a console button
    ShowHelp,    // the controls over the picture; the game waits
    FullScreen,  // window only
    Screenshot,  // window only
    TypeDigit,   // a digit of the number on a question: keys[d] types d
    EraseDigit,  // the last digit typed
    NewYear,     // window only: the kept game is forgotten, a new one begins
    NextLayout,  // window only: both screens, the upper alone, side by side
    ReadScreen,  // page only: the screen's text said again, for a screen reader
    kControlActionCount
};

// The action's name for the page ("button", "help", ...).
const char* actionName(ControlAction action);

// One key, by its place on the keyboard: its name in SDL (SDL_GetScancodeFromName) and in
// the browser (KeyboardEvent.code), so that neither needs a mapping of its own. A letter
// key also counts by what is written on it (`label`, as SDL's keycode and the browser's
// KeyboardEvent.key give it), so that A, R and L are where a player looks for them on
// any layout.
struct ControlKey {
    u32 button; // the console button it presses; 0 for an action
    const char* sdl;
    const char* browser;
    char label; // 0: by place only
};

// A game controller's button: its name in SDL (SDL_GameControllerGetButtonFromString)
// and its index in the browser's standard gamepad mapping.
struct ControlPad {
    u32 button;
    const char* sdl;
    int browser;
};

struct ControlText {
    const char* english;
    const char* french;
};

// Where a control works: the console's buttons everywhere, some keys in one home only.
enum ControlPlace : u8 { Everywhere, InWindow, OnPage };

struct Control {
    ControlAction action;
    ControlPlace place;
    ControlText what;       // what it is and does, as --help and the README say it
    ControlText keyboard;   // its keys, as a player reads them
    ControlText controller; // on a game controller; null when it has none
    ControlText touch;      // on a touch screen's buttons; null when it has none
    ControlKey keys[10];
    ControlPad pad[4];
};

extern const Control kControls[];
extern const size_t kControlCount;

const char* controlText(const ControlText& text, u8 language);

// A text of the table as the game's font writes it: capitals, no accents.
std::string inGameFont(const char* text);

// A text broken at spaces into lines of at most `width` characters; a word longer than
// that stands alone on its line.
std::vector<std::string> wrapText(const std::string& text, size_t width);

// What a game controller plays, one language: "A, D-pad, left stick, ...".
std::string controllerButtons(u8 language);

// The left stick as the Circle Pad: a direction goes down past half-way and comes up
// only back inside three eighths, so that a stick resting near the mark does not
// chatter. `x` grows to the right and `y` downwards, both from -1 to 1; `before` holds
// the directions down until now.
constexpr float kStickPress = 0.5f;
constexpr float kStickRelease = 0.375f;
u32 stickButtons(u32 before, float x, float y);

// Buttons that went down: held now and not before.
inline u32 newlyPressed(u32 held, u32 heldBefore) { return held & ~heldBefore; }

// The controls as the README's table, and as --help's lines (English).
std::string controlsMarkdown(void);
std::string controlsHelp(void);
// A text as a JSON string, quoted; null as "".
void jsonString(std::string* json, const char* text);
// The table for the page, in one language, as JSON.
std::string controlsJson(u8 language);
