// The game's one bitmap font: 128 glyphs of 8 rows, top row first, bit 7 leftmost.
#pragma once

#include "platform/ctru.h"

extern const u8 FONT8X8[128 * 8];
