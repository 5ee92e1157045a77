// The farms the benchmarks draw and close, shared by the desktop benchmark and the
// console's instruction count.
#pragma once

#include "game/farm.h"

// The heaviest screen: French (the longer texts), phase 7 with every question shown,
// every number as wide as its field lets it grow, and the refusal mark.
inline void heaviestMonthFarm(void) {
    farm.systemLanguage = CFG_LANGUAGE_FR;
    farm.showIntro = 0;
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

// The end of a game with the same numbers.
inline void heaviestEndFarm(void) {
    heaviestMonthFarm();
    farm.gameState = GameOver;
    farm.showImpossible = 0;
    farm.month = 13;
    farm.breedingValue = 1234567.88f;
}

// The sixth answer of month 1 about to be accepted with nothing to pay.
inline FarmState lastQuestionFarm(void) {
    FarmState start{};
    start.gameState = BuyFemaleCages;
    start.month = 1;
    start.cash = 5.0f;
    start.hamsterPrice = 1.0f;
    return start;
}

// 65535 hamsters in one cage on each side: 65515 deaths a side.
inline FarmState suffocationFarm(void) {
    FarmState start = lastQuestionFarm();
    start.adultMales = start.adultFemales = 65535;
    start.maleCages = start.femaleCages = 1;
    start.foodStock = 1000;
    return start;
}

// 65535 adults a side, the most a count holds, cages for all, and no food.
inline FarmState hungerFarm(void) {
    FarmState start = lastQuestionFarm();
    start.adultMales = start.adultFemales = 65535;
    start.maleCages = start.femaleCages = 65535;
    start.foodStock = 0;
    return start;
}
