// The month close counts suffocation in one step and keeps hunger's counts aside while
// it draws; both must leave exactly what the rules' one-death-at-a-time loops leave,
// with the same draws in the same order.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <vector>

#include "support/test_console.h"

namespace {

// The rules' suffocation of one side, one death at a time.
s32 suffocateOneByOne(u16* adults, u16* young, u16 cages, s32* deaths) {
    auto quotient = [&]() -> s32 {
        s32 hamsters = (s32)*adults + (s32)*young;
        if (cages == 0) return hamsters > 0 ? 21 : 0;
        return hamsters / (s32)cages;
    };
    s32 q = quotient();
    while (q > 20) {
        if (*young != 0) {
            *young = (u16)(*young - 1);
        } else {
            *adults = (u16)(*adults - 1);
        }
        (*deaths)++;
        q = quotient();
    }
    return q;
}

// The rules' hunger: one draw per attempted death.
void starveOneByOne(u16 counts[4], s32* food, s32* deadOfHunger) {
    s32 total = counts[0] + counts[1] + counts[2] + counts[3];
    if (total < *food) {
        *food -= total;
        return;
    }
    *deadOfHunger = total - *food;
    while (counts[0] + counts[1] + counts[2] + counts[3] > *food) {
        int k = rand() % 4;
        if (counts[k] != 0) counts[k]--;
    }
    *food = 0;
}

// Closes the month from phase 7 with nothing to pay; no couplings, so the young the
// close sees are none and the adults are the sums given.
void closeWith(u16 males, u16 maleCages, u16 females, u16 femaleCages, s32 food) {
    resetConsoleAndFarm();
    farm.adultMales = males;
    farm.maleCages = maleCages;
    farm.adultFemales = females;
    farm.femaleCages = femaleCages;
    farm.foodStock = food;
    farm.cash = 5.0f;
    farm.month = 1;
    startPhase(BuyFemaleCages);
    farm.femaleCagesToBuy = 0;
    press(KEY_A);
}

TEST(MonthCloseLoops, SuffocationMatchesOneDeathAtATime) {
    std::vector<u16> counts = {0, 1, 19, 20, 21, 22, 40, 41, 42, 62, 63, 64, 419, 420, 421,
                               1000, 20999, 21000, 32767, 65514, 65515, 65534, 65535};
    std::vector<u16> cages = {0, 1, 2, 3, 7, 20, 21, 999, 1000, 1001, 3121, 3122, 65535};
    for (u16 hamsters : counts) {
        for (u16 cageCount : cages) {
            u16 adults = hamsters;
            u16 young = hamsters == 0 ? 1 : 0; // an empty farm restocks a young pair
            s32 deaths = 0;
            s32 quotient = suffocateOneByOne(&adults, &young, cageCount, &deaths);
            // The same side on both: deaths add up over the two sides.
            closeWith(hamsters, cageCount, hamsters, cageCount, 1 << 30);
            ASSERT_EQ(farm.adultMales, adults) << hamsters << " in " << cageCount;
            ASSERT_EQ(farm.adultFemales, adults) << hamsters << " in " << cageCount;
            ASSERT_EQ(farm.youngMales, young) << hamsters << " in " << cageCount;
            ASSERT_EQ(farm.youngFemales, young) << hamsters << " in " << cageCount;
            ASSERT_EQ(farm.malesPerCage, quotient) << hamsters << " in " << cageCount;
            ASSERT_EQ(farm.femalesPerCage, quotient) << hamsters << " in " << cageCount;
            ASSERT_EQ(farm.deadSuffocated, 2 * deaths) << hamsters << " in " << cageCount;
        }
    }
}

// Litters bring young into the close, which die before the adults: the young count,
// the adults and the deaths must all match, whether the young are enough or not.
TEST(MonthCloseLoops, SuffocationTakesTheYoungFirstAsTheLoopDoes) {
    for (u16 cageCount : {(u16)0, (u16)1, (u16)2, (u16)5, (u16)30}) {
        for (s32 couplings : {1, 5, 40, 300}) {
            for (unsigned seed : {1u, 77u}) {
                // The litters as the close will draw them.
                srand(seed);
                u16 youngMales = 0;
                u16 youngFemales = 0;
                for (s32 i = 0; i < couplings; i++) {
                    int size = rand() % 18 + 1;
                    int males = rand() % size + 1;
                    youngMales = (u16)(youngMales + males);
                    youngFemales = (u16)(youngFemales + (size - males));
                }
                u16 males = 400;
                u16 females = 400;
                s32 deaths = 0;
                s32 maleQuotient = suffocateOneByOne(&males, &youngMales, cageCount, &deaths);
                s32 femaleQuotient =
                    suffocateOneByOne(&females, &youngFemales, cageCount, &deaths);

                resetConsoleAndFarm();
                farm.adultMales = 400;
                farm.adultFemales = 400;
                farm.maleCages = cageCount;
                farm.femaleCages = cageCount;
                farm.foodStock = 1 << 30;
                farm.cash = 5.0f;
                farm.month = 1;
                startPhase(BuyFemaleCages);
                farm.couplingsRequested = couplings;
                srand(seed);
                press(KEY_A);
                SCOPED_TRACE(::testing::Message() << couplings << " couplings, " << cageCount
                                                  << " cages, seed " << seed);
                EXPECT_EQ(farm.adultMales, males);
                EXPECT_EQ(farm.youngMales, youngMales);
                EXPECT_EQ(farm.adultFemales, females);
                EXPECT_EQ(farm.youngFemales, youngFemales);
                EXPECT_EQ(farm.malesPerCage, maleQuotient);
                EXPECT_EQ(farm.femalesPerCage, femaleQuotient);
                EXPECT_EQ(farm.deadSuffocated, deaths);
            }
        }
    }
}

struct HungerCase {
    u16 adultMales, adultFemales;
    s32 food;
};

// Enough cages that nobody suffocates; the adults are all there is. The draws used
// must be the same in number: the price and the next draw after the close tell.
TEST(MonthCloseLoops, HungerMatchesOneDrawPerAttempt) {
    const HungerCase cases[] = {
        {0, 0, 0},          {1, 0, 0},         {0, 1, 0},       {5, 5, 9},
        {5, 5, 10},         {5, 5, 11},        {300, 0, 0},     {0, 300, 17},
        {1000, 1, 500},     {65535, 65535, 0}, {65535, 0, 100}, {1234, 4321, 2000},
        {65535, 65535, 131069}, {65535, 65535, 131070},
    };
    for (const HungerCase& c : cases) {
        for (unsigned seed : {3u, 1000u}) {
            SCOPED_TRACE(::testing::Message() << c.adultMales << " males, " << c.adultFemales
                                              << " females, " << c.food << " kg, seed " << seed);
            srand(seed);
            u16 counts[4] = {c.adultMales, c.adultFemales, 0, 0};
            if (c.adultMales == 0 && c.adultFemales == 0) counts[2] = counts[3] = 1; // restocked
            s32 food = c.food;
            s32 dead = 0;
            starveOneByOne(counts, &food, &dead);
            float price = rand() % 2 ? 1.1f : 1.0f;
            int after = rand();

            srand(seed);
            closeWith(c.adultMales, 65535, c.adultFemales, 65535, c.food);
            EXPECT_EQ(farm.adultMales, counts[0]);
            EXPECT_EQ(farm.adultFemales, counts[1]);
            EXPECT_EQ(farm.youngMales, counts[2]);
            EXPECT_EQ(farm.youngFemales, counts[3]);
            EXPECT_EQ(farm.foodStock, food);
            EXPECT_EQ(farm.deadOfHunger, dead);
            EXPECT_EQ(farm.hamsterPrice, price);
            EXPECT_EQ(rand(), after);
        }
    }
}

// With all four counts at work, including young from litters.
TEST(MonthCloseLoops, HungerWithYoungMatchesTheLoop) {
    for (unsigned seed : {11u, 12u, 13u}) {
        for (s32 food : {0, 50, 400}) {
            srand(seed);
            u16 counts[4] = {200, 150, 0, 0};
            for (int i = 0; i < 30; i++) {
                int size = rand() % 18 + 1;
                int males = rand() % size + 1;
                counts[2] = (u16)(counts[2] + males);
                counts[3] = (u16)(counts[3] + (size - males));
            }
            s32 left = food;
            s32 dead = 0;
            starveOneByOne(counts, &left, &dead);
            int after = rand();
            after = rand(); // the price, then the next

            resetConsoleAndFarm();
            farm.adultMales = 200;
            farm.adultFemales = 150;
            farm.maleCages = 1000;
            farm.femaleCages = 1000;
            farm.foodStock = food;
            farm.cash = 5.0f;
            farm.month = 1;
            startPhase(BuyFemaleCages);
            farm.couplingsRequested = 30;
            srand(seed);
            press(KEY_A);
            SCOPED_TRACE(::testing::Message() << "seed " << seed << ", " << food << " kg");
            EXPECT_EQ(farm.adultMales, counts[0]);
            EXPECT_EQ(farm.adultFemales, counts[1]);
            EXPECT_EQ(farm.youngMales, counts[2]);
            EXPECT_EQ(farm.youngFemales, counts[3]);
            EXPECT_EQ(farm.foodStock, left);
            EXPECT_EQ(farm.deadOfHunger, dead);
            EXPECT_EQ(rand(), after);
        }
    }
}

} // namespace
