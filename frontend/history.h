// The farm month by month: a row each time a month closes, with the farm as the close
// left it. A new game (the month back to 1) starts a new year of rows.
#pragma once

#include <string>
#include <vector>

#include "game/farm.h"

struct MonthRow {
    u8 month; // the month that closed, 1 to 12
    u16 adultMales, youngMales, adultFemales, youngFemales;
    float cash;
    s32 foodStock, deadOfHunger, deadSuffocated;
    float hamsterPrice;
};

struct MonthHistory {
    std::vector<MonthRow> rows; // every year of the session, in order
    size_t yearStart = 0;       // the first row of the year being played
    u8 lastMonth = 0;

    void reset();
    // After a frame: notes the month that has just closed, if one has.
    void observe(const FarmState& state);
    // CSV, the columns named as the state file names the farm's members.
    std::string csv(size_t firstRow = 0) const;
};
