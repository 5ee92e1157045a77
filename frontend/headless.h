// Playing headless from a script, and what the program leaves behind: the farm's state,
// the last frame presented and the year month by month.
#pragma once

#include <string>

#include "frontend/replay.h"

struct OutputPaths {
    std::string state;      // the farm as JSON; "-": standard output
    std::string screenshot; // the last frame presented, a PNG
    std::string history;    // the farm after each month's close, CSV
};

// Plays the script through the game's own loop, frames back to back, the rest of each run
// of idle frames counted rather than played; the system asks the program to close after
// its last frame. Writes the outputs; false, reported on standard error, when one could
// not be written.
bool playHeadless(const ReplayScript& script, u64 clockMs, u8 language, const OutputPaths& outputs);

// Writes the state and the last frame presented (after the window); false, reported on
// standard error, when one could not be written.
bool writeGameOutputs(const OutputPaths& outputs);
