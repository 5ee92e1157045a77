#include "frontend/pacing.h"

#include <chrono>

#include "platform/host_console.h"

// Exact in 64 bits on every CPU: whole seconds and their remainders are kept apart, so
// that no product passes 2^63 within a few centuries of play.
u64 nextVBlankNs(u64 elapsedNs) {
    const u64 second = 1000000000u;
    // Frames begun by then: elapsed x kTicksPerSecond / (kTicksPerFrame x 10^9), rounded down.
    u64 ticks = elapsedNs / second * kTicksPerSecond;
    u64 frames = ticks / kTicksPerFrame;
    u64 rest = ticks % kTicksPerFrame * second + elapsedNs % second * kTicksPerSecond;
    u64 next = frames + rest / (kTicksPerFrame * second) + 1;
    // Its blank: next x kTicksPerFrame x 10^9 / kTicksPerSecond ns, rounded up.
    u64 all = next * kTicksPerFrame;
    u64 within = all % kTicksPerSecond * second;
    return all / kTicksPerSecond * second + (within + kTicksPerSecond - 1) / kTicksPerSecond;
}

u64 clockNowMs(void) {
    auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return kMillisecondsFrom1900To1970 + (u64)std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count();
}
