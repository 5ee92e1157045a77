#include "frontend/headless.h"

#include <stdio.h>

#include "app/app.h"
#include "frontend/fields.h"
#include "frontend/files.h"
#include "frontend/history.h"
#include "frontend/outputs.h"
#include "game/farm.h"
#include "platform/host_console.h"

namespace {

// Plays the script with no pacing, the idle runs counted, noting each month as it closes.
struct HeadlessPlayer final : ScriptPlayer {
    MonthHistory history;

    bool keepRunning() override {
        cursor.skipIdle();
        return ScriptPlayer::keepRunning();
    }
    void presented(const u8*, const u8*) override { history.observe(farm); }
};

bool written(bool ok, const std::string& error) {
    if (!ok) fprintf(stderr, "quorvandelle: %s\n", error.c_str());
    return ok;
}

bool writeOutputs(const OutputPaths& outputs, const MonthHistory* history) {
    std::string error;
    bool ok = true;
    if (history != nullptr && !outputs.history.empty()) {
        ok = written(writeFileWhole(outputs.history, history->csv(), &error), error) && ok;
    }
    if (!outputs.state.empty()) ok = written(writeFileWhole(outputs.state, farmStateJson(farm), &error), error) && ok;
    if (!outputs.screenshot.empty()) {
        std::vector<u8> rgb = composeScreenshot(hostPresentedTop(), hostPresentedBottom());
        ok = written(writePngWhole(outputs.screenshot, rgb, SCREENSHOT_WIDTH, SCREENSHOT_HEIGHT, &error), error) && ok;
    }
    return ok;
}

} // namespace

bool playHeadless(const ReplayScript& script, u64 clockMs, u8 language, const OutputPaths& outputs) {
    HeadlessPlayer player;
    player.cursor.runs = &script.runs;
    player.history.reset();
    player.history.everyYear = true;
    hostConsoleReset(clockMs, language);
    hostConsoleSetFrontend(&player);
    appMain();
    hostConsoleSetFrontend(nullptr);
    player.history.observe(farm); // a month closed in the frame START ended is never presented
    return writeOutputs(outputs, &player.history);
}

bool writeGameOutputs(const OutputPaths& outputs) { return writeOutputs(outputs, nullptr); }
