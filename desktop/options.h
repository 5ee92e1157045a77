// The desktop program's command line.
#pragma once

#include <optional>
#include <string>

#include "platform/ctru.h"

struct Options {
    bool headless = false;
    std::string replayPath; // empty: no script; "-": standard input
    std::optional<u8> language;
    std::optional<u64> seed;
    std::string screenshotPath;
    std::string statePath;
    std::string historyPath; // headless: the farm after each month closes, as CSV

    // The window (not with --headless).
    int scale = 0;          // each console pixel is scale x scale window pixels; 0: fit the display
    std::string recordPath; // empty: no recording
};

// Parses the command line. Returns -1 when the game should run, otherwise the exit
// status (0 after --help or --version, 2 after an error, which it has reported).
int parseOptions(int argc, const char* const* argv, Options* options);

// The console language the desktop's locale asks for: French for fr*, else English.
u8 languageFromLocale(void);
