// The game allocates nothing while it runs: every allocation of the program is counted
// at the allocator while the game's own loop plays a whole year in each language,
// through every screen, refusals and month closes. On the console's C library, newlib
// makes the buffers it keeps for printing a dollar amount the first time it prints
// one: one frame may allocate there, none on the desktop.
//
// The count is taken at the allocator itself: newlib's is wrapped at link time, the
// desktop's replaced here (operator new comes to it too). Not in sanitized builds,
// whose allocator is the sanitizer's.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "support/test_console.h"

namespace {
volatile long allocations = 0; // volatile: a call into the allocator may change it
void counted(void) { allocations = allocations + 1; }
} // namespace

#if defined(_NEWLIB_VERSION)
extern "C" {
struct _reent;
void* __real__malloc_r(_reent* reent, size_t size);
void* __real__calloc_r(_reent* reent, size_t count, size_t size);
void* __real__realloc_r(_reent* reent, void* old, size_t size);
void* __wrap__malloc_r(_reent* r, size_t size) { return counted(), __real__malloc_r(r, size); }
void* __wrap__calloc_r(_reent* r, size_t n, size_t size) { return counted(), __real__calloc_r(r, n, size); }
void* __wrap__realloc_r(_reent* r, void* old, size_t size) { return counted(), __real__realloc_r(r, old, size); }
}
const long kFramesMayAllocate = 1;
#else
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* old, size_t size);
void __libc_free(void* block);
void* malloc(size_t size) { return counted(), __libc_malloc(size); }
void* calloc(size_t count, size_t size) { return counted(), __libc_calloc(count, size); }
void* realloc(void* old, size_t size) { return counted(), __libc_realloc(old, size); }
void free(void* block) { __libc_free(block); }
}
const long kFramesMayAllocate = 0;
#endif

namespace {

// Notes, at the top of every frame, whether the frame before allocated.
struct CountingFrames : ScriptedButtons {
    long seen = allocations, framesThatAllocated = 0;
    bool keepRunning() override {
        if (allocations != seen) framesThatAllocated++, seen = allocations;
        return ScriptedButtons::keepRunning();
    }
};

TEST(Allocations, NoneWhileTheGameRuns) {
    long before = allocations;
    void* volatile block = malloc(24);
    free(block);
    ASSERT_GT(allocations, before) << "the allocator is not counted";

    for (u8 language : {(u8)CFG_LANGUAGE_FR, (u8)CFG_LANGUAGE_EN}) {
        CountingFrames run;
        auto then = [&run](std::initializer_list<u32> keys) {
            for (u32 key : keys) run.frames.push_back(key); // GCC 12 -O3 warns falsely of insert()
        };
        then({0, KEY_A});
        for (int month = 1; month <= 12; month++) {
            then({KEY_A, KEY_R, KEY_A, 0, KEY_L, KEY_A}); // 100 males refused, then none
            for (int question = 3; question <= 7; question++) then({KEY_DRIGHT | KEY_CPAD_UP, KEY_DLEFT, 0, KEY_A});
        }
        then({0, 0, KEY_A, 0}); // the end, and a new game
        resetConsoleAndFarm(2208988800000ull + 1234, language);
        run.seen = allocations;
        play(&run);
        EXPECT_LE(run.framesThatAllocated, kFramesMayAllocate) << "language " << (int)language;
        EXPECT_EQ(hostConsoleStatus().framesPresented, run.frames.size());
        EXPECT_EQ(Values({farm.month, farm.gameState}), Values({1, Situation})); // a year, then a new game
    }
}

} // namespace
