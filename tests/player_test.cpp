// The player the window and the page share, through a home of the tests' own: keeping a
// year and bringing it back, refusing a kept year with its reason, a recording's warning,
// the new-year loop, typed numbers at once, the console's pace, a write that fails.
#include <gtest/gtest.h>

#include "frontend/pacing.h"
#include "frontend/player.h"
#include "frontend/recording.h"
#include "game/farm.h"
#include "support/test_console.h"
#include "support/test_home.h"

namespace {

const u64 kSeed = 2208988800000ull + 5;

class Player : public ::testing::Test {
  protected:
    void SetUp() override {
        resetConsoleAndFarm();
        testHome = TestHome{};
        setup.seed = kSeed;
        setup.keeping = KeepYear;
    }
    void run(std::vector<TestHome::Frame> frames) {
        testHome.frames = std::move(frames);
        testHome.scans = 0;
        playerRun(setup);
    }
    std::string told() const { return testHome.told.empty() ? "" : testHome.told.back(); }
    PlayerSetup setup;
};

std::vector<TestHome::Frame> operator+(std::vector<TestHome::Frame> a, const std::vector<TestHome::Frame>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A recording's presses, each with the frames of no button before it, as text.
std::string pressesOf(const std::string& text) {
    ReplayScript script;
    std::string error;
    EXPECT_TRUE(parseReplayScript(text, "kept", &script, &error)) << error;
    while (!script.runs.empty() && script.runs.back().buttons == 0) script.runs.pop_back();
    return formatReplayScript(script);
}

// The rules, then month 1's situation; its first question; one male sold.
const std::initializer_list<u32> kSellAMale = {KEY_A, 0, KEY_A, 0, KEY_DRIGHT, 0, KEY_A, 0, 0};

TEST_F(Player, KeepsTheYearAsItGoesAndBringsItBack) {
    run(pressFrames(kSellAMale));
    const std::string played = playerStateJson();
    ASSERT_EQ(Values({farm.gameState, farm.adultMales}), Values({SellFemales, 0}));
    // Written whole at the first frame, then line by line.
    EXPECT_EQ(testHome.keptText.find("seed=" + std::to_string(kSeed) + "\nlanguage=1\nversion=" QUORVANDELLE_VERSION
                                     "\ndraws=" + drawsHere() + "\n"), 0u);
    EXPECT_EQ(Values({(long long)testHome.wholeWrites, testHome.lineWrites > 1}), Values({1, 1}));

    // Brought back at once: the same farm, nothing shown on the way, the month told.
    const std::string kept = testHome.keptText;
    resetConsoleAndFarm();
    testHome.told.clear(), testHome.shows = 0;
    run(pressFrames({0}));
    EXPECT_EQ(playerStateJson(), played);
    EXPECT_EQ(told(), "passing: Game resumed, month 1.");
    EXPECT_EQ(testHome.shows, 2u); // black at power-on, then where it came back to
    EXPECT_EQ(testHome.wholeWrites, 2u); // the copy it keeps, written afresh
    EXPECT_EQ(pressesOf(testHome.keptText), pressesOf(kept));

    // START ends the game; the kept year goes on from before it, also when a crash or a full
    // disk cut its last line short: that part is dropped, and the player told.
    run(pressFrames({KEY_START}));
    resetConsoleAndFarm();
    testHome.keptText += "DRI";
    run(pressFrames({0}));
    EXPECT_EQ(playerStateJson(), played);
    EXPECT_EQ(testHome.told.end()[-2], "passing: The kept game's last line was cut off (a crash or a full disk); it was dropped.");
    EXPECT_EQ(told(), "passing: Game resumed, month 1.");

    // Another copy of the game holds the year: this one plays a year of its own, not kept.
    testHome.heldElsewhere = "it is open in another window";
    const std::string kept2 = testHome.keptText;
    run(pressFrames({KEY_A, 0}));
    EXPECT_EQ(testHome.told.back(), "lasting: The kept year cannot be kept here (it is open in another window); this game is not kept.");
    EXPECT_EQ(Values({farm.gameState, testHome.keptText == kept2}), Values({Situation, 1}));
}

TEST_F(Player, AKeptYearThatDoesNotReadBackIsToldAndLeftAsItIs) {
    const std::string mine = "version=" QUORVANDELLE_VERSION "\ndraws=" + std::string(drawsHere()) + "\n";
    const std::string other = std::string(drawsHere()) == "musl" ? "newlib" : "musl";
    const std::string cases[][2] = {
        {"seed=1 A+JUMP\n", "kept game:1:8: unknown button 'JUMP'"},
        {"seed=1\ndraws=" + other + "\nA\n", "kept game: made with " + other},
        {mine + "A\n", "kept game: it has no seed"},
        {"seed=1\nA\n", "kept game: it does not say whose random draws it played with"},
        {"seed=1\nversion=0.9\ndraws=" + std::string(drawsHere()) + "\nA\n", "kept game: made by version 0.9, not "},
        {"seed=1\n" + mine + std::string("A\0A\n", 4), "kept game:4:2: not text"},
        {std::string(kMaxRecordingBytes + 1, '.') + "\n", "kept game: larger than 1048576 bytes"},
    };
    for (const auto& [text, why] : cases) {
        SetUp();
        testHome.kept = true, testHome.keptText = text;
        run(pressFrames({KEY_A, 0}));
        EXPECT_EQ(told().find("lasting: The kept game cannot be resumed (" + why), 0u) << told();
        EXPECT_EQ(Values({farm.gameState, (long long)testHome.wholeWrites, testHome.keptText == text}), Values({Situation, 0, 1}));
    }
}

TEST_F(Player, ARecordingThatMayDifferPlaysWithAWarningAndARefusedOneLeavesTheKeptYear) {
    setup.asks = true;
    playerOpen("seed=3\nA A\n", SharedLink);
    run(pressFrames({0, 0, 0}));
    EXPECT_EQ(testHome.told.front(), "passing: link: it does not say whose random draws it played with: it may not replay the same game");
    EXPECT_EQ(farm.gameState, SellMales);
    EXPECT_NE(testHome.keptText.find("seed=3\n"), std::string::npos); // it is the year kept now

    // A link that does not play: the kept year stays, and the player goes back to it.
    const std::string kept = testHome.keptText;
    resetConsoleAndFarm();
    testHome.answers = {0};
    playerOpen("seed=3\nA+JUMP\n", SharedLink);
    run(pressFrames({0}));
    EXPECT_EQ(testHome.asked, std::vector<std::string>{"This recording cannot be played: link:2:1: unknown button 'JUMP'"});
    EXPECT_EQ(farm.gameState, SellMales);
    EXPECT_EQ(pressesOf(testHome.keptText), pressesOf(kept));
}

TEST_F(Player, ANewYearForgetsTheKeptOneOnlyOnceThePlayerSaysSo) {
    setup.asks = true;
    testHome.answers = {1, 0}; // keep playing it; then forget it
    auto newYear = [](u32 pressed) { return TestHome::Frame{pressed, [] { playerNewYear(); }}; };
    run(pressFrames(kSellAMale) + std::vector<TestHome::Frame>{newYear(0), {0, nullptr}, newYear(0), {0, nullptr}});
    EXPECT_EQ(testHome.asked, (std::vector<std::string>(2, "Forget the year kept at month 1 and start another?")));
    EXPECT_EQ(Values({farm.showIntro, farm.adultMales}), Values({1, 1})); // the rules of a new year
    EXPECT_EQ(testHome.keptText.find("seed=" + std::to_string(kSeed) + "\n"), std::string::npos);

    // START, then back to the game: the same farm. A home that does not ask leaves.
    SetUp();
    setup.asks = true;
    testHome.answers = {0};
    run(pressFrames(kSellAMale) + pressFrames({KEY_START, 0}));
    EXPECT_EQ(testHome.asked, std::vector<std::string>{"You left the game."});
    EXPECT_EQ(Values({farm.gameState, farm.adultMales}), Values({SellFemales, 0}));
}

// The rows of the upper screen where the food question's "IMPOSSIBLE" stands.
bool impossibleShown(const u8* rgb) {
    for (int y = 199; y < 207; y++) {
        for (int x = 320; x < 400; x++) {
            if (rgb[3 * (y * 400 + x)] != 0) return true;
        }
    }
    return false;
}

TEST_F(Player, ATypedNumberIsFedAtOnceAndRecordedOneAFrame) {
    setup.keeping = KeepNothing;
    const std::initializer_list<u32> toFood = {KEY_A, KEY_A, KEY_A, KEY_A, KEY_A, 0};
    size_t sleepsBefore = 0, sleepsWhenShown = 0;
    testHome.onShow = [&](const u8* rgb) {
        if (sleepsWhenShown == 0 && impossibleShown(rgb)) sleepsWhenShown = testHome.sleeps.size();
    };
    auto type = [&](const char* keys) {
        return TestHome::Frame{0, [&, keys] {
                                   sleepsBefore = testHome.sleeps.size();
                                   for (const char* key = keys; *key; key++) playerKey(*key);
                               }};
    };
    run(pressFrames(toFood) + std::vector<TestHome::Frame>{type("99999\n"), {0, nullptr}, {0, nullptr}, {0, nullptr}});
    EXPECT_EQ(Values({farm.gameState, farm.inputValue, farm.showImpossible}), Values({BuyFood, 99999, 1}));
    // A thousand R and left (the fewest presses), then A, one a frame with no wait between
    // them; "IMPOSSIBLE" shows after the confirming A's frame.
    EXPECT_NE(playerRecording().find("R*1000 DLEFT A"), std::string::npos) << playerRecording();
    EXPECT_EQ(testHome.sleeps.size() - sleepsBefore, 4u); // the A's frame and the three after
    EXPECT_EQ(sleepsWhenShown - sleepsBefore, 1u);
    EXPECT_FALSE(playerKey('\n')); // with no number being typed, A is the home's to press
}

// The game's own loop waits one blank a frame, on the console's grid, with a clock that
// moves only while the player sleeps; START's frame is not waited for.
TEST_F(Player, WaitsOnceAFrameOnTheConsolesGrid) {
    setup.keeping = KeepNothing;
    run(std::vector<TestHome::Frame>(30) + pressFrames({KEY_START}));
    ASSERT_EQ(testHome.sleeps.size(), 30u);
    EXPECT_EQ(testHome.sleeps.front(), 16713681u);
    EXPECT_EQ(testHome.sleeps.back(), 501410427u); // 30 x 4481136 s / 268111856, rounded up
}

TEST_F(Player, AWriteThatFailsIsToldAtOnceAndTriedAgain) {
    testHome.failWith = "No space left on device";
    auto room = [](u32 pressed) { return TestHome::Frame{pressed, [] { testHome.failWith.clear(); }}; };
    run(pressFrames(kSellAMale) + std::vector<TestHome::Frame>{room(0)} + std::vector<TestHome::Frame>(61));
    EXPECT_EQ(testHome.told.front(), "lasting: This year is not kept: No space left on device");
    EXPECT_EQ(told(), "lasting: ");
    ReplayScript script;
    ASSERT_TRUE(acceptRecording(testHome.keptText, "kept", KeptYear, CFG_LANGUAGE_EN, &script).accepted);
    u64 frames = 0;
    for (const ReplayRun& run : script.runs) frames += run.frames;
    EXPECT_GE(frames, kSellAMale.size()); // the frames it could not write at first
}

// A home that reads aloud is told what each new screen says, and only that; IMPOSSIBLE
// comes with the limit that refused the answer, which the advice beside the screen says too.
TEST_F(Player, SaysWhatEachNewScreenShowsWithTheAdvice) {
    setup.keeping = KeepNothing, setup.speaks = true;
    run(pressFrames({KEY_A, 0, 0, KEY_A, 0, 0, KEY_DRIGHT, 0, 0, KEY_DRIGHT, KEY_A, 0, 0})); // 2 of 1 male sold
    ASSERT_EQ(testHome.said.size(), 5u);
    EXPECT_EQ(testHome.said[0].substr(0, 25), "***** QUORVANDELLE *****\n");
    EXPECT_EQ(testHome.said[1].substr(0, 29), "SITUATION OF THE MONTH No 1\nM");
    EXPECT_EQ(std::vector<std::string>(testHome.said.begin() + 2, testHome.said.end()),
              (std::vector<std::string>{std::string(50, '_') + "\nMALES FOR SALE ? 0", "MALES FOR SALE ? 1",
                                        "MALES FOR SALE ? 2\nIMPOSSIBLE\nRefused: at most 1 adult male."}));
    EXPECT_EQ(testHome.advice.back(), "Refused: at most 1 adult male.");

    // A year brought back at once is said whole where it comes back to, not as the screen
    // shown before it (the rules of a game unkept), and so is the screen read again.
    setup.keeping = KeepYear;
    run(pressFrames(kSellAMale));
    for (Keeping keeping : {KeepNothing, KeepYear}) {
        resetConsoleAndFarm();
        setup.keeping = keeping;
        testHome.said.clear();
        run(pressFrames({0}));
    }
    ASSERT_EQ(testHome.said.size(), 1u);
    EXPECT_EQ(testHome.said[0].substr(0, 28), "SITUATION OF THE MONTH No 1\n");
    EXPECT_EQ(testHome.said[0].substr(testHome.said[0].size() - 40), "\nMALES FOR SALE ? 1\nFEMALES FOR SALE ? 0");
    EXPECT_EQ(playerScreenText(), testHome.said[0]);
}

TEST(VBlank, TheGridIsTheConsolesRate) {
    // 268111856 blanks take exactly 4481136 seconds; blank k is at k of them, rounded up.
    const u64 second = 1000000000ull;
    EXPECT_EQ(nextVBlankNs(4481136 * second - 1), 4481136 * second);
    EXPECT_EQ(nextVBlankNs(4481136 * second), 4481136 * second + 16713681); // on a blank: the next
    // Late by several frames: the next blank on the grid, no burst to catch up.
    EXPECT_EQ(nextVBlankNs(5 * nextVBlankNs(0) + 1000), nextVBlankNs(5 * nextVBlankNs(0) + 2000));
}

} // namespace
