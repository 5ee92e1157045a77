// What a frame costs: the clear of both screens (the floor every frame pays), whole
// frames of each kind as a multiple of that floor, the month close at its worst, and
// a recorded game replayed back to back.
#include <benchmark/benchmark.h>
#include <stdio.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "game/farm.h"
#include "gfx/render.h"
#include "frontend/replay.h"
#include "platform/host_console.h"
#include "screens/screens.h"
#include "bench/scenes.h"

#ifndef BENCH_REPLAY_FILE
#error "BENCH_REPLAY_FILE names the recorded game"
#endif

namespace {

const char kFloorName[] = "ClearBothScreens";

// Hands the same keys to every scan; the system never asks to close.
struct SteadyKeys : HostFrontend {
    u32 keys = 0;
    bool keepRunning() override { return true; }
    void sampleButtons(u32* held, u32* pressed) override {
        *held = 0;
        *pressed = keys;
    }
};

struct ScriptFrontend : HostFrontend {
    ReplayCursor cursor;
    u32 buttons = 0;
    u64 frames = 0;
    bool keepRunning() override {
        if (!cursor.next(&buttons)) return false;
        frames++;
        return true;
    }
    void sampleButtons(u32* held, u32* pressed) override {
        *held = 0;
        *pressed = buttons;
    }
};

void powerOn(u8 language) {
    hostConsoleSetFrontend(nullptr);
    hostConsoleReset(0, language);
    farm = FarmState{};
    farm.systemLanguage = language;
    gfxInitDefault();
}

void heaviestMonthScreen(void) {
    powerOn(CFG_LANGUAGE_FR);
    heaviestMonthFarm();
}

// As the frame loop draws: into the back buffers, which are then presented, so
// that each frame gets the other buffer of each pair.
void drawFrame(benchmark::State& state) {
    for (auto _ : state) {
        drawScreen();
        clearBottomScreen();
        benchmark::DoNotOptimize(topFramebuffer[0]);
        gfxFlushBuffers();
        gfxSwapBuffers();
    }
}

// The least any frame does: both screens cleared, nothing drawn.
void ClearBothScreens(benchmark::State& state) {
    powerOn(CFG_LANGUAGE_FR);
    for (auto _ : state) {
        clearTopScreen();
        clearBottomScreen();
        benchmark::DoNotOptimize(topFramebuffer[0]);
        gfxFlushBuffers();
        gfxSwapBuffers();
    }
}

void FrameRules(benchmark::State& state) {
    powerOn(CFG_LANGUAGE_FR);
    farm.showIntro = 1;
    drawFrame(state);
}

void FrameMonthPhase7Impossible(benchmark::State& state) {
    heaviestMonthScreen();
    drawFrame(state);
}

void FrameEnd(benchmark::State& state) {
    powerOn(CFG_LANGUAGE_FR);
    heaviestEndFarm();
    drawFrame(state);
}

// Accepts the sixth answer of a month with nothing to pay: the month closes.
void closeMonthFrom(const FarmState& start, benchmark::State& state) {
    SteadyKeys keyA;
    keyA.keys = KEY_A;
    hostConsoleReset(0, CFG_LANGUAGE_EN);
    hostConsoleSetFrontend(&keyA);
    for (auto _ : state) {
        state.PauseTiming();
        farm = start;
        srand(1);
        state.ResumeTiming();
        updateGame();
    }
    hostConsoleSetFrontend(nullptr);
    if (farm.gameState != Situation) state.SkipWithError("the month did not close");
}

void MonthCloseSuffocation(benchmark::State& state) {
    closeMonthFrom(suffocationFarm(), state);
    state.counters["deadSuffocated"] = farm.deadSuffocated;
}

// The draws the hunger of a farm of adults takes from the seed: one per attempted
// death, as the rules count them (for the table only).
double hungerDraws(u16 males, u16 females, unsigned seed) {
    srand(seed);
    u32 counts[4] = {males, females, 0, 0};
    u32 total = (u32)males + females;
    double draws = 0;
    while (total > 0) {
        u32* victim = &counts[rand() % 4];
        draws++;
        if (*victim != 0) {
            (*victim)--;
            total--;
        }
    }
    return draws;
}

void MonthCloseHunger(benchmark::State& state) {
    closeMonthFrom(hungerFarm(), state);
    state.counters["deadOfHunger"] = farm.deadOfHunger;
    state.counters["draws"] = hungerDraws(65535, 65535, 1) + 1; // and the price
}

// One draw of the C library's generator: the hunger close cannot cost less than its
// draws.
void CLibraryRand(benchmark::State& state) {
    srand(1);
    for (auto _ : state) benchmark::DoNotOptimize(rand());
}

ReplayScript loadRecordedGame(void) {
    std::ifstream file(BENCH_REPLAY_FILE);
    std::stringstream text;
    text << file.rdbuf();
    ReplayScript script;
    std::string error;
    if (!file || !parseReplayScript(text.str(), BENCH_REPLAY_FILE, &script, &error)) {
        fprintf(stderr, "%s\n", error.empty() ? "cannot read " BENCH_REPLAY_FILE : error.c_str());
        exit(2);
    }
    return script;
}

// The whole recorded game through the game's own loop, with no pacing.
void ReplayTwelveMonthGame(benchmark::State& state) {
    static const ReplayScript script = loadRecordedGame();
    ScriptFrontend replay;
    u64 frames = 0;
    for (auto _ : state) {
        replay.cursor = ReplayCursor{&script.runs};
        replay.frames = 0;
        hostConsoleReset(*script.seed, *script.language);
        farm = FarmState{};
        hostConsoleSetFrontend(&replay);
        appMain();
        hostConsoleSetFrontend(nullptr);
        frames += replay.frames;
    }
    if (farm.gameState != GameOver || farm.month != 13) state.SkipWithError("the game did not end");
    state.counters["frames"] = (double)replay.frames;
    state.counters["fps"] = benchmark::Counter((double)frames, benchmark::Counter::kIsRate);
}

BENCHMARK(ClearBothScreens)->Unit(benchmark::kMicrosecond);
BENCHMARK(FrameRules)->Unit(benchmark::kMicrosecond);
BENCHMARK(FrameMonthPhase7Impossible)->Unit(benchmark::kMicrosecond);
BENCHMARK(FrameEnd)->Unit(benchmark::kMicrosecond);
BENCHMARK(MonthCloseSuffocation)->Unit(benchmark::kMicrosecond);
BENCHMARK(MonthCloseHunger)->Unit(benchmark::kMicrosecond);
BENCHMARK(CLibraryRand)->Unit(benchmark::kNanosecond);
BENCHMARK(ReplayTwelveMonthGame)->Unit(benchmark::kMillisecond);

// The usual console output, then a short table: every frame as a multiple of the
// floor measured in the same run, and the replay in frames per second.
class TableReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            // With repetitions only the median stands for the benchmark.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            if (run.run_type == Run::RT_Iteration && run.repetitions > 1) continue;
            Row row;
            row.name = run.run_name.function_name;
            row.microseconds = run.GetAdjustedRealTime() * unitToMicroseconds(run.time_unit);
            for (const auto& [name, counter] : run.counters) {
                if (name == "fps") {
                    row.fps = counter.value;
                } else {
                    char note[48];
                    snprintf(note, sizeof note, "%s%s %.0f", row.note.empty() ? "" : ", ",
                             name.c_str(), counter.value);
                    row.note += note;
                }
            }
            rows_.push_back(row);
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        double floor = 0;
        for (const Row& row : rows_) {
            if (row.name == kFloorName) floor = row.microseconds;
        }
        std::ostream& out = GetOutputStream();
        char line[160];
        snprintf(line, sizeof line, "\n%-28s %12s %8s %10s  %s\n", "measure", "time (us)",
                 "x floor", "frames/s", "counts");
        out << line;
        for (const Row& row : rows_) {
            bool frame = row.name.rfind("Frame", 0) == 0 || row.name == kFloorName;
            char ratio[32] = "";
            char fps[32] = "";
            if (frame && floor > 0) snprintf(ratio, sizeof ratio, "%.2f", row.microseconds / floor);
            if (row.fps > 0) snprintf(fps, sizeof fps, "%.0f", row.fps);
            snprintf(line, sizeof line, "%-28s %12.3f %8s %10s  %s\n", row.name.c_str(),
                     row.microseconds, ratio, fps, row.note.c_str());
            out << line;
        }
    }

  private:
    struct Row {
        std::string name;
        double microseconds = 0;
        double fps = 0;
        std::string note;
    };

    static double unitToMicroseconds(benchmark::TimeUnit unit) {
        switch (unit) {
        case benchmark::kNanosecond: return 1e-3;
        case benchmark::kMicrosecond: return 1;
        case benchmark::kMillisecond: return 1e3;
        default: return 1e6;
        }
    }

    std::vector<Row> rows_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
