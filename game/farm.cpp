#include "game/farm.h"

#include <stdint.h>
#include <stdlib.h>

#include "game/limits.h"
#include "game/rules.h"

FarmState farm;

namespace {

float drawPrice(void) {
    int r = rand();
    return (float)(kLowestPrice + (double)(r % 2) * kPriceRise);
}

// Kills the overcrowding of one side, young first, and returns the final quotient of
// hamsters by cages. One hamster dies at a time while the quotient exceeds the room in
// a cage, so the side keeps the room of its cages; that count is reached in one step.
s32 suffocate(u16* adults, u16* young, u16 cages) {
    s32 hamsters = (s32)*adults + (s32)*young;
    s32 room = roomInCages(cages);
    s32 survivors = hamsters < room ? hamsters : room;
    s32 deaths = hamsters - survivors;
    s32 youngDeaths = deaths < (s32)*young ? deaths : (s32)*young;
    *young = (u16)(*young - youngDeaths);
    *adults = (u16)(*adults - (deaths - youngDeaths));
    farm.deadSuffocated += deaths;
    return cages == 0 ? 0 : survivors / (s32)cages;
}

s32 population(void) {
    return (s32)farm.adultMales + (s32)farm.adultFemales + (s32)farm.youngMales +
           (s32)farm.youngFemales;
}

void starve(void) {
    s32 total = population();
    // Each hamster eats its share; those that find none die.
    s32 fed = farm.foodStock / kFoodPerHamster;
    if (total < fed) {
        farm.foodStock -= total * kFoodPerHamster;
        return;
    }
    farm.deadOfHunger = total - fed;
    // One draw per attempted death, in the farm's order of victims; a draw that
    // falls on an empty count is lost. Counted here, written back once.
    u16 counts[4] = {farm.adultMales, farm.adultFemales, farm.youngMales, farm.youngFemales};
    while (total > fed) {
        u16* victim = &counts[rand() % 4];
        s32 dies = *victim != 0;
        *victim = (u16)(*victim - dies);
        total -= dies;
    }
    farm.adultMales = counts[0];
    farm.adultFemales = counts[1];
    farm.youngMales = counts[2];
    farm.youngFemales = counts[3];
    farm.foodStock -= fed * kFoodPerHamster;
}

void closeMonth(void) {
    farm.adultFemales = (u16)(farm.adultFemales + farm.youngFemales);
    farm.adultMales = (u16)(farm.adultMales + farm.youngMales);
    farm.youngMales = 0;
    farm.youngFemales = 0;
    farm.deadSuffocated = 0;
    farm.inputValue = 0;
    farm.showImpossible = 0;
    farm.deadOfHunger = 0;

    for (s32 i = 0; i < farm.couplingsRequested; i++) {
        int size = rand() % kLargestLitter + 1;
        int males = rand() % size + 1;
        farm.youngMales = (u16)(farm.youngMales + males);
        farm.youngFemales = (u16)(farm.youngFemales + (size - males));
    }

    if (population() == 0) {
        farm.youngMales = kRestockedMales;
        farm.youngFemales = kRestockedFemales;
    }

    farm.malesPerCage = suffocate(&farm.adultMales, &farm.youngMales, farm.maleCages);
    farm.femalesPerCage = suffocate(&farm.adultFemales, &farm.youngFemales, farm.femaleCages);

    starve();

    farm.month++;
    farm.malesToSell = 0;
    farm.femalesToSell = 0;
    farm.couplingsRequested = 0;
    farm.foodToBuy = 0;
    farm.maleCagesToBuy = 0;
    farm.femaleCagesToBuy = 0;

    farm.hamsterPrice = drawPrice();

    if (farm.month <= kMonthsInYear) {
        farm.gameState = Situation;
        return;
    }
    farm.gameState = GameOver;
    float value = (float)farm.adultMales * kValueOfHamster;
    value = value + (float)farm.adultFemales * kValueOfHamster;
    value = value + farm.cash;
    value = value + (float)farm.youngMales * kValueOfHamster;
    value = value + (float)farm.youngFemales * kValueOfHamster;
    value = value + (float)farm.maleCages * kValueOfCage;
    value = value + (float)farm.femaleCages * kValueOfCage;
    farm.breedingValue = value;
}

void accept(s32 nextPhase) {
    farm.gameState = nextPhase;
    farm.inputValue = 0;
    farm.showImpossible = 0;
}

// A refused answer leaves the number for correction.
void refuse(void) { farm.showImpossible = 1; }

void sell(u16* adults, s32 count, s32 nextPhase) {
    if (!saleAccepted(*adults, count)) {
        refuse();
        return;
    }
    farm.cash = farm.cash + (float)count * farm.hamsterPrice;
    *adults = (u16)(*adults - count);
    accept(nextPhase);
}

// Returns whether the cages were bought.
bool buyCages(u16* cages, s32 count) {
    if (!cagesAffordable(farm.cash, count)) {
        refuse();
        return false;
    }
    farm.cash = farm.cash - cagesCost(count);
    *cages = (u16)(*cages + count);
    return true;
}

// Handles A; returns false when the phase has no answer to judge, so that
// the editing rules get their turn.
bool handleA(void) {
    if (farm.showIntro) {
        farm.showIntro = 0;
        farm.gameState = Situation;
        return true;
    }
    switch (farm.gameState) {
    case Situation:
        farm.gameState = SellMales;
        farm.inputValue = 0;
        return true;
    case SellMales:
        sell(&farm.adultMales, farm.malesToSell, SellFemales);
        return true;
    case SellFemales:
        sell(&farm.adultFemales, farm.femalesToSell, Couplings);
        return true;
    case Couplings:
        if (!couplingsAccepted(farm.adultMales, farm.adultFemales, farm.couplingsRequested)) {
            refuse();
        } else {
            accept(BuyFood);
        }
        return true;
    case BuyFood:
        if (!foodAffordable(farm.cash, farm.foodToBuy)) {
            refuse();
        } else {
            farm.foodStock += farm.foodToBuy;
            farm.cash = (float)((double)farm.cash - foodCost(farm.foodToBuy));
            accept(BuyMaleCages);
        }
        return true;
    case BuyMaleCages:
        if (buyCages(&farm.maleCages, farm.maleCagesToBuy)) accept(BuyFemaleCages);
        return true;
    case BuyFemaleCages:
        if (buyCages(&farm.femaleCages, farm.femaleCagesToBuy)) closeMonth();
        return true;
    case GameOver:
        farm.gameState = Situation;
        farm.breedingValue = 0.0f;
        initGame();
        return true;
    default:
        return false;
    }
}

// An increase past the largest 32-bit value is ignored, like a decrease below zero.
bool addToInput(s32 step) {
    if (step > 0 ? farm.inputValue > INT32_MAX - step : farm.inputValue < -step) return false;
    farm.inputValue += step;
    return true;
}

void editInput(u32 keys) {
    if (!isQuestionPhase(farm.gameState)) return;
    if ((keys & KEY_RIGHT) && addToInput(1)) return;
    if ((keys & KEY_LEFT) && addToInput(-1)) return;
    if ((keys & KEY_UP) && addToInput(10)) return;
    if ((keys & KEY_DOWN) && addToInput(-10)) return;
    if ((keys & KEY_R) && addToInput(100)) return;
    if ((keys & KEY_L) && addToInput(-100)) return;
}

} // namespace

void initGame(void) {
    farm.adultMales = 1;
    farm.maleCages = 1;
    farm.malesPerCage = 1;
    farm.adultFemales = 1;
    farm.femaleCages = 1;
    farm.femalesPerCage = 1;
    farm.month = 1;
    farm.youngMales = 0;
    farm.youngFemales = 0;
    farm.foodStock = 5;
    float price = drawPrice();
    farm.cash = 5.0f;
    farm.hamsterPrice = price;
    farm.deadSuffocated = 0;
    farm.deadOfHunger = 0;
}

void updateGame(void) {
    hidScanInput();
    farm.keysDown = hidKeysDown();
    if ((farm.keysDown & KEY_A) && handleA()) return;
    editInput(farm.keysDown);
}
