// The console's pace on a desktop or in a browser: the upper screen refreshes
// kTicksPerSecond / kTicksPerFrame times a second (about 59.83).
#pragma once

#include "platform/ctru.h"

// Given the time since the first vertical blank, the time of the first one strictly after it.
u64 nextVBlankNs(u64 elapsedNs);
