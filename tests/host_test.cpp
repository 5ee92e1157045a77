// The desktop program's inputs and outputs: replay scripts, the command line,
// the state file and the screenshot.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include "host/options.h"
#include "host/outputs.h"
#include "host/replay.h"
#include "support/framebuffer.h"

namespace {

std::string parseError(const std::string& text) {
    ReplayScript script;
    std::string error;
    EXPECT_FALSE(parseReplayScript(text, "game.txt", &script, &error)) << text;
    return error;
}

ReplayScript parsed(const std::string& text) {
    ReplayScript script;
    std::string error;
    EXPECT_TRUE(parseReplayScript(text, "game.txt", &script, &error)) << error;
    return script;
}

std::vector<u32> frames(const ReplayScript& script) {
    std::vector<u32> all;
    ReplayCursor cursor;
    cursor.runs = &script.runs;
    u32 buttons;
    while (cursor.next(&buttons)) all.push_back(buttons);
    return all;
}

TEST(Replay, TokensCommentsSettingsAndRepeats) {
    ReplayScript script = parsed(
        "# a whole-line comment\n"
        "seed=18446744073709551615 language=fr\n"
        "a . dright*3 A+start#comment touching a token\n"
        "\t cpad_up+CPAD_DOWN+zl+ZR+x+y+b+select+l+r+dup+ddown+dleft+cpad_left+cpad_right\r\n"
        ".*2");
    EXPECT_EQ(script.seed, 18446744073709551615ull);
    EXPECT_EQ(script.language, CFG_LANGUAGE_FR);
    std::vector<u32> expected = {KEY_A, 0, KEY_DRIGHT, KEY_DRIGHT, KEY_DRIGHT, KEY_A | KEY_START,
                                 KEY_CPAD_UP | KEY_CPAD_DOWN | KEY_ZL | KEY_ZR | KEY_X | KEY_Y | KEY_B |
                                     KEY_SELECT | KEY_L | KEY_R | KEY_DUP | KEY_DDOWN | KEY_DLEFT |
                                     KEY_CPAD_LEFT | KEY_CPAD_RIGHT,
                                 0, 0};
    EXPECT_EQ(frames(script), expected);
}

TEST(Replay, AnEmptyScriptHasNoFrames) {
    EXPECT_TRUE(frames(parsed("")).empty());
    EXPECT_TRUE(frames(parsed("# nothing\n  seed=3\n")).empty());
}

TEST(Replay, LongRepeatsAreNotExpandedInMemory) {
    ReplayScript script = parsed("A*1000000000000 A*5 .");
    ASSERT_EQ(script.runs.size(), 2u);
    EXPECT_EQ(script.runs[0].frames, 1000000000005ull);
}

TEST(Replay, ErrorsNameTheLineAndColumn) {
    EXPECT_EQ(parseError("A\n  A+FOO"), "game.txt:2:3: unknown button 'FOO'");
    EXPECT_EQ(parseError("A+"), "game.txt:1:1: missing button name in 'A+'");
    EXPECT_EQ(parseError(". A seed=4"), "game.txt:1:5: setting 'seed' after the first frame; settings go first");
    EXPECT_NE(parseError("A*0").find("game.txt:1:1: bad repeat count '0'"), std::string::npos);
    EXPECT_NE(parseError("A*").find("bad repeat count"), std::string::npos);
    EXPECT_NE(parseError("A*-2").find("bad repeat count"), std::string::npos);
    EXPECT_NE(parseError("A*99999999999999999999").find("bad repeat count"), std::string::npos);
    EXPECT_NE(parseError("seed=-1").find("bad seed '-1'"), std::string::npos);
    EXPECT_NE(parseError("seed=18446744073709551616").find("bad seed"), std::string::npos);
    EXPECT_NE(parseError("language=de").find("bad language 'de'"), std::string::npos);
    EXPECT_NE(parseError("language=256").find("bad language"), std::string::npos);
    EXPECT_NE(parseError("speed=2").find("unknown setting 'speed'"), std::string::npos);
    EXPECT_NE(parseError("..").find("unknown button '..'"), std::string::npos);
    EXPECT_NE(parseError(".+A").find("unknown button '.'"), std::string::npos);
}

TEST(Replay, FormattedScriptsReadBackTheSame) {
    ReplayScript script;
    script.seed = 99;
    script.language = 7;
    for (u32 i = 0; i < 40; i++) script.runs.push_back({(i % 2) ? KEY_A | KEY_CPAD_DOWN : 0, i + 1});
    std::string text = formatReplayScript(script);
    ReplayScript back = parsed(text);
    EXPECT_EQ(back.seed, script.seed);
    EXPECT_EQ(back.language, script.language);
    EXPECT_EQ(frames(back), frames(script));
    EXPECT_EQ(formatButtons(0), ".");
    EXPECT_EQ(formatButtons(KEY_START | KEY_A), "A+START");
}

int parse(std::vector<const char*> args, Options* options) {
    args.insert(args.begin(), "quorvandelle");
#if GTEST_HAS_STREAM_REDIRECTION
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    int status = parseOptions((int)args.size(), args.data(), options);
    testing::internal::GetCapturedStdout();
    std::string errors = testing::internal::GetCapturedStderr();
    if (status == 2) {
        EXPECT_EQ(errors.find('\n'), errors.size() - 1) << "one line: " << errors;
    }
    return status;
#else
    return parseOptions((int)args.size(), args.data(), options);
#endif
}

TEST(CommandLine, GoodOptions) {
    Options options;
    EXPECT_EQ(parse({"--headless", "--replay", "-", "--seed", "18446744073709551615", "--language",
                     "fr", "--state", "s.json", "--screenshot", "s.png"},
                    &options),
              -1);
    EXPECT_TRUE(options.headless);
    EXPECT_EQ(options.replayPath, "-");
    EXPECT_EQ(options.seed, 18446744073709551615ull);
    EXPECT_EQ(options.language, CFG_LANGUAGE_FR);
    EXPECT_EQ(options.statePath, "s.json");
    EXPECT_EQ(options.screenshotPath, "s.png");

    Options numeric;
    EXPECT_EQ(parse({"--language", "255", "--seed", "0"}, &numeric), -1);
    EXPECT_EQ(numeric.language, 255);
    EXPECT_EQ(numeric.seed, 0u);
    EXPECT_FALSE(numeric.headless);
}

TEST(CommandLine, BadOptionsAreErrors) {
    const std::vector<std::vector<const char*>> bad = {
        {"--frobnicate"},
        {"--seed", "12x"},
        {"--seed", "-1"},
        {"--seed", "18446744073709551616"},
        {"--language", "de"},
        {"--language", "256"},
        {"--replay"},
        {"--headless"},
        {"stray"},
    };
    for (const auto& args : bad) {
        Options options;
        EXPECT_EQ(parse(args, &options), 2) << args[0];
    }
}

TEST(CommandLine, HelpAndVersionExitCleanly) {
    Options options;
    EXPECT_EQ(parse({"--help"}, &options), 0);
    EXPECT_EQ(parse({"--version"}, &options), 0);
}

TEST(CommandLine, LanguageFollowsTheLocale) {
    struct Case {
        const char* all;
        const char* messages;
        const char* lang;
        u8 expected;
    };
    const Case cases[] = {
        {"fr_FR.UTF-8", "en_US", "en_US", CFG_LANGUAGE_FR},
        {"", "fr_CA", "en_US", CFG_LANGUAGE_FR},
        {nullptr, "de_DE", "fr_FR", CFG_LANGUAGE_EN},
        {nullptr, nullptr, "fr", CFG_LANGUAGE_FR},
        {nullptr, nullptr, "C", CFG_LANGUAGE_EN},
        {nullptr, nullptr, nullptr, CFG_LANGUAGE_EN},
    };
    for (const Case& c : cases) {
        const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
        const char* values[] = {c.all, c.messages, c.lang};
        for (int i = 0; i < 3; i++) {
            if (values[i]) setenv(names[i], values[i], 1);
            else unsetenv(names[i]);
        }
        EXPECT_EQ(languageFromLocale(), c.expected) << (c.lang ? c.lang : "(none)");
    }
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    unsetenv("LANG");
}

TEST(StateFile, EveryFieldByNameFloatsReadBackExactly) {
    FarmState state{};
    state.gameState = GameOver;
    state.cash = 0.1f + 0.2f;
    state.hamsterPrice = 1.1f;
    state.breedingValue = 16777217.0f;
    state.keysDown = 0x80000000u;
    state.foodStock = -7;
    std::string json = farmStateJson(state);
    const char* names[] = {"gameState", "showIntro", "showImpossible", "inputValue", "keysDown",
                           "adultMales", "youngMales", "maleCages", "malesPerCage",
                           "adultFemales", "youngFemales", "femaleCages", "femalesPerCage",
                           "foodStock", "cash", "hamsterPrice", "month", "deadOfHunger",
                           "deadSuffocated", "breedingValue", "malesToSell", "femalesToSell",
                           "couplingsRequested", "foodToBuy", "maleCagesToBuy",
                           "femaleCagesToBuy", "systemLanguage"};
    for (const char* name : names) {
        EXPECT_NE(json.find("\"" + std::string(name) + "\": "), std::string::npos) << name;
    }
    EXPECT_NE(json.find("\"keysDown\": 2147483648"), std::string::npos);
    EXPECT_NE(json.find("\"foodStock\": -7"), std::string::npos);
    size_t at = json.find("\"cash\": ") + 8;
    EXPECT_EQ(strtof(json.c_str() + at, nullptr), state.cash);
    at = json.find("\"hamsterPrice\": ") + 16;
    EXPECT_EQ(strtof(json.c_str() + at, nullptr), 1.1f);
    EXPECT_EQ(json.front(), '{');
    EXPECT_EQ(json.substr(json.size() - 2), "}\n");
}

TEST(Screenshot, BothScreensInTheirPlaces) {
    std::vector<u8> top(TOP_FRAMEBUFFER_BYTES, 0), bottom(BOTTOM_FRAMEBUFFER_BYTES, 0);
    // Upper screen: column 5, row 7 in blue-green-red order.
    u8* p = top.data() + 3 * (240 * 5 + 239 - 7);
    p[0] = 1, p[1] = 2, p[2] = 3;
    u8* q = bottom.data() + 3 * (240 * 319 + 239 - 239); // lower screen's last column, bottom row
    q[0] = 4, q[1] = 5, q[2] = 6;
    std::vector<u8> rgb = composeScreenshot(top.data(), bottom.data());
    ASSERT_EQ(rgb.size(), 400u * 480u * 3u);
    const u8* upper = &rgb[3 * (7 * 400 + 5)];
    EXPECT_EQ(upper[0], 3);
    EXPECT_EQ(upper[1], 2);
    EXPECT_EQ(upper[2], 1);
    const u8* lower = &rgb[3 * (479 * 400 + 359)];
    EXPECT_EQ(lower[0], 6);
    EXPECT_EQ(lower[1], 5);
    EXPECT_EQ(lower[2], 4);
    size_t lit = 0;
    for (u8 byte : rgb) lit += byte != 0;
    EXPECT_EQ(lit, 6u);

    std::vector<u8> black = composeScreenshot(nullptr, nullptr);
    for (u8 byte : black) ASSERT_EQ(byte, 0);
}

TEST(Screenshot, PngDecodesToTheSamePixels) {
    std::vector<u8> rgb(400 * 480 * 3);
    for (size_t i = 0; i < rgb.size(); i++) rgb[i] = (u8)(i * 7 + i / 1200);
    std::string png = encodePng(rgb, 400, 480);
    int width = 0, height = 0, channels = 0;
    u8* decoded = stbi_load_from_memory((const u8*)png.data(), (int)png.size(), &width, &height,
                                        &channels, 0);
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 480);
    EXPECT_EQ(channels, 3);
    EXPECT_EQ(memcmp(decoded, rgb.data(), rgb.size()), 0);
    stbi_image_free(decoded);
}

TEST(OutputFile, WrittenWholeOrNotAtAll) {
    std::string error;
    EXPECT_FALSE(writeFileWhole("no-such-folder/state.json", "{}", &error));
    EXPECT_NE(error.find("no-such-folder/state.json: cannot write"), std::string::npos);

    std::string path = "output_file_test.json";
    ASSERT_TRUE(writeFileWhole(path, "first", &error)) << error;
    ASSERT_TRUE(writeFileWhole(path, "second", &error)) << error;
    FILE* file = fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    char text[16] = {};
    size_t got = fread(text, 1, sizeof text - 1, file);
    fclose(file);
    EXPECT_EQ(std::string(text, got), "second");
    EXPECT_EQ(fopen((path + ".part").c_str(), "rb"), nullptr);
    remove(path.c_str());
}

} // namespace
