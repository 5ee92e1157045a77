// The most each question allows, as the farm judges it, and the advice beside the screen,
// against farms and lines worked out by hand (the arithmetic in the comments).
#include <gtest/gtest.h>
#include <float.h>
#include <stdint.h>

#include "frontend/advice.h"
#include "frontend/controls.h"
#include "game/limits.h"
#include "support/test_console.h"

namespace {

// The largest answer the farm takes is the one mostAccepted finds: the farm accepts it
// and refuses one more.
TEST(Limits, TheMostAcceptedAndOneMoreRefused) {
    struct Case { s32 phase; u16 males, females; float cash; s32 most; };
    const Case cases[] = {
        {SellMales, 12, 7, 2.0f, 12},
        {SellFemales, 12, 7, 2.0f, 7},
        {SellMales, 65535, 3, 0.0f, 65535},
        {Couplings, 4, 9, 0.5f, 4},  // the males...
        {Couplings, 9, 5, 0.5f, 5},  // ...or the females
        {Couplings, 0, 9, 0.5f, 0},
        {BuyFood, 3, 2, 3.8f, 37},   // 38 x 0.1 = 3.8000000000000003 > 3.7999999523162842
        {BuyFood, 3, 2, 5.0f, 50},   // 50 x 0.1 = 5.0 exactly; 51 x 0.1 = 5.1000000000000005
        {BuyFood, 3, 2, 0.0f, 0},
        {BuyFood, 3, 2, -1.0f, -1},  // a debt pays for nothing, not even 0 kg
        {BuyFood, 3, 2, FLT_MAX, INT32_MAX},
        {BuyMaleCages, 3, 2, 9.99f, 1},
        {BuyMaleCages, 3, 2, 10.0f, 2},
        {BuyFemaleCages, 3, 2, 15.0f, 3},
        // Singles are 1024 apart at 1e10: 5 x 2000000102 = 10000000510 rounds down to 1e10,
        // 5 x 2000000103 = 10000000515 past the half-way 1e10 + 512, up.
        {BuyFemaleCages, 3, 2, 1e10f, 2000000102},
    };
    s32* answers[] = {&farm.malesToSell, &farm.femalesToSell, &farm.couplingsRequested,
                      &farm.foodToBuy, &farm.maleCagesToBuy, &farm.femaleCagesToBuy};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "phase " << c.phase << ", most " << c.most);
        EXPECT_EQ(mostAccepted(c.phase, c.males, c.females, c.cash), c.most);
        for (s64 answer : {(s64)c.most + 1, (s64)c.most}) {
            if (answer < 0 || answer > INT32_MAX) continue;
            resetConsoleAndFarm();
            farm.adultMales = c.males, farm.adultFemales = c.females, farm.cash = c.cash, farm.month = 1;
            startPhase(c.phase);
            *answers[c.phase - SellMales] = farm.inputValue = (s32)answer;
            press(KEY_A);
            bool refused = farm.showImpossible && farm.gameState == c.phase;
            EXPECT_EQ(refused, answer > c.most) << answer;
        }
    }
    const s32 rooms[][2] = {{0, 0}, {1, 20}, {2, 41}, {65535, 1376234}}; // 21 x cages - 1
    for (const auto& room : rooms) EXPECT_EQ(roomInCages((u16)room[0]), room[1]) << room[0];
}

TEST(Advice, SaysTheQuestionsCostTheMostAndWhatTheCloseWillAsk) {
    struct Case { s32 phase; u8 language, refused; u16 males, youngMales, maleCages, females, youngFemales, femaleCages;
                  s32 food; float cash, price; s32 couplings; std::vector<std::string> lines; };
    const Case cases[] = {
        {SellMales, CFG_LANGUAGE_EN, 0, 12, 3, 1, 7, 2, 4, 20, 2.5f, 1.1f, 0,
         {"A male sells for 1.10 $ this month.", "At most 12 adult males."}},
        {SellFemales, CFG_LANGUAGE_FR, 1, 12, 3, 1, 7, 2, 4, 20, 2.5f, 1.0f, 0,
         {"Une femelle se vend 1.00 $ ce mois-ci.", "Refusé : au plus 7 femelles adultes."}},
        {SellMales, CFG_LANGUAGE_FR, 0, 1, 0, 2, 3, 4, 1, 5, 1.5f, 1.1f, 0,
         {"Un mâle se vend 1.10 $ ce mois-ci.", "Au plus 1 mâle adulte."}},
        {Couplings, CFG_LANGUAGE_EN, 1, 4, 1, 2, 9, 3, 1, 30, 6.0f, 1.0f, 5,
         {"A coupling gives 1 to 18 young.", "It needs an adult male and an adult female.", "Refused: at most 4 couplings."}},
        // 7 males and 7 females with 3 couplings: males 7 + 3 to 7 + 3 x 18, females 7 to
        // 7 + 3 x 17, in all 17 to 14 + 3 x 18 = 68. Cages: 3 x 21 - 1 = 62, and none.
        {BuyFood, CFG_LANGUAGE_EN, 1, 5, 2, 3, 6, 1, 0, 20, 3.8f, 1.1f, 3,
         {"Food costs 0.10 $ a kg.", "Refused: the cash buys at most 37 kg.", "At the close, 17 to 68 hamsters eat.",
          "Food in stock: 20 kg.", "Males: 10 to 61; room for 62.", "Females: 7 to 58; room for 0."}},
        // An empty farm receives a young male and a young female.
        {BuyMaleCages, CFG_LANGUAGE_FR, 0, 0, 0, 2, 0, 0, 1, 0, 4.5f, 1.0f, 0,
         {"Une cage pour les mâles coûte 5 $.", "L'argent paie au plus 0 cage.", "À la clôture mangent 2 hamsters.",
          "Nourriture en stock : 0 kg.", "Mâles : 1 ; 41 places.", "Femelles : 1 ; 20 places."}},
        {BuyFood, CFG_LANGUAGE_EN, 0, 1, 0, 1, 0, 0, 3, 4, -1.0f, 1.1f, 0,
         {"Food costs 0.10 $ a kg.", "The cash buys nothing.", "At the close, 1 hamster eats.", "Food in stock: 4 kg.",
          "Males: 1; room for 20.", "Females: 0; room for 62."}},
        // 3 males and 6 females, no coupling: nothing is left to chance. 4 cages: 83.
        {BuyMaleCages, CFG_LANGUAGE_EN, 0, 3, 0, 1, 2, 4, 4, 8, 9.99f, 1.1f, 0,
         {"A cage for the males costs 5 $.", "The cash buys at most 1 cage.", "At the close, 9 hamsters eat.",
          "Food in stock: 8 kg.", "Males: 3; room for 20.", "Females: 6; room for 83."}},
        // 3 males and 1 female, 1 coupling: males 4 to 21, females 1 to 18, in all 5 to 22.
        {BuyFemaleCages, CFG_LANGUAGE_FR, 1, 2, 1, 5, 1, 0, 0, 11, 10.0f, 1.0f, 1,
         {"Une cage pour les femelles coûte 5 $.", "Refusé : l'argent paie au plus 2 cages.",
          "À la clôture mangent 5 à 22 hamsters.", "Nourriture en stock : 11 kg.", "Mâles : 4 à 21 ; 104 places.",
          "Femelles : 1 à 18 ; 0 place."}},
        {Situation, CFG_LANGUAGE_EN, 0, 3, 0, 1, 2, 4, 4, 8, 9.99f, 1.1f, 0, {}},
        {GameOver, CFG_LANGUAGE_FR, 0, 3, 0, 1, 2, 4, 4, 8, 9.99f, 1.1f, 0, {}},
    };
    for (const Case& c : cases) {
        FarmState f{};
        f.gameState = c.phase, f.systemLanguage = c.language, f.showImpossible = c.refused;
        f.adultMales = c.males, f.youngMales = c.youngMales, f.maleCages = c.maleCages;
        f.adultFemales = c.females, f.youngFemales = c.youngFemales, f.femaleCages = c.femaleCages;
        f.foodStock = c.food, f.cash = c.cash, f.hamsterPrice = c.price, f.couplingsRequested = c.couplings;
        EXPECT_EQ(adviceLines(f), c.lines) << "phase " << c.phase;
        f.showIntro = 1; // the rules' screen hides the question
        EXPECT_EQ(adviceLines(f), std::vector<std::string>{});
    }
    // The widest farm a year can reach still fits the strip beside the screen.
    FarmState wide{0, 0, 0, 0, 0, 65535, 65535, 65535, 0, 65535, 65535, 65535, 0, INT32_MIN, FLT_MAX, 1.1f, 12,
                   0, 0, 0, 0, 0, 65535, 0, 0, 0, 0};
    for (u8 language : {CFG_LANGUAGE_EN, CFG_LANGUAGE_FR}) {
        for (s32 phase = SellMales; phase <= BuyFemaleCages; phase++) {
            wide.gameState = phase, wide.systemLanguage = language, wide.showImpossible = 1;
            std::vector<std::string> lines = adviceLines(wide);
            EXPECT_LE(lines.size(), kAdviceLines) << phase;
            for (const std::string& line : lines) EXPECT_LE(inGameFont(line.c_str()).size(), kAdviceWidth) << line;
        }
    }
}

} // namespace
