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

namespace {

// Hands A to every scan: accepting the sixth answer closes the month.
struct PressA : HostFrontend {
    bool keepRunning() override { return true; }
    void sampleButtons(u32* held, u32* pressed) override {
        *held = 0;
        *pressed = KEY_A;
    }
};

// The same heaviest month screen as the desktop benchmark.
void heaviestMonthScreen(void) {
    farm.systemLanguage = CFG_LANGUAGE_FR;
    farm.gameState = BuyFemaleCages;
    farm.showImpossible = 1;
    farm.month = 12;
    farm.adultMales = farm.adultFemales = 65535;
    farm.youngMales = farm.youngFemales = 65535;
    farm.maleCages = farm.femaleCages = 65535;
    farm.malesPerCage = farm.femalesPerCage = 20;
    farm.foodStock = 2147483647;
    farm.hamsterPrice = 1.1f;
    farm.cash = 1234567.88f;
    farm.deadOfHunger = farm.deadSuffocated = 262140;
    farm.malesToSell = farm.femalesToSell = farm.couplingsRequested = 65535;
    farm.foodToBuy = farm.maleCagesToBuy = farm.femaleCagesToBuy = 2147483647;
}

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
    FarmState start{};
    start.gameState = BuyFemaleCages;
    start.month = 1;
    start.cash = 5.0f;
    if (strcmp(work, "suffocation") == 0) {
        start.adultMales = start.adultFemales = 65535;
        start.maleCages = start.femaleCages = 1;
        start.foodStock = 1000;
    } else if (strcmp(work, "hunger") == 0) {
        start.adultMales = start.adultFemales = 65535;
        start.maleCages = start.femaleCages = 65535;
    }

    for (int i = 0; i < times; i++) {
        if (strcmp(work, "floor") == 0) {
            frame(false);
        } else if (strcmp(work, "rules") == 0) {
            farm.systemLanguage = CFG_LANGUAGE_FR;
            farm.showIntro = 1;
            frame(true);
        } else if (strcmp(work, "month") == 0) {
            heaviestMonthScreen();
            frame(true);
        } else if (strcmp(work, "end") == 0) {
            heaviestMonthScreen();
            farm.gameState = GameOver;
            farm.showImpossible = 0;
            farm.breedingValue = 1234567.88f;
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
