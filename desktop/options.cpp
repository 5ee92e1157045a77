#include "desktop/options.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <CLI/CLI.hpp>

#include "frontend/controls.h"
#include "frontend/replay.h"

namespace {

// What the buttons do, true of every way to play.
#define QUORVANDELLE_BUTTONS                                                                  \
    "A confirms. On a question, right and left (the D-pad or the Circle Pad) change the\n"     \
    "number by 1, up and down by 10, R and L by 100. START leaves the game.\n"

#ifdef QUORVANDELLE_WINDOW
const char kDescription[] =
    "Quorvandelle: run a hamster breeding farm for twelve months.\n"
    "Without --headless the game opens in a window. The window keeps the game as it goes,\n"
    "in $XDG_STATE_HOME/quorvandelle (~/.local/state/quorvandelle), and brings it back\n"
    "when it opens again; --record, --replay and --seed leave the kept game alone.\n" QUORVANDELLE_BUTTONS;
#else
const char kDescription[] =
    "Quorvandelle: run a hamster breeding farm for twelve months.\n"
    "This build has no window: play it with --headless --replay FILE.\n" QUORVANDELLE_BUTTONS;
#endif

std::string checkLanguage(const std::string& text) {
    return parseLanguage(text) ? "" : "'" + text + "' is not en, fr or a language code from 0 to 255";
}

#ifdef QUORVANDELLE_WINDOW
std::string checkScale(const std::string& text) {
    std::optional<u64> scale = parseU64(text);
    if (!scale) return "'" + text + "' is not a number";
    return *scale >= 1 && *scale <= 16 ? "" : "'" + text + "' is not from 1 to 16";
}
#endif

std::string checkSeed(const std::string& text) {
    return parseU64(text) ? "" : "'" + text + "' is not a whole number from 0 to 18446744073709551615";
}

// After the table of controls, what holds for every key.
[[maybe_unused]] const char kWindowHelp[] =
    "Letter keys count by their place on a US keyboard and by what is written on them.\n"
    "With --replay the window plays the script at the console's pace, then the keys\n"
    "take over.\n";

// --help and --version: 0 once printed whole, 1 when standard output refused it.
int printed(const std::string& text) {
    if (fwrite(text.data(), 1, text.size(), stdout) == text.size() && fflush(stdout) == 0) return 0;
    fprintf(stderr, "quorvandelle: standard output: cannot write: %s\n", strerror(errno));
    return 1;
}

} // namespace

u8 languageFromLocale(void) {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = getenv(name);
        if (value == nullptr || value[0] == '\0') continue;
        return (value[0] == 'f' && value[1] == 'r') ? (u8)CFG_LANGUAGE_FR : (u8)CFG_LANGUAGE_EN;
    }
    return CFG_LANGUAGE_EN;
}

int parseOptions(int argc, const char* const* argv, Options* options) {
    CLI::App app(kDescription, "quorvandelle");
    std::string language;
    std::string seed;
    std::string scale;
    app.add_flag("--headless", options->headless,
                 "no window; frames run back to back with no pacing; needs --replay");
    app.add_option("--replay", options->replayPath,
                   "buttons from FILE ('-' = standard input), one token a frame; in headless "
                   "mode the program is asked to close after the script's last frame")
        ->type_name("FILE");
    app.add_option("--language", language,
                   "en, fr, or a numeric console language code 0-255; default: the locale "
                   "(LC_ALL, then LC_MESSAGES, then LANG): French for fr*, else English (code 1)")
        ->type_name("LANG")
        ->check(checkLanguage);
    app.add_option("--seed", seed,
                   "the console clock reads N ms at start-up (0 <= N < 2^64), so the game's random "
                   "seed is N's low 32 bits; default: the real clock")
        ->type_name("N")
        ->check(checkSeed);
    app.add_option("--screenshot", options->screenshotPath,
                   "at exit, write the last frame the console presented as a PNG, 400x480 RGB: "
                   "the upper screen in rows 0-239, the lower screen at x 40-359 of rows 240-479; "
                   "that frame was drawn before its own buttons took effect, so a script that "
                   "ends on a press shows the screen before it ('-' = standard output)")
        ->type_name("FILE");
    app.add_option("--state", options->statePath,
                   "at exit, write the farm's state as one JSON object, a member per field ('-' = standard output)")
        ->type_name("FILE");
    app.add_option("--history", options->historyPath,
                   "headless only: at exit, write the farm after each month closed as CSV, a row "
                   "a month (month = the month that closed, 1-12), columns named as in --state")
        ->type_name("FILE");
#ifdef QUORVANDELLE_WINDOW
    app.add_option("--scale", scale,
                   "window only: each console pixel as N x N window pixels, N from 1 to 16; "
                   "default and at most: the largest that fits the display")
        ->type_name("N")
        ->check(checkScale);
    app.add_option("--record", options->recordPath,
                   "window only: write the session as it is played, line by line, as a replay script "
                   "(with its seed and language) that --headless --replay plays to the same end")
        ->type_name("FILE");
    app.footer(controlsHelp() + kWindowHelp);
#endif
    // Given twice, an option is named in the program's words, not the parser's.
    for (CLI::Option* option : app.get_options()) {
        if (option->get_expected_max() > 0) option->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    }
    app.set_version_flag("--version", std::string("quorvandelle ") + programVersion());

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        return printed(app.help());
    } catch (const CLI::CallForVersion& version) {
        return printed(std::string(version.what()) + "\n");
    } catch (const CLI::ParseError& failure) {
        fprintf(stderr, "quorvandelle: %s (see --help)\n", failure.what());
        return 2;
    }
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_expected_max() > 0 && option->count() > 1) {
            fprintf(stderr, "quorvandelle: %s is given %zu times; give it once (see --help)\n",
                    option->get_name().c_str(), option->count());
            return 2;
        }
    }
    if (!language.empty()) options->language = parseLanguage(language);
    if (!seed.empty()) options->seed = parseU64(seed);
    if (!scale.empty()) options->scale = (int)*parseU64(scale);
#ifdef QUORVANDELLE_WINDOW
    for (const char* windowOnly : {"--scale", "--record"}) {
        if (options->headless && app.count(windowOnly) > 0) {
            fprintf(stderr, "quorvandelle: %s is for the window, not --headless (see --help)\n", windowOnly);
            return 2;
        }
    }
#endif
    if (!options->headless && !options->historyPath.empty()) {
        fprintf(stderr, "quorvandelle: --history is for --headless, not the window (see --help)\n");
        return 2;
    }
    if (options->headless && options->replayPath.empty()) {
        fprintf(stderr, "quorvandelle: --headless needs --replay FILE (see --help)\n");
        return 2;
    }
    return -1;
}
