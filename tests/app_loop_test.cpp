// The frame loop: start-up and shut-down order, what a frame presents, the two-frame
// delay between an edit and its picture.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "game/farm.h"
#include "gfx/render.h"
#include "support/framebuffer.h"
#include "support/test_console.h"

namespace {

// Scripted frames that also remember what each presented frame showed at one place,
// and may change the farm before a frame (as nothing in the game could).
struct WatchingButtons : ScriptedButtons {
    int watchX = 1;
    int watchY = 170;
    int watchLength = 20;
    std::vector<std::string> shown;
    std::function<void(size_t frame)> beforeFrame;

    bool keepRunning() override {
        if (beforeFrame && next < frames.size()) beforeFrame(next);
        return ScriptedButtons::keepRunning();
    }
    void presented(const u8* top, const u8*) override {
        shown.push_back(readText(top, watchX, watchY, watchLength));
    }
};

class Loop : public ::testing::Test {
  protected:
    WatchingButtons buttons;

    void SetUp() override { resetConsoleAndFarm(0, CFG_LANGUAGE_EN); }
    void TearDown() override { hostConsoleSetFrontend(nullptr); }

    int run(std::vector<u32> frames) {
        buttons.frames = std::move(frames);
        hostConsoleSetFrontend(&buttons);
        return appMain();
    }
};

TEST_F(Loop, StartInTheFirstFrameLeavesWithoutPresenting) {
    EXPECT_EQ(run({KEY_START, KEY_A}), 0);
    const HostConsoleStatus& status = hostConsoleStatus();
    EXPECT_EQ(status.framesPresented, 0u);
    EXPECT_EQ(hostPresentedTop(), nullptr);
    EXPECT_FALSE(status.graphicsOpen);
    EXPECT_FALSE(status.configOpen);
    EXPECT_LT(status.cfguExitCall, status.gfxExitCall);
    EXPECT_EQ(buttons.next, 1u); // the second frame never ran
    EXPECT_EQ(farm.showIntro, 1);
}

TEST_F(Loop, AAndStartTogetherApplyAFirst) {
    EXPECT_EQ(run({KEY_A | KEY_START}), 0);
    EXPECT_EQ(farm.showIntro, 0);
    EXPECT_EQ(farm.gameState, Situation);
    EXPECT_EQ(hostConsoleStatus().framesPresented, 0u);
}

TEST_F(Loop, TheSystemClosingEndsTheLoopBeforeAnotherFrame) {
    EXPECT_EQ(run({KEY_A, 0, 0}), 0);
    const HostConsoleStatus& status = hostConsoleStatus();
    EXPECT_EQ(status.framesPresented, 3u);
    EXPECT_EQ(status.vblanksWaited, 3u);
    EXPECT_FALSE(status.graphicsOpen);
    EXPECT_LT(status.cfguExitCall, status.gfxExitCall);
}

TEST_F(Loop, EveryFrameClearsTheLowerScreen) {
    run({0});
    const u8* bottom = hostPresentedBottom();
    ASSERT_NE(bottom, nullptr);
    for (size_t i = 0; i < BOTTOM_FRAMEBUFFER_BYTES; i++) ASSERT_EQ(bottom[i], 0) << i;
}

TEST_F(Loop, StartUpReadsTheLanguageAndSeedsFromTheClock) {
    // Only the clock's low 32 bits seed the draws.
    srand(12345);
    float price = rand() % 2 ? 1.1f : 1.0f;
    resetConsoleAndFarm((1ull << 32) + 12345, CFG_LANGUAGE_FR);
    buttons.watchY = 231;
    buttons.watchLength = 34;
    run({0});
    EXPECT_EQ(farm.systemLanguage, CFG_LANGUAGE_FR);
    EXPECT_EQ(farm.hamsterPrice, price);
    EXPECT_EQ(buttons.shown.back(), "** APPUIES SUR A POUR CONTINUER...");
}

TEST_F(Loop, AnEditIsDrawnTwoFramesLater) {
    // Frames: rules -> month -> males question; then right in frame 3.
    run({KEY_A, KEY_A, 0, KEY_DRIGHT, 0, 0});
    ASSERT_EQ(buttons.shown.size(), 6u);
    EXPECT_EQ(buttons.shown[3], "MALES FOR SALE ? 0  ");
    EXPECT_EQ(buttons.shown[4], "MALES FOR SALE ? 0  ");
    EXPECT_EQ(buttons.shown[5], "MALES FOR SALE ? 1  ");
}

TEST_F(Loop, AJudgesTheNumberEditedTheFrameBefore) {
    run({KEY_A, KEY_A, KEY_DRIGHT, KEY_A});
    EXPECT_EQ(farm.gameState, SellFemales);
    EXPECT_EQ(farm.adultMales, 0);
    EXPECT_EQ(farm.malesToSell, 1);
}

TEST_F(Loop, ARefusalShowsInTheNextFrame) {
    buttons.watchX = 320;
    buttons.watchLength = 10;
    run({KEY_A, KEY_A, KEY_DUP, KEY_A, 0, 0});
    ASSERT_EQ(buttons.shown.size(), 6u);
    EXPECT_EQ(buttons.shown[3], "          "); // composed before A was judged
    EXPECT_EQ(buttons.shown[4], "IMPOSSIBLE");
    EXPECT_EQ(farm.inputValue, 10);
    EXPECT_EQ(farm.malesToSell, 10);
}

TEST_F(Loop, PhasesWithoutAQuestionKeepTheAnswers) {
    buttons.beforeFrame = [](size_t frame) {
        if (frame == 2) {
            farm.gameState = GameOver;
            farm.inputValue = 77;
        }
    };
    run({KEY_A, KEY_A, 0, 0});
    EXPECT_EQ(farm.malesToSell, 0);
    for (s32 phase : {(s32)0, (s32)Situation}) {
        resetConsoleAndFarm();
        buttons = WatchingButtons{};
        buttons.beforeFrame = [phase](size_t frame) {
            if (frame == 1) {
                farm.gameState = phase;
                farm.inputValue = 55;
            }
        };
        run({0, 0, 0});
        EXPECT_EQ(farm.malesToSell + farm.femalesToSell + farm.couplingsRequested + farm.foodToBuy +
                      farm.maleCagesToBuy + farm.femaleCagesToBuy,
                  0)
            << phase;
    }
}

TEST_F(Loop, EachQuestionReceivesTheNumberBeingEntered) {
    // Enter 0, 0, 0, 3, 0, 0 and watch the food line fill in.
    run({KEY_A, KEY_A, KEY_A, KEY_A, KEY_A, KEY_DRIGHT, KEY_DRIGHT, KEY_DRIGHT, 0});
    EXPECT_EQ(farm.gameState, BuyFood);
    EXPECT_EQ(farm.foodToBuy, 3);
    EXPECT_EQ(farm.couplingsRequested, 0);
}

} // namespace
