// Advice beside the console's screen (never on it) about the question being asked: what
// the answer costs or brings, the most the farm allows and, after a refusal, that limit;
// from the food on, what the month's close will ask of the food and of each side's
// cages. Every number is the farm's or the rules' own, judged as the farm judges it.
#pragma once

#include <string>
#include <vector>

#include "game/farm.h"

// At most this many lines of at most this many characters, for any farm a year can
// reach (the window draws them in the game's font, 8 pixels a character, in a strip
// 400 pixels wide). The ranges count hamsters as they are, not as 16 bits would wrap them.
constexpr size_t kAdviceLines = 6;
constexpr size_t kAdviceWidth = 48;

// In the game's language (French for its language code, plain UTF-8 with accents, else
// English), for the questions of a month; none on any other screen.
std::vector<std::string> adviceLines(const FarmState& f);
// After a refusal, its line of the advice: the limit the rules applied; else empty.
std::string refusalReason(const FarmState& f);
