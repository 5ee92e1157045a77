// The farm: one record of game state and the rules that change it.
#pragma once

#include "platform/ctru.h"

enum GamePhase : s32 {
    Situation = 1,
    SellMales = 2,
    SellFemales = 3,
    Couplings = 4,
    BuyFood = 5,
    BuyMaleCages = 6,
    BuyFemaleCages = 7,
    GameOver = 8
};

struct FarmState {
    s32 gameState;
    u8 showIntro;
    u8 showImpossible;
    s32 inputValue;
    u32 keysDown;

    u16 adultMales;
    u16 youngMales;
    u16 maleCages;
    s32 malesPerCage;

    u16 adultFemales;
    u16 youngFemales;
    u16 femaleCages;
    s32 femalesPerCage;

    s32 foodStock;
    float cash;
    float hamsterPrice;
    u8 month;
    s32 deadOfHunger;
    s32 deadSuffocated;
    float breedingValue;

    s32 malesToSell;
    s32 femalesToSell;
    s32 couplingsRequested;
    s32 foodToBuy;
    s32 maleCagesToBuy;
    s32 femaleCagesToBuy;

    u8 systemLanguage;
};

// The one farm of the program; zero-filled at start.
extern FarmState farm;

inline bool isQuestionPhase(s32 gameState) {
    return gameState >= SellMales && gameState <= BuyFemaleCages;
}

// Sets the starting farm (one random draw, for the first price).
void initGame(void);

// One frame: scans the buttons into farm.keysDown and applies at most one action.
void updateGame(void);
