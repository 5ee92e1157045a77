// Fuzzes the game's own frame loop with streams of buttons, for games as long as the
// input makes them, and checks after every frame:
// - gameState is 0 to 8, inputValue is never negative, month is 1 to 13;
// - every pixel write stayed inside the framebuffer it was made in.
//
// The console here is a checking model of its own, in place of the desktop's: each of
// the four framebuffers sits alone in memory, ending right at an inaccessible page and
// starting behind another one, so that a write past either end stops the program at
// once; the few bytes between the leading page and the buffer hold a known pattern,
// checked after every frame.
//
// Input: 4 bytes of clock (the game's seed), 1 byte of language, then one byte a
// stretch of frames: the low 5 bits pick the buttons, the high 3 bits repeat them
// 1 to 8 frames.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

#include "app/app.h"
#include "game/farm.h"
#include "gfx/render.h"
#include "platform/ctru.h"

namespace {

const u8 kCanary = 0xA5;

struct GuardedBuffer {
    u8* pixels;
    size_t bytes;
    u8* slack; // between the leading page and the pixels
    size_t slackBytes;
};

GuardedBuffer makeGuarded(size_t bytes) {
    size_t page = (size_t)sysconf(_SC_PAGESIZE);
    size_t span = (bytes + page - 1) / page * page;
    u8* base = (u8*)mmap(nullptr, span + 2 * page, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED || mprotect(base, page, PROT_NONE) != 0 ||
        mprotect(base + page + span, page, PROT_NONE) != 0) {
        perror("frame_loop_fuzz: guard pages");
        abort();
    }
    GuardedBuffer buffer;
    buffer.slack = base + page;
    buffer.slackBytes = span - bytes;
    buffer.pixels = buffer.slack + buffer.slackBytes;
    buffer.bytes = bytes;
    memset(buffer.slack, kCanary, buffer.slackBytes);
    return buffer;
}

// Two buffers a screen, made once for the whole run.
GuardedBuffer top[2];
GuardedBuffer bottom[2];

// The buttons of each stretch: single buttons, pairs the rules order, and START.
const u32 kButtons[32] = {
    0,
    KEY_A,
    KEY_DRIGHT,
    KEY_DLEFT,
    KEY_DUP,
    KEY_DDOWN,
    KEY_R,
    KEY_L,
    KEY_CPAD_RIGHT,
    KEY_CPAD_LEFT,
    KEY_CPAD_UP,
    KEY_CPAD_DOWN,
    KEY_B,
    KEY_X | KEY_Y,
    KEY_SELECT | KEY_ZL | KEY_ZR,
    KEY_A | KEY_R,
    KEY_DLEFT | KEY_DUP,
    KEY_DDOWN | KEY_R,
    KEY_L | KEY_DRIGHT,
    KEY_DRIGHT | KEY_DLEFT | KEY_DUP | KEY_DDOWN,
    KEY_A | KEY_DLEFT,
    KEY_R | KEY_L,
    KEY_CPAD_UP | KEY_CPAD_DOWN,
    KEY_A,
    KEY_A,
    KEY_A,
    KEY_R,
    KEY_DUP,
    0,
    0,
    KEY_A | KEY_START,
    KEY_START,
};

struct Console {
    const u8* input;
    size_t left;
    u32 stretchButtons;
    u32 stretchFrames;
    u32 keysDown;
    int back;
    bool graphics;
    bool config;
    u64 clock;
    u8 language;
    u64 frames;
};

Console console;

[[noreturn]] void fail(const char* what) {
    fprintf(stderr, "frame_loop_fuzz: after frame %llu: %s (gameState %d, inputValue %d, "
                    "month %d)\n",
            (unsigned long long)console.frames, what, (int)farm.gameState, (int)farm.inputValue,
            (int)farm.month);
    abort();
}

bool slackIntact(const GuardedBuffer& buffer) {
    for (size_t i = 0; i < buffer.slackBytes; i++) {
        if (buffer.slack[i] != kCanary) return false;
    }
    return true;
}

void checkFrame(void) {
    if (farm.gameState < 0 || farm.gameState > 8) fail("gameState outside 0 to 8");
    if (farm.inputValue < 0) fail("inputValue negative");
    if (farm.month < 1 || farm.month > 13) fail("month outside 1 to 13");
    for (const GuardedBuffer& buffer : top) {
        if (!slackIntact(buffer)) fail("a write before an upper framebuffer");
    }
    for (const GuardedBuffer& buffer : bottom) {
        if (!slackIntact(buffer)) fail("a write before a lower framebuffer");
    }
}

} // namespace

extern "C" {

void gfxInitDefault(void) {
    console.graphics = true;
    console.back = 0;
}
void gfxExit(void) { console.graphics = false; }
u8* gfxGetFramebuffer(gfxScreen_t screen, gfx3dSide_t, u16* width, u16* height) {
    if (!console.graphics) fail("a framebuffer asked for with graphics closed");
    if (width) *width = SCREEN_ROWS;
    if (height) *height = screen == GFX_BOTTOM ? BOTTOM_COLUMNS : TOP_COLUMNS;
    return screen == GFX_BOTTOM ? bottom[console.back].pixels : top[console.back].pixels;
}
void gfxFlushBuffers(void) {}
void gfxSwapBuffers(void) { console.back ^= 1; }
void gspWaitForEvent(GSPGPU_Event, bool) {}
Result cfguInit(void) {
    console.config = true;
    return 0;
}
void cfguExit(void) { console.config = false; }
Result CFGU_GetSystemLanguage(u8* language) {
    if (!console.config) return -1;
    *language = console.language;
    return 0;
}
u64 osGetTime(void) { return console.clock; }

// The top of every frame: the previous frame is checked, then the next is read.
bool aptMainLoop(void) {
    if (console.frames > 0) checkFrame();
    if (console.stretchFrames == 0) {
        if (console.left == 0) return false;
        u8 byte = *console.input++;
        console.left--;
        console.stretchButtons = kButtons[byte & 31];
        console.stretchFrames = (u32)(byte >> 5) + 1;
    }
    console.stretchFrames--;
    console.frames++;
    return true;
}
void hidScanInput(void) { console.keysDown = console.stretchButtons; }
u32 hidKeysDown(void) { return console.keysDown; }

int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool made = false;
    if (!made) {
        for (GuardedBuffer& buffer : top) buffer = makeGuarded(TOP_FRAMEBUFFER_BYTES);
        for (GuardedBuffer& buffer : bottom) buffer = makeGuarded(BOTTOM_FRAMEBUFFER_BYTES);
        made = true;
    }
    if (size < 5) return 0;
    console = Console{};
    u32 clock;
    memcpy(&clock, data, 4);
    console.clock = clock;
    console.language = data[4] % 3 == 0 ? (u8)CFG_LANGUAGE_FR : data[4];
    console.input = data + 5;
    console.left = size - 5;

    farm = FarmState{}; // zero-filled, as at the program's start
    appMain();
    checkFrame();
    if (console.graphics || console.config) fail("the loop left a service open");
    return 0;
}

} // extern "C"
