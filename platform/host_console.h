// The desktop's model of the console, behind the console library's names (ctru.h).
// The program around the game powers it on, plugs in where buttons come from and
// where frames go, and reads the presented frames when the game has returned.
#pragma once

#include "platform/ctru.h"

// What drives the model: a replay script, a window, a test.
struct HostFrontend {
    virtual ~HostFrontend() = default;
    // Asked by aptMainLoop: may the application go on? May block (a suspended console).
    virtual bool keepRunning() = 0;
    // Asked by hidScanInput: the buttons held now, and those pressed (even if released
    // again) since the previous scan.
    virtual void sampleButtons(u32* held, u32* pressedSinceLastScan) = 0;
    // Asked by gspWaitForEvent: wait for the upper screen's next vertical blank.
    virtual void waitForVBlank() {}
    // Told by gfxSwapBuffers: these buffers are now on display.
    virtual void presented(const u8* /*top*/, const u8* /*bottom*/) {}
};

// What the model has seen, for the program around it and for tests.
struct HostConsoleStatus {
    bool graphicsOpen;
    bool configOpen;
    u64 framesPresented;
    u64 vblanksWaited;
};

// Powers the console on: the clock reads `clockMs` now (milliseconds since 1900) and the
// system language is `language`. Clears the buffers and forgets the previous run.
void hostConsoleReset(u64 clockMs, u8 language);
void hostConsoleSetFrontend(HostFrontend* frontend);
const HostConsoleStatus& hostConsoleStatus(void);

// The buffers last presented by gfxSwapBuffers (still readable after gfxExit),
// or null when no frame was presented.
const u8* hostPresentedTop(void);
const u8* hostPresentedBottom(void);

// The console's upper screen refreshes kTicksPerSecond / kTicksPerFrame times a second
// (about 59.83): a frame lasts kTicksPerFrame ticks of its 268 MHz clock.
constexpr u64 kTicksPerFrame = 4481136;
constexpr u64 kTicksPerSecond = 268111856;

// Milliseconds from 1 January 1900 to the Unix epoch.
constexpr u64 kMillisecondsFrom1900To1970 = 2208988800000ull;
