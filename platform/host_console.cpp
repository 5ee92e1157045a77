#include "platform/host_console.h"

#include <string.h>

namespace {

// Two buffers per screen, one on display, one to draw into; 3 bytes a pixel.
const size_t kTopBytes = 3 * GSP_SCREEN_WIDTH * GSP_SCREEN_HEIGHT_TOP;
const size_t kBottomBytes = 3 * GSP_SCREEN_WIDTH * GSP_SCREEN_HEIGHT_BOTTOM;
u8 topBuffers[2][kTopBytes];
u8 bottomBuffers[2][kBottomBytes];

struct Console {
    int backBuffer;
    bool anyPresented;
    u64 clockAtPowerOn;
    u8 language;
    u32 heldAtLastScan;
    u32 keysDown;
    HostFrontend* frontend;
    HostConsoleStatus status;
};

Console console;

} // namespace

void hostConsoleReset(u64 clockMs, u8 language) {
    HostFrontend* frontend = console.frontend;
    console = Console{};
    console.frontend = frontend;
    console.clockAtPowerOn = clockMs;
    console.language = language;
    memset(topBuffers, 0, sizeof topBuffers);
    memset(bottomBuffers, 0, sizeof bottomBuffers);
}

void hostConsoleSetFrontend(HostFrontend* frontend) { console.frontend = frontend; }

const HostConsoleStatus& hostConsoleStatus(void) { return console.status; }

const u8* hostPresentedTop(void) {
    return console.anyPresented ? topBuffers[console.backBuffer ^ 1] : nullptr;
}

const u8* hostPresentedBottom(void) {
    return console.anyPresented ? bottomBuffers[console.backBuffer ^ 1] : nullptr;
}

extern "C" {

void gfxInitDefault(void) {
    console.status.graphicsOpen = true;
    console.backBuffer = 0;
}

void gfxExit(void) {
    console.status.graphicsOpen = false;
}

u8* gfxGetFramebuffer(gfxScreen_t screen, gfx3dSide_t /*side: 3D is off*/, u16* width,
                      u16* height) {
    if (!console.status.graphicsOpen) return nullptr;
    // As the hardware sees them: 240-pixel columns, 400 or 320 of them.
    if (width) *width = GSP_SCREEN_WIDTH;
    if (height) *height = screen == GFX_BOTTOM ? GSP_SCREEN_HEIGHT_BOTTOM : GSP_SCREEN_HEIGHT_TOP;
    return screen == GFX_BOTTOM ? bottomBuffers[console.backBuffer]
                                : topBuffers[console.backBuffer];
}

void gfxFlushBuffers(void) {}

void gfxSwapBuffers(void) {
    if (!console.status.graphicsOpen) return;
    int shown = console.backBuffer;
    console.backBuffer ^= 1;
    console.anyPresented = true;
    console.status.framesPresented++;
    if (console.frontend) console.frontend->presented(topBuffers[shown], bottomBuffers[shown]);
}

void gspWaitForEvent(GSPGPU_Event id, bool /*nextEvent*/) {
    if (id != GSPGPU_EVENT_VBlank0 && id != GSPGPU_EVENT_VBlank1) return;
    console.status.vblanksWaited++;
    if (console.frontend) console.frontend->waitForVBlank();
}

Result cfguInit(void) {
    console.status.configOpen = true;
    return 0;
}

void cfguExit(void) {
    console.status.configOpen = false;
}

Result CFGU_GetSystemLanguage(u8* language) {
    if (!console.status.configOpen) return -1; // the service is not open: nothing written
    *language = console.language;
    return 0;
}

// The clock advances one frame period per vertical blank.
u64 osGetTime(void) {
    return console.clockAtPowerOn +
           console.status.vblanksWaited * kTicksPerFrame * 1000 / kTicksPerSecond;
}

bool aptMainLoop(void) {
    return console.frontend != nullptr && console.frontend->keepRunning();
}

void hidScanInput(void) {
    u32 held = 0;
    u32 pressed = 0;
    if (console.frontend) console.frontend->sampleButtons(&held, &pressed);
    // Newly down: pressed since the last scan, or held now and not at the last scan.
    console.keysDown = pressed | (held & ~console.heldAtLastScan);
    console.heldAtLastScan = held;
}

u32 hidKeysDown(void) {
    return console.keysDown;
}

} // extern "C"
