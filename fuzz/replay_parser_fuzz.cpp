// Fuzzes the replay-script parser with arbitrary bytes. Whatever it is given, it
// either refuses with one clear line naming the script, line and column, or returns a
// script that makes sense: every run at least one frame of known buttons, and the
// script's own text reads back as the same script.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <string_view>

#include "host/replay.h"

namespace {

const u32 kKnownButtons = KEY_A | KEY_B | KEY_SELECT | KEY_START | KEY_DRIGHT | KEY_DLEFT |
                          KEY_DUP | KEY_DDOWN | KEY_R | KEY_L | KEY_X | KEY_Y | KEY_ZL | KEY_ZR |
                          KEY_CPAD_RIGHT | KEY_CPAD_LEFT | KEY_CPAD_UP | KEY_CPAD_DOWN;

[[noreturn]] void fail(const char* what, const std::string& detail) {
    fprintf(stderr, "replay_parser_fuzz: %s: %s\n", what, detail.c_str());
    abort();
}

bool sameScript(const ReplayScript& a, const ReplayScript& b) {
    if (a.seed != b.seed || a.language != b.language || a.runs.size() != b.runs.size()) {
        return false;
    }
    for (size_t i = 0; i < a.runs.size(); i++) {
        if (a.runs[i].buttons != b.runs[i].buttons || a.runs[i].frames != b.runs[i].frames) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text((const char*)data, size);
    ReplayScript script;
    std::string error;
    if (!parseReplayScript(text, "fuzz.txt", &script, &error)) {
        // "fuzz.txt:LINE:COLUMN: what is wrong", on one line.
        size_t line = error.find(':');
        size_t column = line == std::string::npos ? line : error.find(':', line + 1);
        size_t what = column == std::string::npos ? column : error.find(": ", column + 1);
        if (error.rfind("fuzz.txt:", 0) != 0 || what == std::string::npos ||
            error.find('\n') != std::string::npos) {
            fail("an unclear error", error);
        }
        for (size_t i = line + 1; i < what; i++) {
            if (i != column && (error[i] < '0' || error[i] > '9')) fail("no line and column", error);
        }
        return 0;
    }
    for (const ReplayRun& run : script.runs) {
        if (run.frames == 0) fail("a run of no frame", formatReplayScript(script));
        if (run.buttons & ~kKnownButtons) fail("an unknown button", formatReplayScript(script));
    }
    std::string again = formatReplayScript(script);
    ReplayScript back;
    if (!parseReplayScript(again, "again.txt", &back, &error)) fail("its own text refused", error);
    if (!sameScript(script, back)) fail("its own text reads back otherwise", again);
    return 0;
}
