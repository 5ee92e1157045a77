// The frame loop: start-up and shut-down, what a frame presents, and the two frames
// between an edit and its picture; the player's session: a script before the live
// buttons, what it records, and numbers typed.
#include <gtest/gtest.h>
#include <string.h>

#include "app/app.h"
#include "frontend/outputs.h"
#include "frontend/session.h"
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

std::string runsText(const std::vector<ReplayRun>& runs) {
    ReplayScript script;
    script.runs = runs;
    return formatReplayScript(script);
}

// A script plays first: Right, pressed while it plays, is dropped there, but being
// still held after it, it goes down then, once, and is recorded once.
TEST(Session, AScriptPlaysFirstThenTheLiveButtons) {
    std::vector<ReplayRun> script = {{0, 1}, {KEY_A, 1}};
    PlayerSession session;
    session.start(&script);
    u32 held, pressed;
    EXPECT_EQ(session.scan(KEY_DRIGHT, KEY_DRIGHT, &held, &pressed), 0u);
    EXPECT_EQ(session.scan(KEY_DRIGHT, 0, &held, &pressed), (u32)KEY_A);
    EXPECT_EQ(session.scan(KEY_DRIGHT, 0, &held, &pressed), (u32)KEY_DRIGHT);
    EXPECT_EQ(session.scan(KEY_DRIGHT, 0, &held, &pressed), 0u);
    EXPECT_EQ(runsText(session.recording()), ". A DRIGHT .\n");
}

TEST(Typing, TheFewestPressesIncreasesFirst) {
    struct Case { s32 from; const char* keys; const char* presses; s32 reached; const char* why = ""; };
    const Case cases[] = {
        {0, "0", "", 0},
        {0, "\b", "", 0},
        {0, "9", "DUP DLEFT", 9},
        {0, "10", "DUP", 10},
        {0, "99", "R DLEFT", 99},
        {0, "480", "R*5 DDOWN*2", 480},
        {0, "1234", "R*12 DUP*3 DRIGHT*4", 1234},
        {7, "5", "R DDOWN*3 DLEFT*2", 75},
        {480, "\b", "L*4 DDOWN*3 DLEFT*2", 48},
        {480, "\b\b\b", "DUP*2 L*5", 0},
        {0, "123456", "R*123 DUP*4 DRIGHT*5", 12345, "At most 99999: a longer number is refused."},
    };
    for (const Case& c : cases) {
        resetConsoleAndFarm();
        startPhase(BuyFood), farm.inputValue = c.from;
        PlayerSession session;
        session.start(nullptr);
        std::string why, refused;
        for (const char* key = c.keys; *key; key++) {
            if (!session.type(*key, &why) && refused.empty()) refused = why;
        }
        for (u32 held, pressed; session.typing();) session.scan(0, 0, &held, &pressed), press(pressed);
        std::string presses = runsText(session.recording());
        EXPECT_EQ(presses, std::string(c.presses) + (*c.presses ? "\n" : "")) << c.from << " " << c.keys;
        EXPECT_EQ(farm.inputValue, c.reached) << c.keys;
        EXPECT_EQ(refused, c.why) << c.keys;
    }
}

TEST(Typing, ExtendedWhileFedStoppedByAButtonConfirmedOnce) {
    resetConsoleAndFarm();
    startPhase(BuyFood), farm.systemLanguage = CFG_LANGUAGE_FR, farm.cash = 10;
    PlayerSession session;
    session.start(nullptr);
    std::string why;
    u32 held, pressed;
    auto frame = [&](u32 live) { session.scan(0, live, &held, &pressed), press(pressed); };
    ASSERT_TRUE(session.type('4', &why));
    frame(0);                        // 1, on the way to 4
    ASSERT_TRUE(session.type('8', &why)); // 48 from 1: up five times, left three
    ASSERT_TRUE(session.type('\n', &why));
    EXPECT_FALSE(session.type('0', &why));
    EXPECT_EQ(why, "La réponse est encore en cours de saisie.");
    while (session.typing()) frame(0);
    EXPECT_EQ(runsText(session.recording()), "DRIGHT DUP*5 DLEFT*3 A\n");
    EXPECT_EQ(Values({farm.gameState, farm.inputValue}), Values({BuyMaleCages, 0}));

    session.start(nullptr); // the player's own press stops the typed ones where they are
    ASSERT_TRUE(session.type('3', &why) && session.type('\n', &why));
    frame(0), frame(KEY_DUP), frame(0);
    EXPECT_EQ(Values({session.typing(), farm.inputValue, farm.gameState}), Values({0, 11, BuyMaleCages}));
    EXPECT_EQ(runsText(session.recording()), "DRIGHT DUP .\n");
}

} // namespace
