// What the page's scripts (web/*.js) ask of the game: keys typed, a new year, a recording
// opened, the tables of controls and help, the files the page offers.
#include <emscripten.h>

#include <string>

#include "frontend/controls.h"
#include "frontend/help.h"
#include "frontend/outputs.h"
#include "frontend/player.h"
#include "frontend/recording.h"
#include "frontend/replay.h"

namespace {

// A text for the page, which reads it at once: kept until the next one.
const char* toPage(std::string text) {
    static std::string held;
    held = std::move(text);
    return held.c_str();
}

std::string download; // the last file asked for, kept until the next

} // namespace

extern "C" {
EMSCRIPTEN_KEEPALIVE int webKey(int key) { return playerKey((char)key); }
EMSCRIPTEN_KEEPALIVE void webNewYear() { playerNewYear(); }
EMSCRIPTEN_KEEPALIVE void webOpen(const char* text, int length, int link, const char* failed) {
    playerOpen(std::string(text, (size_t)length), link ? SharedLink : OpenedFile, failed);
}
EMSCRIPTEN_KEEPALIVE int webLargestRecording() { return (int)kMaxRecordingBytes; }
EMSCRIPTEN_KEEPALIVE void webJump() { playerJumpToEnd(); }
EMSCRIPTEN_KEEPALIVE int webPlayingRecording() { return playerPlayingRecording(); }
EMSCRIPTEN_KEEPALIVE const char* webState() { return toPage(playerStateJson()); }
EMSCRIPTEN_KEEPALIVE const char* webScreenText() { return toPage(playerScreenText()); }
EMSCRIPTEN_KEEPALIVE const char* webControls(int language) { return toPage(controlsJson((u8)language)); }
EMSCRIPTEN_KEEPALIVE const char* webHelp(int language, int touch) {
    return toPage(helpJson((u8)language, touch ? TouchHelp : PageHelp));
}
EMSCRIPTEN_KEEPALIVE u32 webStick(u32 before, float x, float y) { return stickButtons(before, x, y); }
EMSCRIPTEN_KEEPALIVE u32 webButton(const char* name) { return buttonMask(name).value_or(0); }

// Files the page offers: what the screens show as a PNG, noted in the recording at its
// frame as the window notes its screenshots, and the session as a replay script.
EMSCRIPTEN_KEEPALIVE const char* webScreenshot(const char* name, int* size) {
    playerNote(std::string("screenshot ") + name);
    download = encodePng(playerPicture(), SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT);
    *size = (int)download.size();
    return download.data();
}
EMSCRIPTEN_KEEPALIVE const char* webRecording(int* size) {
    download = playerRecording();
    *size = (int)download.size();
    return download.data();
}
}

