// The desktop program's pieces: replay scripts, the state file, the screenshot, and how
// output files are written.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>
#ifdef __GLIBC__
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <thread>
#endif

#include "gfx/render.h"
#include "desktop/options.h"
#include "frontend/controls.h"
#include "app/app.h"
#include "frontend/fields.h"
#include "frontend/files.h"
#include "frontend/help.h"
#include "frontend/headless.h"
#include "frontend/history.h"
#include "frontend/outputs.h"
#include "frontend/recording.h"
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
    ASSERT_TRUE(parseReplayScript("seed=18446744073709551615 language=fr draws=newlib .*9999999 .*1 A", "",
                                  &script, &error));
    EXPECT_EQ(script.seed, 18446744073709551615ull);
    EXPECT_EQ(script.language, CFG_LANGUAGE_FR);
    EXPECT_EQ(formatReplayScript(script), "seed=18446744073709551615\nlanguage=2\ndraws=newlib\n.*10000000 A\n");
    script.runs = {{0, 20000001}}; // longer than one token may say
    EXPECT_EQ(formatReplayScript(script), "seed=18446744073709551615\nlanguage=2\ndraws=newlib\n.*10000000 .*10000000 .\n");
}

// The one rule for every recording: the kept year, a link, a file, --replay.
TEST(Recording, OneRuleForEveryOrigin) {
    const std::string here = drawsHere(), other = here == "musl" ? "newlib" : "musl";
    const std::string mine = "version=" QUORVANDELLE_VERSION "\ndraws=" + here + "\n";
    const std::string otherDraws = "made with " + other + "'s random draws (" +
                                   (other == "musl" ? "a browser's" : "the console's") + "), not " + here + "'s (" +
                                   (here == "glibc" ? "the desktop's" : "the console's") +
                                   "): its litters and deaths would differ here";
    const std::string mayDiffer = ": it may not replay the same game";
    struct Case { RecordingOrigin origin; std::string text, refusal, warning = ""; u64 frames = 0; };
    const Case cases[] = {
        {KeptYear, "seed=3\n" + mine + "A .*9\n", "", "", 10},
        {KeptYear, "seed=3\n" + mine + "A .*9\nDL", "", "", 10}, // cut mid-line: its whole lines
        {KeptYear, "seed=3\nA\n", "kept: it does not say whose random draws it played with"},
        {KeptYear, mine + "A\n", "kept: it has no seed"},
        {KeptYear, "seed=3\nversion=0.9\ndraws=" + here + "\nA\n", "kept: made by version 0.9, not " QUORVANDELLE_VERSION},
        {SharedLink, "seed=3\ndraws=" + other + "\nA\n", "kept: " + otherDraws},
        {ReplayOption, "draws=" + other + "\nA\n", "kept: " + otherDraws},
        {SharedLink, "seed=3\nA\n", "", "kept: it does not say whose random draws it played with" + mayDiffer, 1},
        {OpenedFile, "seed=3\nversion=0.9\ndraws=" + here + "\nA\n", "", "kept: made by version 0.9, not " QUORVANDELLE_VERSION + mayDiffer, 1},
        {ReplayOption, "A A .*10000000 .*10000000\n", "", "", 20000002}, // no seed: --seed or the clock; idle frames unbounded
        {ReplayOption, std::string("A\0B", 3), "kept:1:2: not text (a control character or a byte that is not UTF-8)"},
        {OpenedFile, "A \xff\n", "kept:1:3: not text (a control character or a byte that is not UTF-8)"},
        {ReplayOption, "A\n\x1b]0;PWNED\x07\n", "kept:2:1: not text (a control character or a byte that is not UTF-8)"},
        {ReplayOption, std::string(kMaxRecordingBytes + 1, ' '), "kept: larger than 1048576 bytes"},
        {ReplayOption, "A*100000 B", "kept:1:10: more than 100000 frames press a button"},
        {ReplayOption, std::string(8192, ' ') + "A", "kept:1:1: a line longer than 8192 bytes"},
        {ReplayOption, std::string(300, 'A'), "kept:1:1: a token longer than 256 bytes: '" + std::string(40, 'A') + "...'"},
        {ReplayOption, "Aé+ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOP", "kept:1:1: unknown button 'Aé'"},
        {ReplayOption, "A+ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOP", "kept:1:1: unknown button 'ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMN...'"},
    };
    for (const Case& c : cases) {
        ReplayScript script;
        RecordingVerdict verdict = acceptRecording(c.text, "kept", c.origin, CFG_LANGUAGE_EN, &script);
        EXPECT_EQ(Values({verdict.accepted}), Values({c.refusal.empty()})) << printable(c.text);
        EXPECT_EQ(verdict.refusal, c.refusal) << printable(c.text);
        EXPECT_EQ(verdict.warning, c.warning) << printable(c.text);
        u64 frames = 0;
        for (const ReplayRun& run : script.runs) frames += run.frames;
        EXPECT_EQ(frames, verdict.accepted ? c.frames : frames) << printable(c.text);
    }
    // The README and the notes on scripts state the bounds the rule applies.
    for (const std::string& document : {std::string(QUORVANDELLE_README), goldenPath("../../docs/scripts.md")}) {
        std::string text = fileText(document);
        for (size_t bound : {kMaxRecordingBytes, (size_t)kMaxPressFrames, kMaxLineBytes, kMaxTokenBytes}) {
            size_t at = text.find(std::to_string(bound));
            bool whole = at != std::string::npos && !isdigit((unsigned char)text[at - 1]) &&
                         !isdigit((unsigned char)text[at + std::to_string(bound).size()]);
            EXPECT_TRUE(whole) << document << " does not say " << bound;
        }
    }
    ReplayScript script; // the same reasons in the player's language
    EXPECT_EQ(acceptRecording(mine + "A\n", "partie gardée", KeptYear, CFG_LANGUAGE_FR, &script).refusal,
              "partie gardée: il n'a pas de graine");
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

// Playing at once counts the idle frames past the first few rather than playing them: the
// same year with idle runs of every length around that edge (a press's edit shows two
// frames later) ends in the same farm, picture and months as when every frame is played.
TEST(Replay, AtOnceTheIdleFramesChangeNothing) {
    ReplayScript script;
    std::string error, text = fileText(goldenPath("../e2e/breeding_farm.txt"));
    ASSERT_TRUE(parseReplayScript(text, "breeding_farm.txt", &script, &error)) << error;
    std::vector<ReplayRun> runs;
    const u64 idle[] = {1, 2, 3, 4, 5, 100};
    for (size_t i = 0; i < script.runs.size(); i++) {
        appendFrames(&runs, script.runs[i].buttons, script.runs[i].frames);
        appendFrames(&runs, 0, idle[i % 6]);
    }
    script.runs = runs;
    // Then a new game's first question, a number edited and not yet shown a frame later.
    const u32 tail[] = {KEY_A, 0, KEY_A, 0, KEY_DRIGHT};
    for (u32 buttons : tail) appendFrames(&script.runs, buttons, buttons ? 1 : 5);
    appendFrames(&script.runs, 0, 2);
    const char* paths[] = {"at_once.json", "at_once.png", "at_once.csv"};
    ASSERT_TRUE(playHeadless(script, *script.seed, CFG_LANGUAGE_FR, OutputPaths{paths[0], paths[1], paths[2]}));

    struct EveryFrame : ScriptPlayer {
        MonthHistory history;
        void presented(const u8*, const u8*) override { history.observe(farm); }
    } every;
    every.cursor.runs = &script.runs;
    every.history.reset(), every.history.everyYear = true;
    resetConsoleAndFarm(*script.seed, CFG_LANGUAGE_FR);
    hostConsoleSetFrontend(&every), appMain(), hostConsoleSetFrontend(nullptr);
    EXPECT_EQ(Values({farm.gameState, farm.inputValue, (long long)every.history.rows.size()}), Values({SellMales, 1, 12}));
    EXPECT_EQ(fileText(paths[0]), farmStateJson(farm));
    EXPECT_EQ(loadPng(paths[1]), composeScreenshot(hostPresentedTop(), hostPresentedBottom()));
    EXPECT_EQ(fileText(paths[2]), every.history.csv());
    for (const char* path : paths) remove(path);
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

#ifdef __GLIBC__
// The one rule for a path: a link is followed and the file it leads to written, the link
// left; a device or a FIFO is written where it is; what is replaced keeps its permissions.
TEST(OutputFile, LinksDevicesAndFifosAreWrittenThroughNeverReplaced) {
    std::string folder = ::testing::TempDir() + "files_test", error;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    auto at = [&](const char* name) { return folder + "/" + name; };
    ASSERT_TRUE(writeFileWhole(at("target"), "old", &error)) << error;
    chmod(at("target").c_str(), 0600);
    symlink("target", at("link").c_str()), symlink("missing", at("dangling").c_str());
    symlink("loop", at("loop").c_str());
    mkfifo(at("fifo").c_str(), 0600);
    // A twin of /dev/null of the test's own, where it may make one (as root), behind a link.
    bool device = mknod(at("device").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    symlink(device ? "device" : "target", at("null").c_str());
    for (const char* link : {"link", "dangling", "null"}) ASSERT_TRUE(writeFileWhole(at(link), "new", &error)) << error;
    std::string read;
    std::thread reader([&] { readFileWhole(at("fifo"), &read, &error, 100); });
    ASSERT_TRUE(writeFileWhole(at("fifo"), "through", &error)) << error;
    reader.join();
    int ends[2]; // /dev/stdout is such a link, to a pipe or a terminal
    ASSERT_EQ(pipe(ends), 0);
    ASSERT_TRUE(writeFileWhole("/proc/self/fd/" + std::to_string(ends[1]), "piped", &error)) << error;
    char piped[8] = {};
    EXPECT_EQ(Values({::read(ends[0], piped, sizeof piped - 1), strcmp(piped, "piped")}), Values({5, 0}));
    close(ends[0]), close(ends[1]);
    struct stat status;
    stat(at("target").c_str(), &status);
    EXPECT_EQ(Values({fileText(at("target")) == "new", fileText(at("missing")) == "new", status.st_mode & 0777, read == "through"}),
              Values({1, 1, 0600, 1}));
    for (const char* kept : {"link", "dangling", "null", "loop"}) EXPECT_TRUE(std::filesystem::is_symlink(at(kept))) << kept;
    EXPECT_TRUE((!device || std::filesystem::is_character_file(at("device"))) && std::filesystem::is_fifo(at("fifo")));
    EXPECT_FALSE(writeFileWhole(at("loop"), "x", &error));
    EXPECT_EQ(error, at("loop") + ": cannot write: Too many levels of symbolic links");
    // Read within a bound; what must be a regular file, refused at once, a FIFO too.
    EXPECT_FALSE(readFileWhole(at("target"), &read, &error, 2));
    EXPECT_EQ(error, at("target") + ": larger than 2 bytes");
    EXPECT_FALSE(readFileWhole(at("fifo"), &read, &error, 100, true));
    EXPECT_EQ(error, at("fifo") + ": cannot read: not a regular file");
    // Two paths name one file by the file they lead to, or by their folder and name.
    EXPECT_EQ(Values({fileIdentity(at("link")) == fileIdentity(at("target")), fileIdentity(at("new")) == fileIdentity(folder + "/./new"),
                      fileIdentity(at("new")) == fileIdentity(at("other"))}), Values({1, 1, 0}));
    // A program ended by a signal while it writes leaves no temporary file.
    pid_t writer = fork();
    if (writer == 0) {
        for (std::string big(1 << 24, 'x');;) writeFileWhole(at("big"), big, &error);
    }
    while (!std::filesystem::exists(at("big"))) usleep(1000);
    kill(writer, SIGTERM);
    int ended;
    waitpid(writer, &ended, 0);
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        EXPECT_NE(entry.path().extension(), ".part") << entry.path();
    }
    std::filesystem::remove_all(folder);
}
#endif

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
    // The help's sections, in their order, as the README names them.
    std::string sections;
    for (const HelpSection& section : helpSections(CFG_LANGUAGE_EN, WindowHelp)) {
        std::string title = section.title;
        for (size_t i = 1; i < title.size(); i++) title[i] = (char)tolower((unsigned char)title[i]);
        sections += (sections.empty() ? "\"" : ", then \"") + title + "\"";
    }
    std::string flowing = readme;
    std::replace(flowing.begin(), flowing.end(), '\n', ' ');
    EXPECT_NE(flowing.find("a page at each press: " + sections), std::string::npos) << sections;
    // The overlay writes the table's French in the game's font: capitals, no accents.
    EXPECT_EQ(inGameFont("Entrée, flèches, Échap, gâchette, à mi-course, ç"), "ENTREE, FLECHES, ECHAP, GACHETTE, A MI-COURSE, C");
    // The page's table: every row, its action named, in both languages.
    const char* const actions[] = {"button", "button", "button", "button", "button", "button", "digit", "erase",
                                   "help", "newyear", "layout", "fullscreen", "screenshot", "read"};
    ASSERT_EQ(kControlCount, sizeof actions / sizeof actions[0]);
    for (u8 language : {CFG_LANGUAGE_EN, CFG_LANGUAGE_FR}) {
        std::string json = controlsJson(language);
        size_t at = 0;
        for (size_t i = 0; i < kControlCount; i++) {
            const char* place = kControls[i].place == InWindow ? "window" : kControls[i].place == OnPage ? "page" : "both";
            std::string row = std::string("{\"action\":\"") + actions[i] + "\",\"place\":\"" + place + "\",\"what\":\"" +
                              controlText(kControls[i].what, language) + "\"";
            at = json.find(row, at);
            ASSERT_NE(at, std::string::npos) << row;
        }
    }
}

} // namespace
