// Fuzzes the game's own frame loop, on the desktop's model of the console, with streams
// of buttons, and checks before every frame that gameState is 0 to 8, inputValue is not
// negative and month is 1 to 13. AddressSanitizer stops any write past the model's
// framebuffers.
//
// Input: 4 bytes of clock (the game's seed), 1 byte of language, then one byte a stretch
// of frames: the low 5 bits pick the buttons, the high 3 bits repeat them 1 to 8 frames.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "app/app.h"
#include "game/farm.h"
#include "platform/host_console.h"

namespace {

// Single buttons, pairs whose order the rules settle, and START.
const u32 kButtons[32] = {
    0, KEY_A, KEY_DRIGHT, KEY_DLEFT, KEY_DUP, KEY_DDOWN, KEY_R, KEY_L,
    KEY_CPAD_RIGHT, KEY_CPAD_LEFT, KEY_CPAD_UP, KEY_CPAD_DOWN, KEY_B, KEY_X | KEY_Y,
    KEY_SELECT | KEY_ZL | KEY_ZR, KEY_A | KEY_R, KEY_DLEFT | KEY_DUP, KEY_DDOWN | KEY_R,
    KEY_L | KEY_DRIGHT, KEY_DRIGHT | KEY_DLEFT | KEY_DUP | KEY_DDOWN, KEY_A | KEY_DLEFT,
    KEY_R | KEY_L, KEY_CPAD_UP | KEY_CPAD_DOWN, KEY_A, KEY_A, KEY_A, KEY_R, KEY_DUP, 0, 0,
    KEY_A | KEY_START, KEY_START,
};

struct FuzzedButtons : HostFrontend {
    const u8* next;
    const u8* end;
    u32 buttons = 0, repeat = 0;
    bool keepRunning() override {
        if (farm.gameState < 0 || farm.gameState > 8 || farm.inputValue < 0 || farm.month < 1 || farm.month > 13) abort();
        if (repeat == 0 && next == end) return false;
        if (repeat == 0) buttons = kButtons[*next & 31], repeat = (*next++ >> 5) + 1u;
        return repeat--, true;
    }
    void sampleButtons(u32* held, u32* pressed) override { *held = 0, *pressed = buttons; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    u32 clock;
    memcpy(&clock, data, 4);
    FuzzedButtons fuzzed;
    fuzzed.next = data + 5, fuzzed.end = data + size;
    farm = FarmState{}; // zero-filled, as at the program's start
    hostConsoleReset(clock, data[4] % 3 == 0 ? (u8)CFG_LANGUAGE_FR : data[4]);
    hostConsoleSetFrontend(&fuzzed);
    appMain();
    hostConsoleSetFrontend(nullptr);
    if (hostConsoleStatus().graphicsOpen || hostConsoleStatus().configOpen) abort(); // a service left open
    return 0;
}
