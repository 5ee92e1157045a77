#include "frontend/controls.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>

const Control kControls[] = {
    {PressButton, Everywhere, {"A (confirm)", "A (valider)"},
     {"A, Enter, keypad Enter or Space", "A, Entrée, Entrée du pavé numérique ou Espace"}, {"A", "A"}, {"A", "A"},
     {{KEY_A, "A", "KeyA", 'a'}, {KEY_A, "Return", "Enter", 0}, {KEY_A, "Keypad Enter", "NumpadEnter", 0},
      {KEY_A, "Space", "Space", 0}},
     {{KEY_A, "a", 0}}},
    {PressButton, Everywhere, {"D-pad (right, left: 1; up, down: 10)", "Croix (droite, gauche : 1 ; haut, bas : 10)"},
     {"arrow keys", "flèches"}, {"D-pad", "croix"}, {"▲ ◀ ▶ ▼", "▲ ◀ ▶ ▼"},
     {{KEY_DUP, "Up", "ArrowUp", 0}, {KEY_DDOWN, "Down", "ArrowDown", 0}, {KEY_DLEFT, "Left", "ArrowLeft", 0},
      {KEY_DRIGHT, "Right", "ArrowRight", 0}},
     {{KEY_DUP, "dpup", 12}, {KEY_DDOWN, "dpdown", 13}, {KEY_DLEFT, "dpleft", 14}, {KEY_DRIGHT, "dpright", 15}}},
    // The Circle Pad does what the D-pad does; the numeric keypad's arrows give it keys of its own.
    {PressButton, Everywhere, {"Circle Pad (as the D-pad)", "Pad circulaire (comme la croix)"},
     {"the numeric keypad's 8 4 6 2", "8 4 6 2 du pavé numérique"},
     {"left stick, past half-way", "stick gauche, à mi-course"}, {},
     {{KEY_CPAD_UP, "Keypad 8", "Numpad8", 0}, {KEY_CPAD_LEFT, "Keypad 4", "Numpad4", 0},
      {KEY_CPAD_RIGHT, "Keypad 6", "Numpad6", 0}, {KEY_CPAD_DOWN, "Keypad 2", "Numpad2", 0}},
     {}},
    {PressButton, Everywhere, {"R (100 more)", "R (100 de plus)"}, {"R or Page Up", "R ou Page précédente"},
     {"right shoulder", "gâchette droite"}, {"R", "R"},
     {{KEY_R, "R", "KeyR", 'r'}, {KEY_R, "PageUp", "PageUp", 0}},
     {{KEY_R, "rightshoulder", 5}}},
    {PressButton, Everywhere, {"L (100 less)", "L (100 de moins)"}, {"L or Page Down", "L ou Page suivante"},
     {"left shoulder", "gâchette gauche"}, {"L", "L"},
     {{KEY_L, "L", "KeyL", 'l'}, {KEY_L, "PageDown", "PageDown", 0}},
     {{KEY_L, "leftshoulder", 4}}},
    {PressButton, Everywhere, {"START (leaves the game)", "START (quitte la partie)"}, {"Escape", "Échap"},
     {"Start", "Start"}, {"START, in the corner", "START, dans le coin"},
     {{KEY_START, "Escape", "Escape", 0}},
     {{KEY_START, "start", 9}}},
    // Typed digits become the presses above; the digit keys by place, so that AZERTY needs no Shift.
    {TypeDigit, Everywhere, {"typing a number on a question (A confirms it)", "taper un nombre sur une question (A le valide)"},
     {"the digits 0 to 9 above the letters", "les chiffres 0 à 9 au-dessus des lettres"}, {},
     {"the number pad's 0 to 9", "les chiffres 0 à 9 du pavé"},
     {{0, "0", "Digit0", 0}, {0, "1", "Digit1", 0}, {0, "2", "Digit2", 0}, {0, "3", "Digit3", 0},
      {0, "4", "Digit4", 0}, {0, "5", "Digit5", 0}, {0, "6", "Digit6", 0}, {0, "7", "Digit7", 0},
      {0, "8", "Digit8", 0}, {0, "9", "Digit9", 0}},
     {}},
    {EraseDigit, Everywhere, {"erasing its last digit", "effacer son dernier chiffre"}, {"Backspace", "Retour arrière"}, {},
     {"the number pad's ⌫", "le ⌫ du pavé"}, {{0, "Backspace", "Backspace", 0}}, {}},
    {ShowHelp, Everywhere, {"help: these controls, then how to play (the game waits)", "aide : ces commandes, puis comment jouer (le jeu attend)"}, {"F1", "F1"}, {}, {"Help", "Aide"},
     {{0, "F1", "F1", 0}}, {}},
    {NewYear, InWindow, {"a new year (press it twice; the kept one is forgotten)", "une nouvelle année (deux fois ; la partie gardée est oubliée)"},
     {"F5", "F5"}, {}, {}, {{0, "F5", "F5", 0}}, {}},
    {NextLayout, InWindow, {"layout: the upper screen and the advice, both screens, the upper one, side by side",
                            "disposition : l'écran du haut et les conseils, les deux écrans, celui du haut, côte à côte"},
     {"F10", "F10"}, {}, {}, {{0, "F10", "F10", 0}}, {}},
    {FullScreen, InWindow, {"full screen", "plein écran"}, {"F11", "F11"}, {}, {}, {{0, "F11", "F11", 0}}, {}},
    {Screenshot, InWindow, {"screenshot (a PNG in the current folder)", "capture d'écran (un PNG dans le dossier courant)"},
     {"F12", "F12"}, {}, {}, {{0, "F12", "F12", 0}}, {}},
    {ReadScreen, OnPage, {"the screen read again, for a screen reader", "l'écran relu, pour un lecteur d'écran"},
     {"F2", "F2"}, {}, {}, {{0, "F2", "F2", 0}}, {}},
};
const size_t kControlCount = sizeof kControls / sizeof kControls[0];

const char* controlText(const ControlText& text, u8 language) {
    return language == CFG_LANGUAGE_FR ? text.french : text.english;
}

std::string inGameFont(const char* text) {
    // The accented letters of the table's French, by their UTF-8 second byte after 0xC3.
    static const char kPlain[] = "AAAAAAACEEEEIIII" "DNOOOOOxOUUUUYPS" "AAAAAAACEEEEIIII" "DNOOOOO/OUUUUYPY";
    std::string plain;
    for (const char* c = text; *c != '\0'; c++) {
        unsigned char byte = (unsigned char)*c;
        if (byte == 0xC3 && (unsigned char)c[1] >= 0x80 && (unsigned char)c[1] <= 0xBF) {
            plain += kPlain[(unsigned char)*++c - 0x80];
        } else if (byte >= 0x80) {
            plain += '?';
        } else {
            plain += (char)(byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte);
        }
    }
    return plain;
}

u32 stickButtons(u32 before, float x, float y) {
    auto direction = [before](float value, u32 minus, u32 plus) -> u32 {
        if (value <= -kStickPress || (value <= -kStickRelease && (before & minus))) return minus;
        if (value >= kStickPress || (value >= kStickRelease && (before & plus))) return plus;
        return 0;
    };
    return direction(x, KEY_CPAD_LEFT, KEY_CPAD_RIGHT) | direction(y, KEY_CPAD_UP, KEY_CPAD_DOWN);
}

std::string controlsMarkdown(void) {
    std::string table = "| console | keyboard | game controller |\n|---|---|---|\n";
    for (size_t i = 0; i < kControlCount; i++) {
        const Control& control = kControls[i];
        const char* where = control.place == InWindow ? ", in the window" : control.place == OnPage ? ", on the page" : "";
        table += std::string("| ") + control.what.english + where +
                 " | " + control.keyboard.english + " | " +
                 (control.controller.english ? control.controller.english : "") + " |\n";
    }
    return table;
}

std::vector<std::string> wrapText(const std::string& text, size_t width) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t at = 0; at < text.size();) {
        size_t end = std::min(text.find(' ', at), text.size());
        std::string word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty()) continue;
        if (!line.empty() && line.size() + 1 + word.size() > width) lines.push_back(line), line.clear();
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string controllerButtons(u8 language) {
    std::string list;
    for (size_t i = 0; i < kControlCount; i++) {
        const ControlText& controller = kControls[i].controller;
        if (controller.english) list += (list.empty() ? "" : ", ") + std::string(controlText(controller, language));
    }
    return list;
}

std::string controlsHelp(void) {
    std::string help = "\nIn the window:\n";
    // Two columns: what a control does, wrapped within the first, and its keys.
    for (size_t i = 0; i < kControlCount; i++) {
        if (kControls[i].place == OnPage) continue;
        std::vector<std::string> what = wrapText(kControls[i].what.english, 38);
        for (size_t j = 0; j < what.size(); j++) {
            char line[160];
            snprintf(line, sizeof line, j == 0 ? "  %-40s %s" : "    %s%s", what[j].c_str(),
                     j == 0 ? kControls[i].keyboard.english : "");
            help += line;
            while (help.back() == ' ') help.pop_back();
            help += '\n';
        }
    }
    std::vector<std::string> lines =
        wrapText("A game controller plays too: " + controllerButtons(CFG_LANGUAGE_EN) + ".", 79);
    for (size_t i = 0; i < lines.size(); i++) help += (i ? "  " : "") + lines[i] + "\n";
    return help;
}

void jsonString(std::string* json, const char* text) {
    *json += '"';
    for (const char* c = text ? text : ""; *c != '\0'; c++) {
        if (*c == '"' || *c == '\\') *json += '\\';
        *json += *c;
    }
    *json += '"';
}

const char* actionName(ControlAction action) {
    static const char* const kNames[] = {"button", "help", "fullscreen", "screenshot", "digit", "erase", "newyear", "layout",
                                         "read"};
    static_assert(sizeof kNames / sizeof kNames[0] == kControlActionCount, "a name for every action");
    return action < kControlActionCount ? kNames[action] : "";
}

std::string controlsJson(u8 language) {
    std::string json = "{\"controls\":[";
    for (size_t i = 0; i < kControlCount; i++) {
        const Control& control = kControls[i];
        json += i ? ",{\"action\":" : "{\"action\":";
        jsonString(&json, actionName(control.action));
        json += control.place == InWindow ? ",\"place\":\"window\",\"what\":"
                : control.place == OnPage ? ",\"place\":\"page\",\"what\":"
                                          : ",\"place\":\"both\",\"what\":";
        jsonString(&json, controlText(control.what, language));
        json += ",\"keyboard\":";
        jsonString(&json, controlText(control.keyboard, language));
        json += ",\"controller\":";
        jsonString(&json, control.controller.english ? controlText(control.controller, language) : nullptr);
        json += ",\"touch\":";
        jsonString(&json, control.touch.english ? controlText(control.touch, language) : nullptr);
        json += ",\"keys\":[";
        for (size_t k = 0; k < sizeof control.keys / sizeof control.keys[0] && control.keys[k].browser; k++) {
            const ControlKey& key = control.keys[k];
            json += k ? ",{\"button\":" : "{\"button\":";
            json += std::to_string(key.button) + ",\"code\":";
            jsonString(&json, key.browser);
            json += ",\"label\":";
            char label[2] = {key.label, '\0'};
            jsonString(&json, label);
            json += "}";
        }
        json += "],\"pad\":[";
        for (size_t k = 0; k < sizeof control.pad / sizeof control.pad[0] && control.pad[k].sdl; k++) {
            const ControlPad& pad = control.pad[k];
            json += k ? ",{\"button\":" : "{\"button\":";
            json += std::to_string(pad.button) + ",\"index\":" + std::to_string(pad.browser) + "}";
        }
        json += "]}";
    }
    return json + "]}";
}
