// The desktop program's pieces: replay scripts, the state file, the screenshot, and how
// output files are written.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdio.h>

#include <string>
#include <vector>
#ifdef __GLIBC__
#include <sys/resource.h>
#endif

#include "gfx/render.h"
#include "desktop/options.h"
#include "frontend/controls.h"
#include "frontend/outputs.h"
#include "frontend/replay.h"
#include "support/test_console.h"

namespace {

std::vector<u32> frames(const std::string& text) {
    ReplayScript script;
    std::string error;
    EXPECT_TRUE(parseReplayScript(text, "game.txt", &script, &error)) << error;
    std::vector<u32> all;
    ReplayCursor cursor{&script.runs};
    for (u32 buttons; cursor.next(&buttons);) all.push_back(buttons);
    return all;
}

TEST(Replay, TokensCommentsAndRepeats) {
    std::vector<u32> expected = {KEY_A, 0, KEY_DRIGHT, KEY_DRIGHT, KEY_DRIGHT, KEY_A | KEY_START,
                                 KEY_CPAD_UP | KEY_ZL | KEY_B | KEY_SELECT | KEY_X | KEY_Y | KEY_ZR,
                                 KEY_CPAD_DOWN | KEY_CPAD_LEFT | KEY_CPAD_RIGHT | KEY_DUP | KEY_DDOWN | KEY_DLEFT,
                                 KEY_L | KEY_R, 0, 0};
    EXPECT_EQ(frames("# a comment\nseed=3\n a . dright*3 A+start#touching\n"
                     "\tcpad_up+ZL+b+select+x+y+zr CPAD_DOWN+cpad_left+CPAD_RIGHT+dup+ddown+dleft\r\n"
                     "L+r .*2"),
              expected);
    EXPECT_TRUE(frames("# nothing\n  language=fr\n").empty());
    ReplayScript script;
    std::string error; // repeats are kept as counts, not frame by frame
    ASSERT_TRUE(parseReplayScript("seed=18446744073709551615 language=fr draws=newlib A*9999999 A*1 .", "",
                                  &script, &error));
    EXPECT_EQ(script.seed, 18446744073709551615ull);
    EXPECT_EQ(script.language, CFG_LANGUAGE_FR);
    EXPECT_EQ(formatReplayScript(script), "seed=18446744073709551615\nlanguage=2\ndraws=newlib\nA*10000000 .\n");
    script.runs = {{0, 20000001}}; // longer than one token may say
    EXPECT_EQ(formatReplayScript(script), "seed=18446744073709551615\nlanguage=2\ndraws=newlib\n.*10000000 .*10000000 .\n");
    // A recording replays only where the same C library draws, and a kept game only in its version.
    script.draws = std::string(drawsHere()) == "musl" ? "glibc" : "musl", script.version = "0.9";
    EXPECT_EQ(replayMismatch(script, false).find("made with " + *script.draws + "'s random draws, not "), 0u);
    script.draws = drawsHere();
    EXPECT_EQ(Values({replayMismatch(script, false).empty(), replayMismatch(script, true) == "made by version 0.9, not " QUORVANDELLE_VERSION}), Values({1, 1}));
}

TEST(Replay, ErrorsNameTheLineAndColumn) {
    const char* const cases[][2] = {
        {"A\n  A+FOO", "game.txt:2:3: unknown button 'FOO'"},
        {"A A+", "game.txt:1:3: missing button name in 'A+'"},
        {"# x\n. A seed=4", "game.txt:2:5: setting 'seed' after the first frame; settings go first"},
        {"\n\nA*0", "game.txt:3:1: bad repeat count '0': a whole number from 1 to 10000000"},
        {" A*10000001", "game.txt:1:2: bad repeat count '10000001': a whole number from 1 to 10000000"},
        {"draws=GLIBC", "game.txt:1:1: bad draws 'GLIBC': small letters, digits, '.' and '-'"},
        {"seed=18446744073709551616", "game.txt:1:1: bad seed '18446744073709551616': a whole number from 0 to 18446744073709551615"},
        {"language=256", "game.txt:1:1: bad language '256': en, fr or a code from 0 to 255"},
        {"speed=2", "game.txt:1:1: unknown setting 'speed'; the settings are seed=, language=, version= and draws="},
    };
    for (const auto& c : cases) {
        ReplayScript script;
        std::string error;
        EXPECT_FALSE(parseReplayScript(c[0], "game.txt", &script, &error));
        EXPECT_EQ(error, c[1]);
    }
}

// Every field its own value; the floats need all nine digits to read back exactly.
TEST(StateFile, EveryFieldByNameAsTheGoldenFile) {
    FarmState s{7, 1, 2, 123456, 4294967295u, 65535, 40, 50, -60, 65534, 41, 51, 61, INT32_MIN,
                15483.4375f, 1.1f, 13, 70, 71, 13210.6455f, 80, 81, 82, 83, 84, 85, 255};
    EXPECT_EQ(farmStateJson(s), fileText(goldenPath("farm-state.json")));
}

TEST(OutputFile, WrittenWholeOrNotAtAll) {
    std::string error, path = "output_file_test.json";
    // Another run's temporary of the obvious name is neither used nor removed.
    ASSERT_TRUE(writeFileWhole(path + ".part", "another run's", &error)) << error;
    ASSERT_TRUE(writeFileWhole(path, "first", &error)) << error;
    ASSERT_TRUE(writeFileWhole(path, "second", &error)) << error;
    EXPECT_EQ(fileText(path) + fileText(path + ".part"), "secondanother run's");
    remove((path + ".part").c_str());
    // A picture that cannot be encoded is reported, and no empty PNG left in its place.
    EXPECT_FALSE(writePngWhole(path, std::vector<u8>(5), 2, 1, &error));
    EXPECT_EQ(error, path + ": cannot encode the picture as a PNG");
    EXPECT_EQ(fileText(path), "second");
#ifdef __GLIBC__
    // Past a file-size limit the write fails.
    rlimit saved, tiny;
    getrlimit(RLIMIT_FSIZE, &saved);
    tiny = saved, tiny.rlim_cur = 10;
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tiny);
    bool written = writeFileWhole(path, std::string(100, 'x'), &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(written);
    EXPECT_EQ(error, path + ": cannot write: File too large");
    EXPECT_EQ(fileText(path) + fileText(path + ".part"), "second(no file)"); // the old file stays
#endif
    remove(path.c_str());
}

TEST(Locale, TheFirstOfLcAllLcMessagesAndLangThatIsSet) {
    // LC_ALL, LC_MESSAGES, LANG: French (2) for fr*, else English (1), by the first set.
    const char* const cases[][4] = {{"fr_FR.UTF-8", "en_GB", "en_US", "2"}, {"", "fr_CA", "C", "2"},
                                    {"", "", "fr", "2"}, {"C", "fr_FR", "fr_FR", "1"},
                                    {"", "", "", "1"}, {"", "", "de_DE.UTF-8", "1"}};
    for (const auto& c : cases) {
        setenv("LC_ALL", c[0], 1), setenv("LC_MESSAGES", c[1], 1), setenv("LANG", c[2], 1);
        EXPECT_EQ(languageFromLocale(), c[3][0] - '0') << c[0] << "," << c[1] << "," << c[2];
    }
}

// The README's table of controls is the game's own: an edit of one shows in the other.
TEST(Controls, TheReadmeTableIsTheGamesOwn) {
    std::string readme = fileText(QUORVANDELLE_README);
    size_t start = readme.find("-->\n", readme.find("<!-- controls:"));
    size_t end = readme.find("<!-- end of controls -->");
    ASSERT_TRUE(start != std::string::npos && end != std::string::npos);
    EXPECT_EQ(readme.substr(start + 4, end - start - 4), controlsMarkdown())
        << "The README's controls should read:\n" << controlsMarkdown();
    // The overlay writes the table's French in the game's font: capitals, no accents.
    EXPECT_EQ(inGameFont("Entrée, flèches, Échap, gâchette, à mi-course, ç"), "ENTREE, FLECHES, ECHAP, GACHETTE, A MI-COURSE, C");
}

} // namespace
