// The desktop program: reads the command line and the replay script, powers on the
// model of the console, runs the game's own loop, then writes what was asked for.
#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "app/app.h"
#include "game/farm.h"
#include "desktop/options.h"
#include "frontend/history.h"
#include "frontend/outputs.h"
#include "frontend/replay.h"
#include "platform/host_console.h"
#ifdef QUORVANDELLE_WINDOW
#include "desktop/window.h"
#endif

namespace {

// The headless player, noting each month as it closes.
struct HistoryPlayer : ScriptPlayer {
    MonthHistory history;
    void presented(const u8*, const u8*) override { history.observe(farm); }
};

bool writeOutputs(const Options& options, const MonthHistory* history = nullptr) {
    std::string error;
    bool ok = true;
    if (history != nullptr && !options.historyPath.empty() &&
        !writeFileWhole(options.historyPath, history->csv(), &error)) {
        fprintf(stderr, "quorvandelle: %s\n", error.c_str());
        ok = false;
    }
    if (!options.statePath.empty() && !writeFileWhole(options.statePath, farmStateJson(farm), &error)) {
        fprintf(stderr, "quorvandelle: %s\n", error.c_str());
        ok = false;
    }
    if (!options.screenshotPath.empty()) {
        std::vector<u8> rgb = composeScreenshot(hostPresentedTop(), hostPresentedBottom());
        if (!writePngWhole(options.screenshotPath, rgb, SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT, &error)) {
            fprintf(stderr, "quorvandelle: %s\n", error.c_str());
            ok = false;
        }
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    int status = parseOptions(argc, argv, &options);
    if (status >= 0) return status;

#ifndef QUORVANDELLE_WINDOW
    if (!options.headless) {
        fprintf(stderr, "quorvandelle: this build has no window; run it with --headless --replay FILE\n");
        return 2;
    }
#endif

    ReplayScript script;
    std::string text;
    std::string error;
    if ((!options.replayPath.empty() && !readFileWhole(options.replayPath, &text, &error)) ||
        !parseReplayScript(text, options.replayPath == "-" ? "<stdin>" : options.replayPath,
                           &script, &error)) {
        fprintf(stderr, "quorvandelle: %s\n", error.c_str());
        return 2;
    }

    u64 clock = options.seed ? *options.seed : script.seed ? *script.seed : clockNow();
    u8 language = options.language ? *options.language
                  : script.language ? *script.language
                                    : languageFromLocale();

#ifdef QUORVANDELLE_WINDOW
    if (!options.headless) {
        int played = playInWindow(options, script, clock, language);
        if (played == 2) return 2;
        return writeOutputs(options) && played == 0 ? 0 : 1;
    }
#endif

    HistoryPlayer replay;
    replay.cursor.runs = &script.runs;
    replay.history.reset();
    hostConsoleReset(clock, language);
    hostConsoleSetFrontend(&replay);
    appMain();
    hostConsoleSetFrontend(nullptr);
    replay.history.observe(farm); // a month closed in the frame START ended is never presented

    return writeOutputs(options, &replay.history) ? 0 : 1;
}
