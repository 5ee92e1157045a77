// What a frame costs, the same program built for the desktop and for the browser's
// WebAssembly (bench/browser-frame.mjs runs both): the heaviest frame drawn and
// presented, and a frame of the game's own loop playing a year from a script; and what
// the player takes to bring back a kept year that holds a week of idle frames (a window
// left open), at once. Prints the fastest of seven runs (other work on the machine only
// ever slows a run down), in microseconds a frame and milliseconds:
//   heaviest_frame_us 17.8
//   loop_frame_us 12.1
//   resume_week_ms 3.1
#include <stdio.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "app/app.h"
#include "frontend/home.h"
#include "frontend/player.h"
#include "game/farm.h"
#include "gfx/render.h"
#include "frontend/replay.h"
#include "platform/host_console.h"
#include "screens/screens.h"
#include "bench/scenes.h"

#ifndef FRAME_COST_SCRIPT
#error "FRAME_COST_SCRIPT names the year's script"
#endif

namespace {

double nowUs(void) {
    using namespace std::chrono;
    return (double)duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count() / 1000.0;
}

// Seven runs of `work`, each `frames` frames long: the fastest, a frame.
template <typename Work> double fastestUs(u64 frames, Work work) {
    double fastest = 1e30;
    for (int run = 0; run < 7; run++) {
        double start = nowUs();
        work();
        fastest = std::min(fastest, (nowUs() - start) / (double)frames);
    }
    return fastest;
}

// The kept year the player brings back: the script's year, a week of frames idle in the
// middle of it.
std::string keptWeek;
bool resumed = false;

} // namespace

// A home that keeps that year and closes once the player has brought it back.
void homeButtons(u32* held, u32* pressed) { *held = *pressed = 0, resumed = true; }
void homeShow(const u8*) {}
u64 homeNowNs(void) { return 0; }
void homeSleepUntilNs(u64) {}
bool homePaused(void) { return false; }
void homeWaitWhilePaused(void) {}
bool homeClosing(void) { return resumed; }
bool homeHoldYear(bool, std::string*) { return true; }
KeptRead homeReadKept(std::string* text, std::string*) { return *text = keptWeek, KeptFound; }
bool homeKeepWhole(const std::string&, std::string*) { return true; }
bool homeKeepLines(const std::string&, std::string*) { return true; }
void homeTell(NoticeKind, const std::string&) {}
int homeAsk(const std::string&, const std::string&, const std::string&) { return 0; }
void homeYear(const std::string&) {}
void homeAdvice(const std::vector<std::string>&) {}
void homeSay(const std::string&) {}

int main() {
    std::string text, error;
    FILE* file = fopen(FRAME_COST_SCRIPT, "rb");
    char chunk[4096];
    for (size_t got; file != nullptr && (got = fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, got);
    ReplayScript script;
    if (file == nullptr || !parseReplayScript(text, FRAME_COST_SCRIPT, &script, &error)) {
        fprintf(stderr, "frame_cost: cannot read %s %s\n", FRAME_COST_SCRIPT, error.c_str());
        return 1;
    }
    if (file) fclose(file);

    const u64 kHeavyFrames = 2000;
    hostConsoleReset(0, CFG_LANGUAGE_FR);
    gfxInitDefault();
    double heaviest = fastestUs(kHeavyFrames, [] {
        for (u64 i = 0; i < kHeavyFrames; i++) {
            heaviestMonthFarm();
            drawScreen();
            clearBottomScreen();
            gfxFlushBuffers();
            gfxSwapBuffers();
        }
    });

    const int kGames = 20;
    u64 frames = 0;
    for (const ReplayRun& run : script.runs) frames += run.frames;
    ScriptPlayer replay;
    double loop = fastestUs(frames * kGames, [&] {
        for (int game = 0; game < kGames; game++) {
            replay.cursor = ReplayCursor{&script.runs};
            hostConsoleReset(7, CFG_LANGUAGE_FR);
            farm = FarmState{};
            hostConsoleSetFrontend(&replay);
            appMain();
            hostConsoleSetFrontend(nullptr);
        }
    });
    ReplayScript week = script;
    week.runs.clear();
    const u64 kWeekOfFrames = 7ull * 24 * 3600 * kTicksPerSecond / kTicksPerFrame;
    for (size_t i = 0; i < script.runs.size(); i++) {
        appendFrames(&week.runs, script.runs[i].buttons, script.runs[i].frames);
        if (i == script.runs.size() / 2) appendFrames(&week.runs, 0, kWeekOfFrames);
    }
    week.version = programVersion(), week.draws = drawsHere();
    keptWeek = formatReplayScript(week);
    PlayerSetup setup;
    setup.keeping = KeepYear;
    double resume = fastestUs(1, [&] {
        resumed = false;
        playerRun(setup);
    });
    printf("heaviest_frame_us %.2f\nloop_frame_us %.2f\nresume_week_ms %.2f\n", heaviest, loop, resume / 1000);
    return 0;
}
