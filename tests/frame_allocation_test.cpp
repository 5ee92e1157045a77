// On the console's C library the game's frames allocate nothing. newlib makes its
// buffers for printing a dollar amount the first time it prints one and keeps them;
// any other allocation in a frame is a fault. Counted at newlib's allocator itself
// (the program is linked with --wrap), so allocations inside C library calls count too.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "app/app.h"
#include "support/test_console.h"

extern "C" {
struct _reent;
void* __real__malloc_r(_reent* reent, size_t size);
void* __real__calloc_r(_reent* reent, size_t count, size_t size);
void* __real__realloc_r(_reent* reent, void* old, size_t size);
}

namespace {

// volatile: the compiler takes it that malloc leaves every variable of the program alone.
volatile unsigned long allocations = 0;

// Counts the allocations made before each frame; the script is set up beforehand.
struct CountingFrames : ScriptedButtons {
    enum { MAX_FRAMES = 200 };
    unsigned long beforeFrame[MAX_FRAMES] = {};
    size_t counted = 0;

    bool keepRunning() override {
        if (counted < MAX_FRAMES) beforeFrame[counted++] = allocations;
        return ScriptedButtons::keepRunning();
    }
};

TEST(FrameLoop, AllocatesNothingOnceNewlibKeepsItsBuffers) {
    unsigned long before = allocations;
    void* volatile block = malloc(16); // volatile: kept, not optimised away
    free(block);
    unsigned long after = allocations;
    ASSERT_GT(after, before) << "the allocator is not counted";

    // A whole game in which every answer is 0, with edits along the way, then the end.
    CountingFrames run;
    run.frames.push_back(KEY_A);
    for (int month = 0; month < 12; month++) {
        run.frames.insert(run.frames.end(), {KEY_A, KEY_DRIGHT, KEY_DLEFT, KEY_A, KEY_R, KEY_L, KEY_A});
        run.frames.insert(run.frames.end(), {KEY_A, KEY_A, KEY_A, KEY_A});
    }
    run.frames.insert(run.frames.end(), {0, 0});
    ASSERT_LT(run.frames.size(), (size_t)CountingFrames::MAX_FRAMES);

    resetConsoleAndFarm(2208988800000ull + 42, CFG_LANGUAGE_FR);
    hostConsoleSetFrontend(&run);
    appMain();
    hostConsoleSetFrontend(nullptr);
    ASSERT_EQ(farm.gameState, GameOver);
    ASSERT_EQ(run.counted, run.frames.size() + 1);

    int framesThatAllocated = 0;
    for (size_t frame = 1; frame < run.counted; frame++) {
        if (run.beforeFrame[frame] != run.beforeFrame[frame - 1]) framesThatAllocated++;
    }
    EXPECT_LE(framesThatAllocated, 1);
}

} // namespace

extern "C" {
void* __wrap__malloc_r(_reent* reent, size_t size) {
    allocations = allocations + 1;
    return __real__malloc_r(reent, size);
}
void* __wrap__calloc_r(_reent* reent, size_t count, size_t size) {
    allocations = allocations + 1;
    return __real__calloc_r(reent, count, size);
}
void* __wrap__realloc_r(_reent* reent, void* old, size_t size) {
    allocations = allocations + 1;
    return __real__realloc_r(reent, old, size);
}
}
