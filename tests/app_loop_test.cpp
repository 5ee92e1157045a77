// The frame loop: start-up and shut-down, what a frame presents, and the two frames
// between an edit and its picture.
#include <gtest/gtest.h>
#include <string.h>

#include "gfx/render.h"
#include "support/test_console.h"

namespace {

class Loop : public ::testing::Test {
  protected:
    ScriptedButtons buttons;
    void SetUp() override { resetConsoleAndFarm(); }
    int run(std::vector<u32> frames) {
        buttons.frames = std::move(frames), buttons.next = 0;
        return play(&buttons);
    }
    void expectClosedInOrder(u64 framesPresented) {
        const HostConsoleStatus& status = hostConsoleStatus();
        EXPECT_EQ(status.framesPresented, framesPresented);
        EXPECT_FALSE(status.graphicsOpen || status.configOpen);
        EXPECT_EQ(closedServices(), "cfgu gfx");
    }
};

TEST_F(Loop, StartLeavesAtOnceAfterItsFramesA) {
    EXPECT_EQ(run({KEY_START, KEY_A}), 0); // the rules are composed, never presented
    EXPECT_EQ(Values({(long long)buttons.next, farm.showIntro}), Values({1, 1})); // the second frame never ran
    expectClosedInOrder(0);
    resetConsoleAndFarm();
    EXPECT_EQ(run({KEY_A | KEY_START}), 0);
    EXPECT_EQ(Values({farm.showIntro, farm.gameState}), Values({0, Situation}));
    expectClosedInOrder(0);
}

TEST_F(Loop, AHeldButtonCountsOnce) {
    buttons.hold = true;
    run({KEY_A, KEY_A, KEY_A, 0, KEY_A});
    EXPECT_EQ(farm.gameState, SellMales); // the rules, the month, its first question
}

TEST_F(Loop, EveryFrameClearsTheLowerScreen) {
    gfxInitDefault(); // both lower buffers dirty before the game starts
    for (int i = 0; i < 2; i++, gfxSwapBuffers()) {
        memset(gfxGetFramebuffer(GFX_BOTTOM, GFX_LEFT, nullptr, nullptr), 0x55, BOTTOM_FRAMEBUFFER_BYTES);
    }
    run({0, 0});
    EXPECT_EQ(std::vector<u8>(hostPresentedBottom(), hostPresentedBottom() + BOTTOM_FRAMEBUFFER_BYTES),
              std::vector<u8>(BOTTOM_FRAMEBUFFER_BYTES, 0));
}

TEST_F(Loop, AnEditIsShownTwoFramesLaterAndJudgedInTheNext) {
    buttons.keepShown = true; // the rules, the month, males for sale, right, then two frames
    run({KEY_A, KEY_A, 0, KEY_DRIGHT, 0, 0});
    ASSERT_EQ(buttons.shown.size(), 6u);
    EXPECT_EQ(buttons.shown[3], buttons.shown[2]);
    EXPECT_EQ(buttons.shown[4], buttons.shown[2]); // still 0
    EXPECT_NE(buttons.shown[5], buttons.shown[2]); // 1
    resetConsoleAndFarm();
    run({KEY_A, KEY_A, KEY_DRIGHT, KEY_A});
    EXPECT_EQ(Values({farm.gameState, farm.adultMales}), Values({SellFemales, 0})); // the male was sold
}

TEST_F(Loop, EachQuestionReceivesTheNumberBeingEntered) {
    for (s32 phase : {0, 1, 2, 3, 4, 5, 6, 7, 8}) {
        resetConsoleAndFarm();
        farm.gameState = phase, farm.inputValue = 40 + phase; // start-up leaves both alone
        run({0});
        std::vector<s32> answers = {farm.malesToSell, farm.femalesToSell, farm.couplingsRequested,
                                    farm.foodToBuy, farm.maleCagesToBuy, farm.femaleCagesToBuy};
        std::vector<s32> want(6, 0);
        if (isQuestionPhase(phase)) want[phase - SellMales] = 40 + phase;
        EXPECT_EQ(answers, want) << "phase " << phase;
    }
}

} // namespace
