#include "frontend/history.h"

#include <stdio.h>

void MonthHistory::reset() {
    rows.clear();
    rows.reserve(64); // a few years without allocating while playing
    yearStart = 0;
    lastMonth = 0;
}

void MonthHistory::observe(const FarmState& s) {
    if (s.month < lastMonth) yearStart = rows.size(); // a new game
    if (lastMonth >= 1 && s.month == lastMonth + 1) {
        rows.push_back(MonthRow{lastMonth, s.adultMales, s.youngMales, s.adultFemales, s.youngFemales, s.cash,
                                s.foodStock, s.deadOfHunger, s.deadSuffocated, s.hamsterPrice});
    }
    lastMonth = s.month;
}

std::string MonthHistory::csv(size_t firstRow) const {
    std::string text = "month,adultMales,youngMales,adultFemales,youngFemales,cash,foodStock,deadOfHunger,"
                       "deadSuffocated,hamsterPrice\n";
    char line[160];
    for (size_t i = firstRow; i < rows.size(); i++) {
        const MonthRow& r = rows[i];
        // Floats to nine digits, as the state file writes them: they read back exactly.
        snprintf(line, sizeof line, "%u,%u,%u,%u,%u,%.9g,%ld,%ld,%ld,%.9g\n", r.month, r.adultMales, r.youngMales,
                 r.adultFemales, r.youngFemales, (double)r.cash, (long)r.foodStock, (long)r.deadOfHunger,
                 (long)r.deadSuffocated, (double)r.hamsterPrice);
        text += line;
    }
    return text;
}
