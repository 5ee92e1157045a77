#include "host/pacing.h"

#include "platform/host_console.h"

u64 nextVBlankNs(u64 elapsedNs) {
    // In units of 1 / kTicksPerSecond ns, a frame lasts kTicksPerFrame * 10^9: exact.
    using Wide = unsigned __int128;
    const Wide frame = (Wide)kTicksPerFrame * 1000000000u;
    Wide next = (Wide)elapsedNs * kTicksPerSecond / frame + 1;
    return (u64)((next * frame + kTicksPerSecond - 1) / kTicksPerSecond);
}
