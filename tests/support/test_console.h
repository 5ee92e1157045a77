// Test helpers: a console whose buttons come from the test, and a fresh farm.
#pragma once

#include <stddef.h>

#include <vector>

#include "game/farm.h"
#include "platform/host_console.h"

// Plays a list of frames (the keys newly pressed in each); the system closes the
// application after the last one.
struct ScriptedButtons : HostFrontend {
    std::vector<u32> frames;
    size_t next = 0;
    u32 current = 0;

    bool keepRunning() override {
        if (next >= frames.size()) return false;
        current = frames[next++];
        return true;
    }
    void sampleButtons(u32* held, u32* pressed) override {
        *held = 0;
        *pressed = current;
    }
};

// Powers the console on with no frontend and a zero-filled farm.
void resetConsoleAndFarm(u64 clockMs = 0, u8 language = CFG_LANGUAGE_EN);

// Runs one updateGame with these keys newly pressed.
void press(u32 keys);

// Puts the farm at the start of a month's question phase, as a player would find it.
void startPhase(s32 phase);
