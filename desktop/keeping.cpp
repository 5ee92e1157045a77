#include "desktop/keeping.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string_view>

#include "frontend/outputs.h"

namespace {

const char* const kLayoutNames[kLayoutCount] = {"both", "upper", "side-by-side"};

} // namespace

std::string stateFolder(void) {
    const char* state = getenv("XDG_STATE_HOME");
    // A relative XDG_STATE_HOME is invalid and is ignored, as the base directory rules say.
    if (state != nullptr && state[0] == '/') return std::string(state) + "/quorvandelle";
    const char* home = getenv("HOME");
    if (home != nullptr && home[0] != '\0') return std::string(home) + "/.local/state/quorvandelle";
    return "";
}

KeptGame readKeptGame(const std::string& path, ReplayScript* script, std::string* why) {
    std::string text;
    if (!readFileWhole(path, &text, why)) return errno == ENOENT ? NoKeptGame : KeptGameRefused;
    if (text.empty()) return NoKeptGame; // killed before its first line
    if (!parseReplayScript(text, path, script, why)) return KeptGameRefused;
    std::string mismatch = replayMismatch(*script, true);
    if (mismatch.empty() && !script->seed) mismatch = "it has no seed";
    if (!mismatch.empty()) {
        *why = path + ": " + mismatch;
        return KeptGameRefused;
    }
    cutAtStart(&script->runs);
    return KeptGameFound;
}

const char* layoutName(WindowLayout layout) { return kLayoutNames[layout]; }

WindowLayout readLayout(const std::string& path) {
    std::string text, error;
    if (!readFileWhole(path, &text, &error)) return BothScreens;
    std::string_view rest = text;
    while (!rest.empty()) {
        std::string_view line = rest.substr(0, rest.find('\n'));
        rest.remove_prefix(std::min(rest.size(), line.size() + 1));
        if (line.substr(0, 7) != "layout=") continue;
        for (int layout = 0; layout < kLayoutCount; layout++) {
            if (line.substr(7) == kLayoutNames[layout]) return (WindowLayout)layout;
        }
    }
    return BothScreens;
}

bool writeLayout(const std::string& path, WindowLayout layout, std::string* error) {
    return writeFileWhole(path, std::string("layout=") + kLayoutNames[layout] + "\n", error);
}
