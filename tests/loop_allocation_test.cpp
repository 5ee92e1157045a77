// The frame loop allocates nothing: every heap allocation of the program is counted
// while the game's own loop runs well over a thousand frames, through every screen,
// refusals and month closes included, in both languages.
//
// The count is taken at the allocator itself: this program brings its own malloc,
// calloc, realloc, free and operator new in front of the C library's (a build with
// AddressSanitizer owns the allocator, and its allocation hooks count instead).
#include <gtest/gtest.h>
#include <stddef.h>
#include <stdlib.h>

#include <new>

#include "app/app.h"
#include "support/test_console.h"

#if defined(__SANITIZE_ADDRESS__)
#define COUNT_WITH_SANITIZER_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define COUNT_WITH_SANITIZER_HOOKS 1
#endif
#endif

namespace {

// volatile: the compiler may not assume that a call into the allocator leaves it be.
volatile long allocations = 0;

void counted(void) { allocations = allocations + 1; }

} // namespace

#ifdef COUNT_WITH_SANITIZER_HOOKS
// From the sanitizers' allocator interface (GCC ships the library, not the header).
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*onMalloc)(const volatile void*, size_t), void (*onFree)(const volatile void*));

namespace {
void onMalloc(const volatile void*, size_t) { counted(); }
void onFree(const volatile void*) {}
[[maybe_unused]] const int kHooksInstalled = __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);
} // namespace

#else
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* old, size_t size);
void __libc_free(void* block);

void* malloc(size_t size) {
    counted();
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    counted();
    return __libc_calloc(count, size);
}
void* realloc(void* old, size_t size) {
    counted();
    return __libc_realloc(old, size);
}
void free(void* block) { __libc_free(block); }
}

void* operator new(size_t size) {
    counted();
    void* block = __libc_malloc(size ? size : 1);
    if (block == nullptr) throw std::bad_alloc();
    return block;
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { __libc_free(block); }
void operator delete[](void* block) noexcept { __libc_free(block); }
void operator delete(void* block, size_t) noexcept { __libc_free(block); }
void operator delete[](void* block, size_t) noexcept { __libc_free(block); }
#endif

namespace {

// A whole game with a refusal on every month's first question, edits, waits on every
// screen, the end, and a new game.
std::vector<u32> wholeGame(void) {
    std::vector<u32> frames;
    auto press = [&frames](u32 keys, int waitAfter) {
        frames.push_back(keys);
        frames.insert(frames.end(), (size_t)waitAfter, 0u);
    };
    press(0, 10); // the rules
    press(KEY_A, 5);
    for (int month = 1; month <= 12; month++) {
        press(KEY_A, 5);         // from the situation to the males for sale
        press(KEY_R, 2);         // 100 males: more than there are
        press(KEY_A, 5);         // refused: IMPOSSIBLE
        press(KEY_L, 2);         // back to 0
        press(KEY_A, 5);         // accepted
        for (int question = 3; question <= 7; question++) {
            press(KEY_DRIGHT | KEY_CPAD_UP, 1);
            press(KEY_DLEFT, 1); // 0 again, edits shown on the way
            press(KEY_A, 5);     // accepted; the seventh closes the month
        }
    }
    press(0, 60); // the end of the game
    press(KEY_A, 60);
    return frames;
}

TEST(LoopAllocations, NoneInAThousandFramesOfTheRealLoop) {
    // The count works: an allocation made here is seen.
    long before = allocations;
    void* volatile block = malloc(24);
    free(block);
    int* volatile number = new int(7);
    delete number;
    ASSERT_GE(allocations - before, 2) << "the allocator is not counted";

    for (u8 language : {(u8)CFG_LANGUAGE_FR, (u8)CFG_LANGUAGE_EN}) {
        ScriptedButtons buttons;
        buttons.frames = wholeGame();
        ASSERT_GE(buttons.frames.size(), 1000u);
        resetConsoleAndFarm(2208988800000ull + 1234, language);
        hostConsoleSetFrontend(&buttons);

        long start = allocations;
        appMain();
        long made = allocations - start;

        hostConsoleSetFrontend(nullptr);
        EXPECT_EQ(made, 0) << "allocations in " << buttons.frames.size() << " frames, language "
                           << (int)language;
        // The game really went through: twelve months, the end, and a new game.
        EXPECT_EQ(hostConsoleStatus().framesPresented, buttons.frames.size());
        EXPECT_EQ(farm.gameState, Situation);
        EXPECT_EQ(farm.month, 1);
    }
}

} // namespace
