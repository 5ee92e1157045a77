// The farm month by month: a row each time a month closes, the farm as the close left
// it, its month the one that closed. A new game (the month back to 1) starts the rows
// again, unless every year of the session is asked for.
#pragma once

#include <string>
#include <vector>

#include "game/farm.h"

struct MonthHistory {
    std::vector<FarmState> rows;
    u8 lastMonth = 0;
    bool everyYear = false; // --history's rows: every year played, one after another

    void reset();
    // After a frame: notes the month that has just closed, if one has.
    void observe(const FarmState& state);
    // CSV, the columns named as the state file names the farm's fields.
    std::string csv() const;
    // The same rows for the page's table, tab-separated: the fields' names, their labels in
    // the language, then the values, money to the cent.
    std::string table(u8 language) const;

  private:
    std::string text(bool forPage, u8 language) const;
};
