// A home of the tests' own for the player (frontend/home.h): buttons and actions given
// frame by frame, a clock that moves only when the player sleeps, storage in memory that
// can be made to fail, and everything the player tells, asks and shows, noted.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "frontend/home.h"

struct TestHome {
    // One entry a scan: the buttons pressed then, and what the player does before it
    // (types, asks for a new year...). The home closes after the last one.
    struct Frame {
        u32 pressed = 0;
        std::function<void()> before;
    };
    std::vector<Frame> frames;
    size_t scans = 0;

    u64 nowNs = 0;
    std::vector<u64> sleeps;   // the times slept until
    size_t shows = 0;          // pictures shown
    std::function<void(const u8* rgb)> onShow;

    std::string heldElsewhere; // another copy holds the year: why
    bool kept = false;         // storage holds a text
    std::string keptText;
    std::string failWith;      // when set, every write fails with this reason
    size_t wholeWrites = 0, lineWrites = 0;

    std::vector<std::string> told;   // "passing: TEXT" or "lasting: TEXT"
    std::vector<std::string> asked;  // the questions
    std::vector<int> answers;        // given in order; 0 when none is left
    std::string year;
    std::vector<std::string> advice; // the last given
    std::vector<std::string> said;
};

// The home the player uses now, set afresh by each test.
extern TestHome testHome;

// Frames of presses, one a scan.
std::vector<TestHome::Frame> pressFrames(std::initializer_list<u32> presses);
