// Checks a headless run of the quorvandelle program against the game's own loop run
// here, in this build: same CPU, same C library and so the same random draws. The
// program's state file and screenshot must be byte for byte what the loop leaves
// behind for the same script, clock and language. The script must close at least two
// months without a refusal, so that litters and prices were drawn.
//
// Usage: replay_check SCRIPT CLOCK_MS LANGUAGE STATE_FILE SCREENSHOT_FILE
#include <stdio.h>

#include <string>

#include "app/app.h"
#include "game/farm.h"
#include "host/outputs.h"
#include "host/replay.h"
#include "platform/host_console.h"

namespace {

struct Replay : HostFrontend {
    ReplayCursor cursor;
    u32 buttons = 0;
    bool keepRunning() override { return cursor.next(&buttons); }
    void sampleButtons(u32* held, u32* pressed) override {
        *held = 0;
        *pressed = buttons;
    }
};

bool readFile(const char* path, std::string* text) {
    FILE* file = fopen(path, "rb");
    if (file == nullptr) return false;
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) text->append(chunk, got);
    fclose(file);
    return true;
}

bool sameFile(const char* path, const std::string& expected) {
    std::string actual;
    if (!readFile(path, &actual)) {
        fprintf(stderr, "replay_check: %s: cannot read\n", path);
        return false;
    }
    if (actual == expected) return true;
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) at++;
    // Debian's newlib prints no %zu.
    fprintf(stderr, "replay_check: %s differs from the game loop's from byte %lu (%lu bytes, expected %lu)\n",
            path, (unsigned long)at, (unsigned long)actual.size(), (unsigned long)expected.size());
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        fprintf(stderr, "usage: replay_check SCRIPT CLOCK_MS LANGUAGE STATE_FILE SCREENSHOT_FILE\n");
        return 2;
    }
    std::string text;
    ReplayScript script;
    std::string error;
    std::optional<u64> clock = parseU64(argv[2]);
    std::optional<u8> language = parseLanguage(argv[3]);
    if (!readFile(argv[1], &text) || !parseReplayScript(text, argv[1], &script, &error) || !clock ||
        !language) {
        fprintf(stderr, "replay_check: bad arguments %s\n", error.c_str());
        return 2;
    }

    Replay replay;
    replay.cursor.runs = &script.runs;
    hostConsoleReset(*clock, *language);
    hostConsoleSetFrontend(&replay);
    appMain();
    hostConsoleSetFrontend(nullptr);

    if (farm.month < 3 || farm.showImpossible) {
        fprintf(stderr, "replay_check: %s closes fewer than two months or ends on a refusal\n", argv[1]);
        return 1;
    }
    std::string png = encodePng(composeScreenshot(hostPresentedTop(), hostPresentedBottom()),
                                SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT);
    bool same = sameFile(argv[4], farmStateJson(farm));
    same = sameFile(argv[5], png) && same;
    return same ? 0 : 1;
}
