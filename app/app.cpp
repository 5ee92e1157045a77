#include "app/app.h"

#include <stdlib.h>

#include "game/farm.h"
#include "gfx/render.h"
#include "platform/ctru.h"
#include "screens/screens.h"

namespace {

// Hands the number being entered to the question of the current phase.
void copyAnswer(void) {
    switch (farm.gameState) {
    case SellMales: farm.malesToSell = farm.inputValue; break;
    case SellFemales: farm.femalesToSell = farm.inputValue; break;
    case Couplings: farm.couplingsRequested = farm.inputValue; break;
    case BuyFood: farm.foodToBuy = farm.inputValue; break;
    case BuyMaleCages: farm.maleCagesToBuy = farm.inputValue; break;
    case BuyFemaleCages: farm.femaleCagesToBuy = farm.inputValue; break;
    default: break;
    }
}

} // namespace

int appMain(void) {
    gfxInitDefault();
    cfguInit();
    CFGU_GetSystemLanguage(&farm.systemLanguage);
    srand((unsigned int)(osGetTime() & 0xFFFFFFFFu));
    farm.showIntro = 1;
    initGame();

    while (aptMainLoop()) {
        drawScreen();
        clearBottomScreen();
        copyAnswer();
        updateGame();
        if (farm.keysDown & KEY_START) break; // this frame is never presented
        gfxFlushBuffers();
        gfxSwapBuffers();
        gspWaitForEvent(GSPGPU_EVENT_VBlank0, true);
    }

    cfguExit();
    gfxExit();
    return 0;
}
