// The rules of the farm: editing the number, judging each answer, closing a month.
// Each step is checked against the whole farm as it must be, field by field; the values
// are worked out by hand in the comments. Where the rules draw, the test seeds the C
// library, draws what it needs, seeds it again and plays: it holds on any C library.
#include <gtest/gtest.h>
#include <stdint.h>
#include <stdlib.h>

#include "frontend/fields.h"
#include "frontend/outputs.h"
#include "support/test_console.h"

namespace {

float priceOf(int draw) { return draw % 2 ? 1.1f : 1.0f; }

s32* answerOf(s32 phase) {
    s32* answers[] = {&farm.malesToSell, &farm.femalesToSell, &farm.couplingsRequested,
                      &farm.foodToBuy, &farm.maleCagesToBuy, &farm.femaleCagesToBuy};
    return answers[phase - SellMales];
}

// Presses the keys; every field of the farm must then be as `want` has it (compared as
// the state file shows them, floats to the last bit).
void pressAndExpect(u32 keys, FarmState want) {
    want.keysDown = keys;
    press(keys);
    EXPECT_EQ(farmStateJson(farm), farmStateJson(want));
}

class Rules : public ::testing::Test {
  protected:
    FarmState want;
    void SetUp() override {
        resetConsoleAndFarm();
        initGame();
        farm.maleCages = farm.femaleCages = 1000, farm.foodStock = 1 << 30;
    }
    // The current question answered with `value`, as the frame loop hands it over.
    void answer(s32 value) { *answerOf(farm.gameState) = farm.inputValue = value; }
    void refused(s32 value) { // nothing else changes: the number stays for correction
        answer(value);
        want = farm, want.showImpossible = 1;
        pressAndExpect(KEY_A, want);
    }
    // Sets up `want` for an accepted answer; the test adds its effects, then check().
    void accepted(s32 value) {
        answer(value);
        want = farm, want.gameState++, want.inputValue = 0, want.showImpossible = 0;
    }
    void check() { pressAndExpect(KEY_A, want); }
    // Accepts the month's last answer, buying no cage, after a refusal: the month closes.
    void closeMonth() {
        farm.gameState = BuyFemaleCages, farm.showImpossible = 1, farm.inputValue = 3;
        press(KEY_A);
        ASSERT_EQ(farm.showImpossible + farm.inputValue, 0);
    }
};

TEST_F(Rules, EditingTheNumber) {
    struct Case { s32 from; u32 keys; s32 to; };
    const Case cases[] = {
        {7, KEY_DRIGHT, 8}, {7, KEY_CPAD_RIGHT, 8}, {7, KEY_DLEFT, 6}, {7, KEY_CPAD_LEFT, 6},
        {7, KEY_DUP, 17}, {7, KEY_CPAD_UP, 17}, {17, KEY_DDOWN, 7}, {17, KEY_CPAD_DOWN, 7},
        {7, KEY_R, 107}, {107, KEY_L, 7}, {1, KEY_DLEFT, 0}, {10, KEY_DDOWN, 0}, {100, KEY_L, 0},
        {0, KEY_DLEFT, 0}, {9, KEY_DDOWN, 9}, {99, KEY_L, 99}, // never below zero
        // One edit a frame: the first that applies of right, left, up, down, R, L.
        {5, KEY_DRIGHT | KEY_DUP | KEY_R, 6}, {5, KEY_DLEFT | KEY_DUP, 4}, {0, KEY_DLEFT | KEY_DUP, 10},
        {5, KEY_DUP | KEY_DDOWN, 15}, {5, KEY_DDOWN | KEY_R, 105}, {50, KEY_DDOWN | KEY_R, 40},
        {5, KEY_DDOWN | KEY_L, 5}, {150, KEY_R | KEY_L, 250}, {INT32_MAX, KEY_DRIGHT, INT32_MAX},
        {5, KEY_B | KEY_X | KEY_Y | KEY_SELECT | KEY_ZL | KEY_ZR, 5},
    };
    for (s32 phase : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1}) {
        for (const Case& c : cases) {
            startPhase(phase);
            farm.inputValue = c.from;
            press(c.keys);
            EXPECT_EQ(farm.inputValue, isQuestionPhase(phase) ? c.to : c.from) << phase << ", " << c.keys;
        }
    }
}

TEST_F(Rules, AIsTheOnlyActionOfItsFrame) {
    farm.showIntro = 1;
    want = farm, want.showIntro = 0, want.gameState = Situation;
    pressAndExpect(KEY_A | KEY_DRIGHT, want);
    farm.inputValue = 9;
    want.gameState = SellMales; // the number starts at 0
    pressAndExpect(KEY_A | KEY_R, want);
}

TEST_F(Rules, EachAnswerRefusedJustPastTheLimitAndAcceptedAtIt) {
    // The farm before (adults of each side, cages a side, cash), the answer refused and
    // the one accepted, the farm after (adults, the males' cages, food bought, cash).
    struct Case { s32 phase; u16 males, females, cages; float cash; s32 refused, accepted;
                  u16 malesLeft, femalesLeft, maleCages; s32 food; float cashLeft; };
    const Case cases[] = {
        // 65535 x 1.1f = 72088.5 in single precision, + 0.3f = 72088.7969 (in double, 72088.8047)
        {SellMales, 65535, 6, 2, 0.3f, 65536, 65535, 0, 6, 2, 0, 72088.796875f},
        {SellFemales, 3, 6, 2, 0.5f, 7, 4, 3, 2, 2, 0, 4.9000001f}, // 4 x 1.1f = 4.4000001
        {Couplings, 3, 2, 2, 1.0f, 3, 2, 3, 2, 2, 0, 1.0f},  // no more than the females...
        {Couplings, 3, 9, 2, 1.0f, 4, 3, 3, 9, 2, 0, 1.0f},  // ...nor the males; nothing spent
        {BuyFood, 3, 2, 2, 5.0f, 51, 50, 3, 2, 2, 50, 0.0f}, // 50 x 0.1 = 5.0
        {BuyFood, 3, 2, 2, 0.3f, 4, 3, 3, 2, 2, 3, 1.19209291e-08f}, // 0.3f - 3 x 0.1 in double, not 0
        {BuyMaleCages, 3, 2, 1, 10.0f, 3, 2, 3, 2, 3, 0, 0.0f}, // with exactly the cash left
        // x 5 wraps to 4 in 32 bits: no cheap cages; 65535 + 2 wraps to 1 at 16 bits
        {BuyMaleCages, 3, 2, 65535, 12.0f, 858993460, 2, 3, 2, 1, 0, 2.0f},
        {BuyFemaleCages, 3, 2, 1, 2.0f, 1, 0, 0, 0, 0, 0, 0}, // accepting closes the month: below
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "phase " << c.phase << ", refused " << c.refused);
        farm.adultMales = c.males, farm.adultFemales = c.females, farm.maleCages = farm.femaleCages = c.cages;
        farm.cash = c.cash, farm.hamsterPrice = 1.1f, farm.foodStock = 6;
        startPhase(c.phase);
        refused(c.refused);
        if (c.phase == BuyFemaleCages) continue;
        accepted(c.accepted);
        want.adultMales = c.malesLeft, want.adultFemales = c.femalesLeft, want.maleCages = c.maleCages;
        want.foodStock += c.food, want.cash = c.cashLeft;
        check();
    }
}

TEST_F(Rules, MonthCloseGrowsUpFeedsAndDrawsAPrice) {
    farm.adultMales = 3, farm.youngMales = 2, farm.maleCages = 10, farm.malesToSell = 1, farm.femalesToSell = 2;
    farm.adultFemales = 4, farm.youngFemales = 1, farm.femaleCages = 11, farm.foodToBuy = 4, farm.maleCagesToBuy = 5;
    farm.foodStock = 1000, farm.deadOfHunger = 9, farm.deadSuffocated = 8, farm.month = 4;
    srand(2024);
    want = farm, want.hamsterPrice = priceOf(rand()); // the only draw without couplings
    want.adultMales = 5, want.youngMales = 0, want.adultFemales = 5, want.youngFemales = 0, want.foodStock = 990;
    want.malesPerCage = 0, want.femalesPerCage = 0, want.deadOfHunger = want.deadSuffocated = 0; // 5 / 10, 5 / 11
    want.month = 5, want.gameState = Situation;
    want.malesToSell = want.femalesToSell = want.foodToBuy = want.maleCagesToBuy = 0;
    int after = rand();
    srand(2024);
    farm.gameState = BuyFemaleCages, farm.showImpossible = 1, farm.inputValue = 3;
    pressAndExpect(KEY_A, want);
    EXPECT_EQ(rand(), after);
}

TEST_F(Rules, OvercrowdedCagesSuffocate) {
    // Adults and young before the close (the young grow up first), cages; adults after it.
    struct Side { u16 adults, young, cages, left; s32 perCage, dead; };
    const Side sides[] = {
        {21, 0, 1, 20, 20, 1},       {30, 11, 2, 41, 20, 0}, // 41 / 2 = 20: no loss
        {40, 3, 2, 41, 20, 2},       {3, 2, 0, 0, 0, 5},     // no cage: the whole side dies
        {100, 0, 7, 100, 14, 0},     {0, 0, 0, 0, 0, 0},     // no cage, nobody: quotient 0
        {65535, 0, 3120, 65519, 20, 16}, // 21 x 3120 - 1 survive
        {65535, 2, 9, 1, 0, 0},      // 65537 wraps to 1 at 16 bits
    };
    const int n = sizeof sides / sizeof sides[0];
    for (int i = 0; i < n; i++) {
        const Side& m = sides[i];
        const Side& f = sides[(i + 1) % n];
        farm.adultMales = m.adults, farm.youngMales = m.young, farm.maleCages = m.cages;
        farm.adultFemales = f.adults, farm.youngFemales = f.young, farm.femaleCages = f.cages;
        closeMonth();
        EXPECT_EQ(Values({farm.adultMales, farm.malesPerCage, farm.adultFemales, farm.femalesPerCage, farm.deadSuffocated}),
                  Values({m.left, m.perCage, f.left, f.perCage, m.dead + f.dead})) << i;
    }
}

TEST_F(Rules, TheYoungSuffocateFirst) {
    // 25 + the litter's males in one cage: 20 survive. The females: at most 18, no loss.
    farm.adultMales = 25, farm.maleCages = 1, farm.adultFemales = 1, farm.femaleCages = 1;
    farm.couplingsRequested = 1;
    srand(99);
    int size = rand() % 18 + 1, males = rand() % size + 1;
    srand(99);
    closeMonth();
    EXPECT_EQ(Values({farm.youngMales, farm.adultMales}), Values({0, 20}));
    EXPECT_EQ(farm.deadSuffocated, males + 5);
    EXPECT_EQ(farm.youngFemales, size - males);
}

// Those that find no food die, each picked by a draw (which ones the golden games show):
// 7 kg feed 7 hamsters, and with none left all 7 die.
TEST_F(Rules, HungerLeavesAsManyAsThereIsFood) {
    const s32 cases[][3] = {{1000, 7, 993}, {7, 7, 0}, {3, 3, 0}, {0, 0, 0}}; // food; alive and food after
    for (const auto& c : cases) {
        farm.adultMales = 3, farm.adultFemales = 2, farm.youngMales = 1, farm.youngFemales = 1, farm.foodStock = c[0];
        closeMonth();
        EXPECT_EQ(Values({farm.adultMales + farm.adultFemales, farm.youngMales + farm.youngFemales, farm.deadOfHunger,
                          farm.foodStock}), Values({c[1], 0, 7 - c[1], c[2]})) << c[0] << " kg";
    }
}

TEST_F(Rules, TheTwelfthMonthEndsTheGameWithItsValue) {
    struct Case { u16 males, females, maleCages, femaleCages; float cash, value; };
    const Case cases[] = {
        {3, 40, 20, 30, 100.25f, 193.25f},
        {0, 0, 20, 30, 100.25f, 152.25f}, // restocked: one young male and one young female
        // Left to right in single precision: 1 + 2 + 16777213 = 2^24, then each cage's 1
        // is lost to rounding (in double: 16777218).
        {1, 2, 1, 1, 16777213.0f, 16777216.0f},
    };
    for (const Case& c : cases) {
        farm.month = 12;
        farm.adultMales = c.males, farm.adultFemales = c.females, farm.youngMales = farm.youngFemales = 0;
        farm.maleCages = c.maleCages, farm.femaleCages = c.femaleCages, farm.cash = c.cash;
        closeMonth();
        EXPECT_EQ(Values({farm.gameState, farm.month}), Values({GameOver, 13}));
        EXPECT_EQ(farm.breedingValue, c.value) << c.value;
    }
    // A plays again: the starting farm, straight to the month screen; the refusal mark,
    // the number, the answers and the language are left as they are.
    srand(5);
    float price = priceOf(rand());
    srand(5);
    farm.showImpossible = 1, farm.inputValue = 17, farm.systemLanguage = 2;
    farm.malesToSell = 21, farm.femalesToSell = 22, farm.couplingsRequested = 23;
    farm.foodToBuy = 24, farm.maleCagesToBuy = 25, farm.femaleCagesToBuy = 26;
    want = FarmState{1, 0, 1, 17, KEY_A, 1, 0, 1, 1, 1, 0, 1, 1, 5, 5.0f, price, 1, 0, 0, 0.0f, 21, 22, 23, 24, 25, 26, 2};
    pressAndExpect(KEY_A, want);
}

} // namespace
