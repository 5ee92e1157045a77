#include "frontend/history.h"

#include <stdio.h>

#include "frontend/fields.h"

namespace {

// The fields of the history, in the order of its columns.
std::vector<const FarmField*> columns() {
    std::vector<const FarmField*> fields;
    for (int column = 0;; column++) {
        size_t before = fields.size();
        for (size_t i = 0; i < kFarmFieldCount; i++) {
            if (kFarmFields[i].historyColumn == column) fields.push_back(&kFarmFields[i]);
        }
        if (fields.size() == before) return fields;
    }
}

} // namespace

void MonthHistory::reset() {
    rows.clear();
    rows.reserve(16); // a year without allocating while playing
    lastMonth = 0;
}

bool MonthHistory::observe(const FarmState& state) {
    bool changed = false;
    if (state.month < lastMonth && !everyYear) rows.clear(), changed = true; // a new game
    if (lastMonth >= 1 && state.month == lastMonth + 1) {
        rows.push_back(state);
        rows.back().month = lastMonth;
        changed = true;
    }
    lastMonth = state.month;
    return changed;
}

std::string MonthHistory::csv() const {
    std::string text;
    for (const FarmField* field : columns()) text += (text.empty() ? "" : ",") + std::string(field->name);
    text += "\n";
    for (const FarmState& row : rows) {
        std::string line;
        for (const FarmField* field : columns()) line += (line.empty() ? "" : ",") + fieldText(*field, row);
        text += line + "\n";
    }
    return text;
}

std::string MonthHistory::table(u8 language) const {
    std::string text;
    for (const FarmField* field : columns()) {
        text += (text.empty() ? "" : "\t") + std::string(language == CFG_LANGUAGE_FR ? field->french : field->english);
    }
    text += "\n";
    for (const FarmState& row : rows) {
        std::string line;
        for (const FarmField* field : columns()) {
            char money[32];
            snprintf(money, sizeof money, "%.2f", (double)fieldFloat(*field, row));
            line += (line.empty() ? "" : "\t") + (field->kind == FloatField ? std::string(money) : fieldText(*field, row));
        }
        text += line + "\n";
    }
    return text;
}
