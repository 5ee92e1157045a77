// Every screen in both languages, drawn from farms whose fields all differ, against
// golden pictures a person has read line by line (tests/golden/screens/): a line that
// printed another field's value, or stood elsewhere, or in another colour, would show.
// The lines they give out as text, frame by frame of a year, against what is presented.
#include <gtest/gtest.h>
#include <float.h>
#include <string.h>

#include "frontend/controls.h"
#include "frontend/files.h"
#include "frontend/howto.h"
#include "game/rules.h"
#include "gfx/render.h"
#include "frontend/outputs.h"
#include "frontend/replay.h"
#include "screens/screens.h"
#include "support/test_console.h"

namespace {

// Eight farms, two screens a row. In the record's order: phase, rules, refused, number,
// keys; the males' adults, young, cages and count per cage, then the females'; food,
// cash, price, month, dead of hunger, suffocated, final value; the six answers; language.
const FarmState kScenes[] = {
    {GameOver, 1, 1, 0, 0, 12, 56, 9, 7, 34, 78, 10, 11, 123, 45.67f, 1.1f, 3, 13, 14, 0, 21, 22, 23, 24, 25, 26, 0},
    {Situation, 0, 0, 0, 0, 12, 56, 9, 7, 34, 78, 10, 11, 123, 45.67f, 1.1f, 3, 13, 14, 0, 21, 22, 23, 24, 25, 26, 0},
    {Couplings, 0, 1, 0, 0, 12, 56, 9, 7, 34, 78, 10, 11, 123, 45.67f, 1.1f, 3, 13, 14, 0, 21, 22, 23, 24, 25, 26, 0},
    {BuyFemaleCages, 0, 1, 0, 0, 65535, 54321, 43210, INT32_MAX, 61234, 52345, 33456, INT32_MIN, -1234567890,
     FLT_MAX, 1.0f, 255, 1111111111, 2000000002, 0, 2147483646, 987654321, 1000000001, 999999999, 88888, 2147483645, 0},
    // The end, each grade: its bounds belong to the lower one. Sums 7, 90 and 900...
    {GameOver, 0, 0, 0, 0, 3, 30, 300, 0, 4, 60, 600, 0, 4324, 0, 0, 0, 0, 0, 150.0f, 0, 0, 0, 0, 0, 0, 0},
    {GameOver, 0, 0, 0, 0, 5, 50, 500, 0, 6, 100, 1000, 0, 4326, 0, 0, 0, 0, 0, 500.0f, 0, 0, 0, 0, 0, 0, 0},
    {GameOver, 0, 0, 0, 0, 7, 70, 700, 0, 8, 140, 1400, 0, 4328, 0, 0, 0, 0, 0, 500.01f, 0, 0, 0, 0, 0, 0, 0},
    // ...and past 16 bits, with the widest value.
    {GameOver, 0, 0, 0, 0, 40000, 65535, 65533, 0, 40001, 65534, 4, 0, INT32_MIN, 0, 0, 0, 0, 0, -FLT_MAX, 0, 0, 0, 0, 0, 0, 0},
};

class Screens : public ::testing::Test {
  protected:
    void SetUp() override { resetConsoleAndFarm(), gfxInitDefault(); }
    std::vector<u8> draw() {
        drawScreen();
        return std::vector<u8>(topFramebuffer, topFramebuffer + TOP_FRAMEBUFFER_BYTES);
    }
};

TEST_F(Screens, EveryScreenInBothLanguagesAsTheGoldenPictures) {
    for (const char* language : {"fr", "en"}) {
        std::string name = std::string("screens-") + language + ".png";
        std::vector<u8> sheet(800 * 960 * 3), one(400 * 480 * 3);
        for (int i = 0; i < 8; i++) {
            farm = kScenes[i];
            farm.systemLanguage = *parseLanguage(language);
            drawScreen();
            composeScreenshotInto(topFramebuffer, nullptr, one.data());
            for (int row = 0; row < 240; row++) {
                memcpy(&sheet[3 * ((i / 2 * 240 + row) * 800 + i % 2 * 400)], &one[3 * 400 * row], 3 * 400);
            }
        }
        if (loadPng(goldenPath("screens/" + name)) != sheet) {
            std::string error;
            writeFileWhole(name, encodePng(sheet, 800, 960), &error);
            ADD_FAILURE() << name << " differs from its golden picture; this build's is in the test's folder";
        }
    }
}

TEST_F(Screens, OnlyLanguageCodeTwoIsFrench) {
    farm.showIntro = 1;
    std::vector<u8> english = draw(); // language 0
    for (int code : {1, 3, 11, 255}) {
        farm.systemLanguage = (u8)code;
        EXPECT_EQ(draw(), english) << code;
    }
    farm.systemLanguage = CFG_LANGUAGE_FR;
    EXPECT_NE(draw(), english);
}

// What the screens give out as text is what they draw: a calm year played through the
// game's own loop, in each language, where every presented upper screen must be the lines
// given out as that frame was about to be drawn, drawn again here. Each line has text and
// stands wholly on the screen, on its own row.
TEST(ScreenLines, AreWhatEveryFrameOfAYearDraws) {
    struct LinesBesideFrames : ScriptedButtons {
        std::vector<u8> fromLines = std::vector<u8>(TOP_FRAMEBUFFER_BYTES);
        int framesShown = 0, differing = 0;
        bool keepRunning() override {
            if (!ScriptedButtons::keepRunning()) return false;
            clearScreen(fromLines.data(), 0);
            ScreenLine line;
            for (int i = 0; screenLine(i, &line); i++) {
                int length = (int)strnlen(line.text, sizeof line.text);
                bool within = line.x >= 0 && line.x + 8 * length <= TOP_COLUMNS && line.y >= 1 &&
                              line.y + 6 < SCREEN_ROWS;
                EXPECT_TRUE(length > 0 && length < (int)sizeof line.text && within)
                    << "frame " << next - 1 << " line " << i << " at " << line.x << "," << line.y;
                drawText(line.text, line.x, line.y, line.red, line.green, line.blue, fromLines.data(), 0);
            }
            return true;
        }
        void presented(const u8* top, const u8*) override {
            if (memcmp(top, fromLines.data(), TOP_FRAMEBUFFER_BYTES) != 0 && differing++ == 0) {
                ADD_FAILURE() << "frame " << framesShown << " is not its lines";
            }
            framesShown++;
        }
    };
    ReplayScript script;
    std::string error;
    std::string text = fileText(goldenPath("../e2e/calm_farm.txt"));
    ASSERT_TRUE(parseReplayScript(text, "calm_farm.txt", &script, &error)) << error;
    for (u8 language : {CFG_LANGUAGE_FR, CFG_LANGUAGE_EN}) {
        resetConsoleAndFarm(*script.seed, language);
        LinesBesideFrames lines;
        for (const ReplayRun& run : script.runs) lines.frames.insert(lines.frames.end(), run.frames, run.buttons);
        play(&lines);
        EXPECT_EQ(Values({lines.framesShown, lines.differing, farm.gameState}),
                  Values({(long long)lines.frames.size(), 0, GameOver})) << (int)language;
    }
    ScreenLine line;
    EXPECT_FALSE(screenLine(-1, &line));
}

// The numbers a text says, in order: "1.10" is one, the 5 of "F5" none.
std::vector<double> numbersIn(const std::string& text) {
    std::vector<double> numbers;
    for (const char* at = text.c_str(); *at; at++) {
        if (!isdigit((unsigned char)*at) || (at > text.c_str() && isalnum((unsigned char)at[-1]))) continue;
        char* end;
        numbers.push_back(strtod(at, &end));
        at = end - 1;
    }
    return numbers;
}

// The help says the rules' own numbers, in the order of its paragraphs, in both
// languages and in the README's "How to play": none can be written there by hand.
TEST(HowToPlay, SaysTheRulesNumbersAndTheReadmeTheSame) {
    const std::vector<double> rules = {kLowestPrice, kLowestPrice + kPriceRise, 1, kLargestLitter,
                                       kFoodPricePerKg, kFoodPerHamster, (double)kCagePrice,
                                       // a cage holds 21, less 1 a side: 21 - 1 in 1 cage, 42 - 1 in 2
                                       kRoomInCage + 1, 1, kRoomInCage, 1, 2 * kRoomInCage + 1, 2,
                                       kRestockedMales, kRestockedFemales, kMonthsInYear, kValueOfHamster, kValueOfCage, kLowGradeBound,
                                       kHighGradeBound};
    auto expectRules = [&](const std::string& text, const char* what) {
        std::vector<double> said = numbersIn(text);
        ASSERT_EQ(said.size(), rules.size()) << what << ": " << text;
        for (size_t i = 0; i < rules.size(); i++) EXPECT_NEAR(said[i], rules[i], 0.001) << what << " #" << i;
    };
    for (u8 language : {CFG_LANGUAGE_EN, CFG_LANGUAGE_FR}) {
        HowToPlay help = howToPlay(language);
        std::string all;
        for (const std::string& paragraph : help.paragraphs) all += paragraph + "\n";
        expectRules(all, help.title.c_str());
    }
    std::string readme = fileText(QUORVANDELLE_README);
    size_t from = readme.find("## How to play\n");
    ASSERT_NE(from, std::string::npos) << "the README has no \"How to play\"";
    size_t to = readme.find("\n## ", from + 1);
    expectRules(readme.substr(from, to - from), "README");
}

TEST(HowToPlay, WrapsAtSpacesWithinTheWidth) {
    EXPECT_EQ(wrapText("A CAGE COSTS 5 $", 8), (std::vector<std::string>{"A CAGE", "COSTS 5", "$"}));
    EXPECT_EQ(wrapText("  SUFFOCATE  NOW ", 4), (std::vector<std::string>{"SUFFOCATE", "NOW"}));
    EXPECT_EQ(wrapText("", 4), std::vector<std::string>{});
}

} // namespace
