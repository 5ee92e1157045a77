// Runs one kind of work a given number of times, for counting the console CPU's
// instructions under emulation (bench/console-estimate): the clear of both screens,
// each kind of frame, or the month close at its worst.
//   console_cost WORK TIMES
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "game/farm.h"
#include "gfx/render.h"
#include "platform/host_console.h"
#include "screens/screens.h"
#include "bench/scenes.h"

namespace {

// Hands A to every scan: accepting the sixth answer closes the month.
struct PressA : HostFrontend {
    bool keepRunning() override { return true; }
    void sampleButtons(u32* held, u32* pressed) override {
        *held = 0;
        *pressed = KEY_A;
    }
};

void frame(bool draw) {
    if (draw) {
        drawScreen();
    } else {
        clearTopScreen();
    }
    clearBottomScreen();
    gfxFlushBuffers();
    gfxSwapBuffers();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: console_cost floor|rules|month|end|suffocation|hunger TIMES\n");
        return 2;
    }
    const char* work = argv[1];
    int times = atoi(argv[2]);
    hostConsoleReset(0, CFG_LANGUAGE_FR);
    gfxInitDefault();
    farm = FarmState{};
    srand(1);

    PressA pressA;
    FarmState start = strcmp(work, "hunger") == 0 ? hungerFarm() : suffocationFarm();

    for (int i = 0; i < times; i++) {
        if (strcmp(work, "floor") == 0) {
            frame(false);
        } else if (strcmp(work, "rules") == 0) {
            farm.systemLanguage = CFG_LANGUAGE_FR;
            farm.showIntro = 1;
            frame(true);
        } else if (strcmp(work, "month") == 0) {
            heaviestMonthFarm();
            frame(true);
        } else if (strcmp(work, "end") == 0) {
            heaviestEndFarm();
            frame(true);
        } else {
            farm = start;
            hostConsoleSetFrontend(&pressA);
            updateGame();
            hostConsoleSetFrontend(nullptr);
        }
    }
    printf("%s x %d: gameState %d\n", work, times, (int)farm.gameState);
    return 0;
}
