// What the tests share: a console whose buttons come from the test, a fresh farm, the goldens.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "game/farm.h"
#include "gfx/render.h"
#include "platform/host_console.h"

// Plays a list of frames, each the keys newly pressed (or, with `hold`, held down);
// the system closes the application after the last one.
struct ScriptedButtons : HostFrontend {
    std::vector<u32> frames;
    bool hold = false;
    bool keepShown = false;              // keep a copy of every presented upper screen
    std::vector<std::vector<u8>> shown;
    size_t next = 0;

    bool keepRunning() override { return next++ < frames.size(); }
    void sampleButtons(u32* held, u32* pressed) override {
        *held = hold ? frames[next - 1] : 0, *pressed = hold ? 0 : frames[next - 1];
    }
    void presented(const u8* top, const u8*) override {
        if (keepShown) shown.emplace_back(top, top + TOP_FRAMEBUFFER_BYTES);
    }
};

// Several values compared at once.
using Values = std::vector<long long>;

// The services the game closed since the last reset, in order ("cfgu gfx").
std::string closedServices();

// Powers the console on with no frontend and a zero-filled farm.
void resetConsoleAndFarm(u64 clockMs = 0, u8 language = CFG_LANGUAGE_EN);
// Runs the game's own loop on these buttons; returns what it returned.
int play(ScriptedButtons* buttons);
// Runs one updateGame with these keys newly pressed.
void press(u32 keys);
// Puts the farm at the start of a month's question phase.
void startPhase(s32 phase);

// The font as it must be drawn (tests/golden/font.txt): row k of glyph `code`, bit 7 leftmost.
u8 goldenGlyphRow(int code, int k);
std::string goldenPath(const std::string& name);
// A file's bytes, or "(no file)".
std::string fileText(const std::string& path);
// A PNG's RGB pixels; empty when it cannot be read.
std::vector<u8> loadPng(const std::string& path);
