#include "support/test_console.h"

namespace {

// One frame's keys, handed to the next hidScanInput.
struct OneFrame : HostFrontend {
    u32 keys = 0;
    bool keepRunning() override { return true; }
    void sampleButtons(u32* held, u32* pressed) override {
        *held = 0;
        *pressed = keys;
    }
};

OneFrame oneFrame;

} // namespace

void resetConsoleAndFarm(u64 clockMs, u8 language) {
    hostConsoleSetFrontend(nullptr);
    hostConsoleReset(clockMs, language);
    farm = FarmState{};
}

void press(u32 keys) {
    oneFrame.keys = keys;
    hostConsoleSetFrontend(&oneFrame);
    updateGame();
    hostConsoleSetFrontend(nullptr);
}

void startPhase(s32 phase) {
    farm.showIntro = 0;
    farm.showImpossible = 0;
    farm.inputValue = 0;
    farm.gameState = phase;
}
