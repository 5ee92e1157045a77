// The rules of the farm: editing the number, judging each answer, closing a month.
#include <gtest/gtest.h>
#include <stdint.h>
#include <stdlib.h>

#include "support/test_console.h"

namespace {

class Rules : public ::testing::Test {
  protected:
    void SetUp() override {
        resetConsoleAndFarm();
        srand(1);
        initGame();
    }

    // Accepts the last question of the month with no cages bought: the month closes.
    void closeMonthNow() {
        startPhase(BuyFemaleCages);
        farm.femaleCagesToBuy = 0;
        press(KEY_A);
        ASSERT_EQ(farm.showImpossible, 0);
    }
};

TEST_F(Rules, EditingStepsAndLimits) {
    startPhase(BuyFood);
    press(KEY_DRIGHT);
    EXPECT_EQ(farm.inputValue, 1);
    press(KEY_CPAD_UP);
    EXPECT_EQ(farm.inputValue, 11);
    press(KEY_R);
    EXPECT_EQ(farm.inputValue, 111);
    press(KEY_L);
    press(KEY_DDOWN);
    press(KEY_CPAD_LEFT);
    EXPECT_EQ(farm.inputValue, 0);

    // Decreases that would go below zero do nothing.
    press(KEY_DLEFT);
    EXPECT_EQ(farm.inputValue, 0);
    farm.inputValue = 9;
    press(KEY_DDOWN);
    EXPECT_EQ(farm.inputValue, 9);
    farm.inputValue = 99;
    press(KEY_L);
    EXPECT_EQ(farm.inputValue, 99);
}

TEST_F(Rules, OneEditAFrameInRuleOrder) {
    startPhase(SellMales);
    press(KEY_DRIGHT | KEY_DUP | KEY_R);
    EXPECT_EQ(farm.inputValue, 1);
    // At 0 the refused decrease gives way to the next rule: left and up add 10.
    farm.inputValue = 0;
    press(KEY_DLEFT | KEY_DUP);
    EXPECT_EQ(farm.inputValue, 10);
    farm.inputValue = 5;
    press(KEY_DDOWN | KEY_L);
    EXPECT_EQ(farm.inputValue, 5);
    farm.inputValue = 5;
    press(KEY_DDOWN | KEY_R);
    EXPECT_EQ(farm.inputValue, 105);
}

TEST_F(Rules, IncreasesStopAtTheLargest32BitValue) {
    startPhase(BuyFood);
    farm.inputValue = INT32_MAX - 100;
    press(KEY_R);
    EXPECT_EQ(farm.inputValue, INT32_MAX);
    press(KEY_DRIGHT);
    EXPECT_EQ(farm.inputValue, INT32_MAX);
    // A refused increase gives way to the next rule, as a refused decrease does.
    press(KEY_DUP | KEY_L);
    EXPECT_EQ(farm.inputValue, INT32_MAX - 100);
}

TEST_F(Rules, EditsOnlyOnQuestions) {
    for (s32 phase : {(s32)0, (s32)Situation, (s32)GameOver, (s32)9, (s32)-1}) {
        startPhase(phase);
        farm.inputValue = 50;
        for (u32 key : {(u32)KEY_DRIGHT, (u32)KEY_DLEFT, (u32)KEY_DUP, (u32)KEY_DDOWN, (u32)KEY_R, (u32)KEY_L}) {
            press(key);
        }
        EXPECT_EQ(farm.inputValue, 50) << "phase " << phase;
    }
}

TEST_F(Rules, AOnTheRulesScreenStartsTheMonth) {
    farm.showIntro = 1;
    farm.gameState = 0;
    press(KEY_A | KEY_DRIGHT);
    EXPECT_EQ(farm.showIntro, 0);
    EXPECT_EQ(farm.gameState, Situation);
    EXPECT_EQ(farm.inputValue, 0);
    press(KEY_A);
    EXPECT_EQ(farm.gameState, SellMales);
}

TEST_F(Rules, AIsTheOnlyActionOfItsFrame) {
    startPhase(SellMales);
    farm.malesToSell = 0;
    press(KEY_A | KEY_R);
    EXPECT_EQ(farm.gameState, SellFemales);
    EXPECT_EQ(farm.inputValue, 0);
}

TEST_F(Rules, SalesAcceptUpToTheAdultsAndRefuseMore) {
    farm.adultMales = 4;
    farm.adultFemales = 2;
    startPhase(SellMales);
    farm.inputValue = 5;
    farm.malesToSell = 5;
    press(KEY_A);
    EXPECT_EQ(farm.gameState, SellMales);
    EXPECT_EQ(farm.showImpossible, 1);
    EXPECT_EQ(farm.inputValue, 5); // left for correction
    EXPECT_EQ(farm.adultMales, 4);
    EXPECT_EQ(farm.cash, 5.0f);

    farm.malesToSell = 4;
    press(KEY_A);
    EXPECT_EQ(farm.gameState, SellFemales);
    EXPECT_EQ(farm.showImpossible, 0);
    EXPECT_EQ(farm.inputValue, 0);
    EXPECT_EQ(farm.adultMales, 0);

    farm.femalesToSell = 3;
    press(KEY_A);
    EXPECT_EQ(farm.showImpossible, 1);
    farm.femalesToSell = 2;
    press(KEY_A);
    EXPECT_EQ(farm.gameState, Couplings);
    EXPECT_EQ(farm.adultFemales, 0);
}

TEST_F(Rules, SaleIncomeIsAddedInSinglePrecision) {
    farm.adultMales = 65535;
    farm.cash = 0.3f;
    farm.hamsterPrice = 1.1f;
    startPhase(SellMales);
    farm.malesToSell = 65535;
    press(KEY_A);
    volatile float count = 65535.0f;
    volatile float product = count * 1.1f;
    float expected = 0.3f + product;
    // The same sum carried in double would round differently: the test can tell.
    ASSERT_NE(expected, (float)(0.3 + 65535.0 * (double)1.1f));
    EXPECT_EQ(farm.cash, expected);
}

TEST_F(Rules, CouplingsUpToTheSmallerSide) {
    farm.adultMales = 7;
    farm.adultFemales = 3;
    startPhase(Couplings);
    farm.couplingsRequested = 4;
    press(KEY_A);
    EXPECT_EQ(farm.showImpossible, 1);
    EXPECT_EQ(farm.gameState, Couplings);
    farm.couplingsRequested = 3;
    press(KEY_A);
    EXPECT_EQ(farm.gameState, BuyFood);
    EXPECT_EQ(farm.cash, 5.0f);
}

TEST_F(Rules, FoodCostsATenthOfADollarAKilogram) {
    startPhase(BuyFood);
    farm.cash = 5.0f;
    farm.foodStock = 5;
    farm.foodToBuy = 51;
    press(KEY_A);
    EXPECT_EQ(farm.showImpossible, 1);
    EXPECT_EQ(farm.foodStock, 5);
    farm.foodToBuy = 50;
    press(KEY_A);
    EXPECT_EQ(farm.gameState, BuyMaleCages);
    EXPECT_EQ(farm.cash, 0.0f);
    EXPECT_EQ(farm.foodStock, 55);
}

TEST_F(Rules, FoodCostIsJudgedAndPaidInDouble) {
    startPhase(BuyFood);
    farm.cash = 0.3f; // a little more than 0.3 in double
    farm.foodToBuy = 3;
    press(KEY_A);
    EXPECT_EQ(farm.gameState, BuyMaleCages);
    EXPECT_EQ(farm.cash, (float)((double)0.3f - 3 * 0.1));
    EXPECT_NE(farm.cash, 0.3f - 0.3f);
}

TEST_F(Rules, CagesCostFiveDollars) {
    startPhase(BuyMaleCages);
    farm.cash = 10.0f;
    farm.maleCagesToBuy = 3;
    press(KEY_A);
    EXPECT_EQ(farm.showImpossible, 1);
    farm.maleCagesToBuy = 2;
    press(KEY_A);
    EXPECT_EQ(farm.gameState, BuyFemaleCages);
    EXPECT_EQ(farm.maleCages, 3);
    EXPECT_EQ(farm.cash, 0.0f);
}

TEST_F(Rules, AHugeCageOrderIsRefusedNotWrapped) {
    startPhase(BuyMaleCages);
    farm.cash = 100.0f;
    // 858993460 x 5 wraps to 4 in 32 bits.
    farm.maleCagesToBuy = 858993460;
    press(KEY_A);
    EXPECT_EQ(farm.showImpossible, 1);
    EXPECT_EQ(farm.maleCages, 1);
    EXPECT_EQ(farm.cash, 100.0f);
}

TEST_F(Rules, CageCountsWrapAt16Bits) {
    startPhase(BuyMaleCages);
    farm.cash = 1e9f;
    farm.maleCages = 65535;
    farm.maleCagesToBuy = 2;
    press(KEY_A);
    EXPECT_EQ(farm.maleCages, 1);
}

TEST_F(Rules, StartingFarm) {
    srand(42);
    int r = rand();
    srand(42);
    farm.gameState = 5;
    farm.inputValue = 17;
    initGame();
    EXPECT_EQ(farm.adultMales, 1);
    EXPECT_EQ(farm.adultFemales, 1);
    EXPECT_EQ(farm.maleCages, 1);
    EXPECT_EQ(farm.femaleCages, 1);
    EXPECT_EQ(farm.malesPerCage, 1);
    EXPECT_EQ(farm.femalesPerCage, 1);
    EXPECT_EQ(farm.month, 1);
    EXPECT_EQ(farm.foodStock, 5);
    EXPECT_EQ(farm.cash, 5.0f);
    EXPECT_EQ(farm.hamsterPrice, r % 2 ? 1.1f : 1.0f);
    EXPECT_EQ(farm.gameState, 5); // untouched
    EXPECT_EQ(farm.inputValue, 17);
}

TEST_F(Rules, MonthCloseGrowsTheYoungAndDrawsLittersThenPrice) {
    farm.adultMales = 3;
    farm.adultFemales = 4;
    farm.youngMales = 2;
    farm.youngFemales = 1;
    farm.maleCages = 10;
    farm.femaleCages = 10;
    farm.foodStock = 100000;
    farm.deadOfHunger = 9;
    farm.deadSuffocated = 9;
    farm.couplingsRequested = 3;

    srand(2024);
    int males = 0;
    int females = 0;
    for (int i = 0; i < 3; i++) {
        int size = rand() % 18 + 1;
        int m = rand() % size + 1;
        males += m;
        females += size - m;
    }
    float price = rand() % 2 ? 1.1f : 1.0f;
    srand(2024);

    closeMonthNow();
    EXPECT_EQ(farm.adultMales, 5);
    EXPECT_EQ(farm.adultFemales, 5);
    EXPECT_EQ(farm.youngMales, males);
    EXPECT_EQ(farm.youngFemales, females);
    EXPECT_EQ(farm.deadOfHunger, 0);
    EXPECT_EQ(farm.deadSuffocated, 0);
    EXPECT_EQ(farm.foodStock, 100000 - 10 - males - females);
    EXPECT_EQ(farm.hamsterPrice, price);
    EXPECT_EQ(farm.month, 2);
    EXPECT_EQ(farm.gameState, Situation);
    EXPECT_EQ(farm.couplingsRequested, 0);
    EXPECT_EQ(farm.malesPerCage, (5 + males) / 10);
    EXPECT_EQ(farm.femalesPerCage, (5 + females) / 10);
}

TEST_F(Rules, EmptyFarmRestocksOnePair) {
    farm.adultMales = 0;
    farm.adultFemales = 0;
    farm.foodStock = 10;
    closeMonthNow();
    EXPECT_EQ(farm.youngMales, 1);
    EXPECT_EQ(farm.youngFemales, 1);
    EXPECT_EQ(farm.foodStock, 8);
    EXPECT_EQ(farm.deadOfHunger, 0);
}

TEST_F(Rules, OvercrowdedCagesSuffocate) {
    farm.foodStock = 1000;
    farm.adultMales = 21;
    farm.maleCages = 1;
    farm.adultFemales = 30;
    farm.youngFemales = 11; // grow up first: 41 adults in 2 cages
    farm.femaleCages = 2;
    closeMonthNow();
    EXPECT_EQ(farm.adultMales, 20);
    EXPECT_EQ(farm.malesPerCage, 20);
    EXPECT_EQ(farm.adultFemales, 41);
    EXPECT_EQ(farm.femalesPerCage, 20);
    EXPECT_EQ(farm.deadSuffocated, 1);

}

TEST_F(Rules, YoungSuffocateBeforeAdults) {
    farm.adultMales = 20;
    farm.adultFemales = 20;
    farm.maleCages = 1;
    farm.femaleCages = 10;
    farm.foodStock = 100000;
    farm.couplingsRequested = 20;
    srand(5);
    int young = 0;
    for (int i = 0; i < 20; i++) {
        int size = rand() % 18 + 1;
        young += rand() % size + 1;
    }
    srand(5);
    closeMonthNow();
    EXPECT_EQ(farm.adultMales, 20);
    EXPECT_EQ(farm.youngMales, 0);
    EXPECT_EQ(farm.deadSuffocated, young);
}

TEST_F(Rules, ACageCountOfZeroKillsTheWholeSide) {
    farm.adultMales = 3;
    farm.youngMales = 2;
    farm.maleCages = 0;
    farm.adultFemales = 0;
    farm.femaleCages = 0;
    farm.foodStock = 100;
    closeMonthNow();
    EXPECT_EQ(farm.adultMales, 0);
    EXPECT_EQ(farm.youngMales, 0);
    EXPECT_EQ(farm.malesPerCage, 0);
    EXPECT_EQ(farm.femalesPerCage, 0);
    EXPECT_EQ(farm.deadSuffocated, 5);
}

TEST_F(Rules, FoodExactlyEnoughFeedsEveryone) {
    farm.adultMales = 3;
    farm.adultFemales = 4;
    farm.foodStock = 7;
    closeMonthNow();
    EXPECT_EQ(farm.foodStock, 0);
    EXPECT_EQ(farm.deadOfHunger, 0);
    EXPECT_EQ(farm.adultMales + farm.adultFemales, 7);
}

TEST_F(Rules, HungerKillsByDrawsUntilTheFoodSuffices) {
    farm.adultMales = 6;
    farm.adultFemales = 0; // draws that pick an empty count are lost
    farm.youngMales = 0;
    farm.maleCages = 5;
    farm.foodStock = 2;

    srand(77);
    int counts[4] = {6, 0, 0, 0};
    int draws = 0;
    while (counts[0] + counts[1] + counts[2] + counts[3] > 2) {
        int k = rand() % 4;
        draws++;
        if (counts[k] != 0) counts[k]--;
    }
    float price = rand() % 2 ? 1.1f : 1.0f;
    srand(77);

    closeMonthNow();
    EXPECT_GT(draws, 4);
    EXPECT_EQ(farm.deadOfHunger, 4);
    EXPECT_EQ(farm.adultMales, 2);
    EXPECT_EQ(farm.foodStock, 0);
    EXPECT_EQ(farm.hamsterPrice, price); // the price comes after every hunger draw
}

TEST_F(Rules, GrowingUpWrapsAt16Bits) {
    farm.adultMales = 65535;
    farm.youngMales = 2;
    farm.maleCages = 10;
    farm.foodStock = 1000;
    closeMonthNow();
    EXPECT_EQ(farm.adultMales, 1);
}

TEST_F(Rules, TheTwelfthMonthEndsTheGameWithItsValue) {
    farm.month = 12;
    farm.adultMales = 3;
    farm.adultFemales = 4;
    farm.maleCages = 2;
    farm.femaleCages = 3;
    farm.cash = 100.25f;
    farm.foodStock = 1000;
    closeMonthNow();
    EXPECT_EQ(farm.month, 13);
    EXPECT_EQ(farm.gameState, GameOver);
    EXPECT_EQ(farm.breedingValue, 3.0f + 4.0f + 100.25f + 2.0f + 3.0f);

    // A plays again: the starting farm at the month screen, no rules.
    press(KEY_A);
    EXPECT_EQ(farm.gameState, Situation);
    EXPECT_EQ(farm.breedingValue, 0.0f);
    EXPECT_EQ(farm.month, 1);
    EXPECT_EQ(farm.adultMales, 1);
    EXPECT_EQ(farm.showIntro, 0);
}

TEST_F(Rules, TheValueIsSummedLeftToRightInSinglePrecision) {
    farm.month = 12;
    farm.adultMales = 1;
    farm.adultFemales = 0;
    farm.maleCages = 1;
    farm.femaleCages = 1;
    farm.cash = 16777216.0f; // 2^24: adding 1 at a time is lost to rounding
    farm.foodStock = 100;
    closeMonthNow();
    // (1 + 0 + 2^24) rounds to 2^24, then each later 1 is lost again.
    EXPECT_EQ(farm.breedingValue, 16777216.0f);
}

} // namespace
