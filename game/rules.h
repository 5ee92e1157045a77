// The rules' numbers: what the farm applies each month, what the screens print of it,
// and what the help tells a new player. Each is written here once.
#pragma once

#include "platform/ctru.h"

// The year.
constexpr int kMonthsInYear = 12;

// A hamster sells for kLowestPrice, or kPriceRise more, drawn anew each month.
constexpr double kLowestPrice = 1.0;
constexpr double kPriceRise = 0.1;

// Food, in dollars a kilogram, and what one hamster eats at the month's close.
constexpr double kFoodPricePerKg = 0.1;
constexpr s32 kFoodPerHamster = 1;

// A cage's price in dollars, and the most hamsters a cage may average, counted as a
// whole quotient, before some suffocate (the room of a side: game/limits.h).
constexpr s64 kCagePrice = 5;
constexpr s32 kRoomInCage = 20;

// A farm left empty at the close receives these young, a male and a female.
constexpr u16 kRestockedMales = 1;
constexpr u16 kRestockedFemales = 1;

// One coupling gives 1 to kLargestLitter young, adults a month later.
constexpr int kLargestLitter = 18;

// The final value: a dollar for each hamster and each cage, plus the cash.
constexpr float kValueOfHamster = 1.0f;
constexpr float kValueOfCage = 1.0f;

// The grades: a value up to the low bound, up to the high bound, or above it.
constexpr float kLowGradeBound = 150.0f;
constexpr float kHighGradeBound = 500.0f;
