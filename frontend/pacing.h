// The console's pace on a desktop or in a browser: the upper screen refreshes
// kTicksPerSecond / kTicksPerFrame times a second (about 59.83).
#pragma once

#include "platform/ctru.h"

// Given the time since the first vertical blank, the time of the first one strictly after it.
u64 nextVBlankNs(u64 elapsedNs);

// The console's clock as it reads now, in milliseconds since 1900: a new game's seed.
u64 clockNowMs(void);
