// Every screen, in both languages: the exact lines, where they stand and their colour.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "game/farm.h"
#include "gfx/render.h"
#include "screens/screens.h"
#include "support/framebuffer.h"
#include "support/test_console.h"

namespace {

struct Expected {
    std::string text;
    int x;
    int y;
    bool red;
};

const std::string kSeparator(50, '_');

class Screens : public ::testing::Test {
  protected:
    void SetUp() override {
        resetConsoleAndFarm();
        gfxInitDefault();
    }
    void TearDown() override { gfxExit(); }

    // The starting farm at the month screen, as the first month shows it.
    void startingFarm(u8 language) {
        farm.systemLanguage = language;
        farm.adultMales = farm.adultFemales = 1;
        farm.maleCages = farm.femaleCages = 1;
        farm.malesPerCage = farm.femalesPerCage = 1;
        farm.month = 1;
        farm.foodStock = 5;
        farm.cash = 5.0f;
        farm.hamsterPrice = 1.1f;
        farm.gameState = Situation;
    }

    // Draws the screen and compares it, byte for byte, with the expected lines alone.
    void expectScreen(const std::vector<Expected>& lines) {
        drawScreen();
        ASSERT_EQ(topFramebuffer, gfxGetFramebuffer(GFX_TOP, GFX_LEFT, nullptr, nullptr));
        std::vector<u8> reference(TOP_FRAMEBUFFER_BYTES, 0);
        for (const Expected& line : lines) {
            u8 gb = line.red ? 0 : 255;
            drawText(line.text.c_str(), line.x, line.y, 255, gb, gb, reference.data(), 0);
            EXPECT_EQ(readText(topFramebuffer, line.x, line.y, (int)line.text.size()).substr(0, 50),
                      line.text.substr(0, 50))
                << "at " << line.x << "," << line.y;
        }
        EXPECT_EQ(memcmp(reference.data(), topFramebuffer, TOP_FRAMEBUFFER_BYTES), 0)
            << "the screen holds something else than the expected lines";
    }

    std::vector<Expected> frenchSituation() {
        return {
            {"SITUATION DU MOIS No 1", 108, 1, true},
            {"MALES", 48, 30, false},
            {"FEMELLES", 256, 30, false},
            {"ADULTES : 1", 48, 50, false},
            {"ADULTES : 1", 256, 50, false},
            {"PETITS  : 0", 48, 60, false},
            {"PETITES : 0", 256, 60, false},
            {"CAGES   : 1", 48, 70, false},
            {"CAGES : 1", 272, 70, false},
            {"NB PAR CAGE : 1", 16, 80, false},
            {"NB PAR CAGE : 1", 224, 80, false},
            {"NOURRITURE RESTANTE : 5 KG", 1, 100, false},
            {"PRIX DU HAMSTER CE MOIS : 1.10 $", 1, 110, false},
            {"EN CAISSE : 5.00 $", 1, 120, false},
            {"MORTS DE FAIM : 0", 1, 140, false},
            {"MORTS ETOUFFES : 0", 1, 150, false},
            {"** APPUIES SUR A POUR CONTINUER...", 1, 231, false},
        };
    }

    std::vector<Expected> englishSituation() {
        return {
            {"SITUATION OF THE MONTH No 1", 88, 1, true},
            {"MALES", 48, 30, false},
            {"FEMALES", 256, 30, false},
            {"ADULTS  : 1", 48, 50, false},
            {"ADULTS : 1", 264, 50, false},
            {"YOUNGS  : 0", 48, 60, false},
            {"YOUNGS : 0", 264, 60, false},
            {"CAGES   : 1", 48, 70, false},
            {"CAGES : 1", 272, 70, false},
            {"NB PER CAGE : 1", 16, 80, false},
            {"NB PER CAGE : 1", 224, 80, false},
            {"REMAINING FOOD : 5 KG", 1, 100, false},
            {"PRICE OF HAMSTER THIS MONTH : 1.10 $", 1, 110, false},
            {"CHECKOUT : 5.00 $", 1, 120, false},
            {"DEAD HUNGRY : 0", 1, 140, false},
            {"DEAD SUFFOCATED : 0", 1, 150, false},
            {"** PRESS A TO CONTINUE...", 1, 231, false},
        };
    }
};

TEST_F(Screens, RulesInFrench) {
    farm.systemLanguage = CFG_LANGUAGE_FR;
    farm.showIntro = 1;
    expectScreen({
        {"***** QUORVANDELLE *****", 104, 1, true},
        {"LE BUT DU JEU EST DE GERER UN ELEVAGE DE HAMSTERS", 1, 30, false},
        {"PENDANT 12 MOIS EN FAISANT DES BENEFICES.", 1, 40, false},
        {"ON NE PEUT VENDRE OU ACCOUPLER QUE DES ADULTES.", 1, 60, false},
        {"LES PETITS DEVIENNENT ADULTES EN 1 MOIS.", 1, 80, false},
        {"CHAQUE ACCOUPLEMENT PEUT DONNER UN MAXIMUM DE 18", 1, 100, false},
        {"PETITS.", 1, 110, false},
        {"** APPUIES SUR A POUR CONTINUER...", 1, 231, false},
    });
}

TEST_F(Screens, RulesInEnglishWhateverThePhase) {
    std::vector<Expected> rules = {
        {"***** QUORVANDELLE *****", 104, 1, true},
        {"THE PURPOSE OF THE GAME IS TO MANAGE BREEDING", 1, 30, false},
        {"HAMSTERS 12 MONTHS BY MAKING PROFITS.", 1, 40, false},
        {"YOU CAN SELL OR COUPLE ONLY THE ADULTS.", 1, 60, false},
        {"YOUNG BECOME ADULTS 1 MONTH.", 1, 80, false},
        {"EACH COUPLING CAN GIVE A MAXIMUM OF 18 YOUNG.", 1, 100, false},
        {"** PRESS A TO CONTINUE...", 1, 231, false},
    };
    farm.showIntro = 1;
    for (s32 phase : {0, 4, 8, -3}) {
        farm.gameState = phase;
        farm.showImpossible = 1;
        expectScreen(rules);
    }
}

TEST_F(Screens, OnlyCodeTwoIsFrench) {
    farm.showIntro = 1;
    for (int code : {0, 1, 3, 11, 255}) {
        farm.systemLanguage = (u8)code;
        drawScreen();
        EXPECT_EQ(readText(topFramebuffer, 1, 231, 25), "** PRESS A TO CONTINUE...") << code;
    }
}

TEST_F(Screens, FirstMonthInFrench) {
    startingFarm(CFG_LANGUAGE_FR);
    expectScreen(frenchSituation());
}

TEST_F(Screens, FirstMonthInEnglish) {
    startingFarm(CFG_LANGUAGE_EN);
    expectScreen(englishSituation());
}

TEST_F(Screens, QuestionsAskedSoFarShowTheirAnswers) {
    startingFarm(CFG_LANGUAGE_FR);
    farm.gameState = Couplings;
    farm.malesToSell = 1;
    farm.femalesToSell = 0;
    farm.couplingsRequested = 12;
    farm.foodToBuy = 99; // not asked yet: not shown
    std::vector<Expected> lines = frenchSituation();
    lines.push_back({kSeparator, 0, 160, true});
    lines.push_back({"MALES A VENDRE ? 1", 1, 170, false});
    lines.push_back({"FEMELLES A VENDRE ? 0", 1, 180, false});
    lines.push_back({"NOMBRE D'ACCOUPLEMENT ? 12", 1, 190, false});
    expectScreen(lines);
}

TEST_F(Screens, LastQuestionWithRefusalInEnglish) {
    startingFarm(CFG_LANGUAGE_EN);
    farm.gameState = BuyFemaleCages;
    farm.malesToSell = 1;
    farm.femalesToSell = 2;
    farm.couplingsRequested = 3;
    farm.foodToBuy = 40;
    farm.maleCagesToBuy = 5;
    farm.femaleCagesToBuy = 6;
    farm.showImpossible = 1;
    std::vector<Expected> lines = englishSituation();
    lines.push_back({kSeparator, 0, 160, true});
    lines.push_back({"MALES FOR SALE ? 1", 1, 170, false});
    lines.push_back({"FEMALES FOR SALE ? 2", 1, 180, false});
    lines.push_back({"NUMBER COUPLING ? 3", 1, 190, false});
    lines.push_back({"FOOD TO BUY ? 40", 1, 200, false});
    lines.push_back({"PURCHASE CAGES FOR MALES ? 5", 1, 210, false});
    lines.push_back({"PURCHASE CAGES FOR FEMALES ? 6", 1, 220, false});
    lines.push_back({"IMPOSSIBLE", 320, 220, false});
    expectScreen(lines);
}

TEST_F(Screens, RefusalMarkStandsOnTheCurrentQuestion) {
    startingFarm(CFG_LANGUAGE_FR);
    farm.gameState = BuyFood;
    farm.showImpossible = 1;
    drawScreen();
    EXPECT_EQ(readText(topFramebuffer, 320, 200, 10), "IMPOSSIBLE");
    EXPECT_EQ(readText(topFramebuffer, 1, 200, 25), "NOURRITURE A ACHETER ? 0 ");
}

TEST_F(Screens, NumbersOfEveryWidth) {
    startingFarm(CFG_LANGUAGE_EN);
    farm.adultMales = 65535;
    farm.month = 12;
    farm.foodStock = -2147483647 - 1;
    farm.cash = 1234.5f;
    farm.hamsterPrice = 1.0f;
    drawScreen();
    EXPECT_EQ(readText(topFramebuffer, 88, 1, 29), "SITUATION OF THE MONTH No 12 ");
    EXPECT_EQ(readText(topFramebuffer, 48, 50, 13), "ADULTS  : 655");
    EXPECT_EQ(readText(topFramebuffer, 1, 100, 33), "REMAINING FOOD : -2147483648 KG  ");
    EXPECT_EQ(readText(topFramebuffer, 1, 110, 36), "PRICE OF HAMSTER THIS MONTH : 1.00 $");
    EXPECT_EQ(readText(topFramebuffer, 1, 120, 20), "CHECKOUT : 1234.50 $");
}

TEST_F(Screens, AHugeValueContinuesOnTheNextRow) {
    startingFarm(CFG_LANGUAGE_FR);
    farm.cash = 3.4e38f;
    drawScreen();
    char formatted[100];
    snprintf(formatted, sizeof formatted, "EN CAISSE : %.2f $", (double)farm.cash);
    std::string line = formatted;
    ASSERT_GT(line.size(), 49u);
    EXPECT_EQ(readText(topFramebuffer, 1, 120, 49), line.substr(0, 49));
    EXPECT_EQ(readText(topFramebuffer, 1, 128, (int)line.size() - 49), line.substr(49));
}

TEST_F(Screens, NoScreenOutsideThePhases) {
    for (s32 phase : {0, 9, -1}) {
        farm.gameState = phase;
        farm.showImpossible = 1;
        expectScreen({});
    }
}

TEST_F(Screens, EndOfGameInFrench) {
    farm.systemLanguage = CFG_LANGUAGE_FR;
    farm.gameState = GameOver;
    farm.adultMales = 40000;
    farm.adultFemales = 40000;
    farm.youngMales = 3;
    farm.youngFemales = 4;
    farm.maleCages = 65535;
    farm.femaleCages = 2;
    farm.foodStock = 12;
    farm.breedingValue = 1234.5f;
    expectScreen({
        {"...........FIN DU JEU...........", 72, 1, true},
        {"EXCELLENT, VOUS ETES UN CHAMPION DE L'ELEVAGE.", 1, 40, false},
        {"VOUS AVEZ AU BOUT DE CES 12 MOIS :", 1, 60, false},
        {"80000 ADULTES", 16, 80, false},
        {"7 PETITS", 16, 90, false},
        {"65537 CAGES", 16, 100, false},
        {"12 KG DE NOURRITURE", 16, 110, false},
        {"LA VALEUR DE VOTRE ELEVAGE EST DE 1234.50 $", 1, 130, false},
        {"** APPUIES SUR A POUR RECOMMENCER...", 1, 231, false},
    });
}

TEST_F(Screens, EndOfGameInEnglish) {
    farm.systemLanguage = CFG_LANGUAGE_EN;
    farm.gameState = GameOver;
    farm.breedingValue = 150.0f;
    expectScreen({
        {"...........END OF GAME...........", 68, 1, true},
        {"OOPS !, YOUR BREEDING METHOD IS FAILING.", 1, 40, false},
        {"YOU HAVE AFTER THESE 12 MONTHS :", 1, 60, false},
        {"0 ADULTS", 16, 80, false},
        {"0 YOUNGS", 16, 90, false},
        {"0 CAGES", 16, 100, false},
        {"0 KG OF FOOD", 16, 110, false},
        {"THE VALUE OF YOUR BREEDING IS 150.00 $", 1, 130, false},
        {"** PRESS A TO PLAY AGAIN...", 1, 231, false},
    });
}

TEST_F(Screens, GradeBoundsBelongToTheLowerGrade) {
    struct Case {
        float value;
        const char* english;
    };
    const Case cases[] = {
        {-5.0f, "OOPS !"},   {0.0f, "OOPS !"},      {150.0f, "OOPS !"},
        {150.01f, "WELL D"}, {500.0f, "WELL D"},    {500.01f, "GREAT "},
        {1e9f, "GREAT "},
    };
    farm.gameState = GameOver;
    for (const Case& c : cases) {
        farm.breedingValue = c.value;
        drawScreen();
        EXPECT_EQ(readText(topFramebuffer, 1, 40, 6), c.english) << c.value;
    }
}

TEST_F(Screens, EachFrameStartsFromBlack) {
    farm.showIntro = 1;
    drawScreen();
    farm.showIntro = 0;
    farm.gameState = 0;
    expectScreen({}); // nothing of the rules survives
}

} // namespace
