// The desktop program: reads the command line and the replay script, then plays it
// headless or opens the window.
#include <stdio.h>

#include <string>
#include <vector>

#include "desktop/options.h"
#include "frontend/files.h"
#include "frontend/headless.h"
#include "frontend/outputs.h"
#include "frontend/pacing.h"
#include "frontend/recording.h"
#include "frontend/replay.h"
#ifdef QUORVANDELLE_WINDOW
#include "desktop/window.h"
#include "frontend/player.h"

namespace {

// The game in a window: opens it, brings back the kept year (unless the command line
// names a script, a seed or a recording), and plays until it is closed or START is
// pressed, the session written as it goes. Returns the exit status: 0; 1 when the
// recording could not be written whole; 2 when there is no display (reported).
int playInWindow(const Options& options, const ReplayScript& script, u64 clockMs, u8 language) {
    WindowSettings settings;
    settings.scale = options.scale;
    settings.language = language;
    const std::string folder = stateFolder();
    if (!folder.empty()) {
        settings.settingsPath = folder + "/settings.txt";
        settings.layout = readLayout(settings.settingsPath);
    }
    PlayerSetup setup;
    setup.language = language;
    setup.languageAsked = options.language.has_value();
    setup.seed = clockMs;
    // The script plays with the seed and language the command line and it settled.
    ReplayScript played = script;
    played.seed = clockMs, played.language = language;
    setup.script = options.replayPath.empty() ? nullptr : &played;
    // The year is kept unless the command line says which game to play or where it goes.
    settings.keepsYear = !folder.empty() && options.recordPath.empty() && options.replayPath.empty() && !options.seed;
    if (settings.keepsYear) setup.keeping = KeepYear, keepSessionAt(folder + "/game.txt");
    if (!options.recordPath.empty()) setup.keeping = KeepRecording, keepSessionAt(options.recordPath);
    std::string error;
    if (!openWindow(settings, &error)) {
        fprintf(stderr, "quorvandelle: %s; to play without a window, run it with --headless --replay FILE\n", error.c_str());
        return 2;
    }
    bool written = playerRun(setup);
    closeWindow();
    return written ? 0 : 1;
}

} // namespace
#endif

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

    // Every output must have a place of its own before anything is played: none names a
    // folder or goes into one that is not there, and no two name the same file, nor the
    // script being played.
    const std::pair<const char*, const std::string*> named[] = {{"--state", &options.statePath},
        {"--screenshot", &options.screenshotPath}, {"--history", &options.historyPath}, {"--record", &options.recordPath}};
    for (size_t i = 0; i < sizeof named / sizeof named[0]; i++) {
        const std::string& path = *named[i].second;
        std::string error;
        if (path.empty()) continue;
        if (!outputPathUsable(path, &error)) {
            fprintf(stderr, "quorvandelle: %s\n", error.c_str());
            return 2;
        }
        std::vector<std::pair<const char*, const std::string*>> others(named, named + i);
        if (path != "-") others.push_back({"--replay", &options.replayPath});
        for (const auto& [option, other] : others) {
            if (other->empty() || !(fileIdentity(*other) == fileIdentity(path))) continue;
            if (path == "-") {
                fprintf(stderr, "quorvandelle: %s and %s cannot both go to standard output\n", option, named[i].first);
            } else {
                fprintf(stderr, "quorvandelle: %s and %s name the same file (%s); give each its own\n", option,
                        named[i].first, printable(path, 200).c_str());
            }
            return 2;
        }
    }

    // The script goes by the rule every recording goes by: refused, nothing is played.
    ReplayScript script;
    if (!options.replayPath.empty()) {
        RecordingVerdict verdict = readRecording(options.replayPath, ReplayOption, CFG_LANGUAGE_EN, &script);
        if (!verdict.accepted) {
            fprintf(stderr, "quorvandelle: %s\n", verdict.refusal.c_str());
            return 2;
        }
        if (!verdict.warning.empty()) fprintf(stderr, "quorvandelle: %s\n", verdict.warning.c_str());
    }

    u64 clock = options.seed ? *options.seed : script.seed ? *script.seed : clockNowMs();
    u8 language = options.language ? *options.language
                  : script.language ? *script.language
                                    : languageFromLocale();
    OutputPaths outputs{options.statePath, options.screenshotPath, options.historyPath};

#ifdef QUORVANDELLE_WINDOW
    if (!options.headless) {
        int played = playInWindow(options, script, clock, language);
        if (played == 2) return 2;
        return writeGameOutputs(outputs) && played == 0 ? 0 : 1;
    }
#endif
    return playHeadless(script, clock, language, outputs) ? 0 : 1;
}
