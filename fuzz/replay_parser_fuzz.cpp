// Fuzzes the replay-script parser with arbitrary bytes. Whatever it is given, it either
// refuses with one line "fuzz.txt:LINE:COLUMN: what", or returns a script whose own
// text reads back as the same script.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "frontend/replay.h"

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail) {
    fprintf(stderr, "replay_parser_fuzz: %s: %s\n", what, detail.c_str());
    abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReplayScript script;
    std::string error;
    if (!parseReplayScript(std::string_view((const char*)data, size), "fuzz.txt", &script, &error)) {
        unsigned line = 0, column = 0;
        int end = 0;
        if (sscanf(error.c_str(), "fuzz.txt:%u:%u: %n", &line, &column, &end) != 2 || end == 0 ||
            line == 0 || column == 0 || error.find('\n') != std::string::npos) {
            fail("an unclear error", error);
        }
        return 0;
    }
    std::string text = formatReplayScript(script); // a run of no frame or of unknown buttons would not read back
    ReplayScript back;
    if (!parseReplayScript(text, "again.txt", &back, &error)) fail("its own text refused", error);
    bool same = back.seed == script.seed && back.language == script.language && back.runs.size() == script.runs.size();
    for (size_t i = 0; same && i < back.runs.size(); i++) {
        same = back.runs[i].buttons == script.runs[i].buttons && back.runs[i].frames == script.runs[i].frames;
    }
    if (!same) fail("its own text reads back otherwise", text);
    return 0;
}
