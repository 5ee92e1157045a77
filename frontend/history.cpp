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

void MonthHistory::observe(const FarmState& state) {
    if (state.month < lastMonth && !everyYear) rows.clear(); // a new game
    if (lastMonth >= 1 && state.month == lastMonth + 1) {
        rows.push_back(state);
        rows.back().month = lastMonth;
    }
    lastMonth = state.month;
}

std::string MonthHistory::csv() const { return text(false, CFG_LANGUAGE_EN); }

std::string MonthHistory::table(u8 language) const { return text(true, language); }

std::string MonthHistory::text(bool forPage, u8 language) const {
    const std::vector<const FarmField*> fields = columns();
    const char separator = forPage ? '\t' : ',';
    std::string text;
    auto line = [&](auto cell) {
        for (size_t i = 0; i < fields.size(); i++) text += (i ? std::string(1, separator) : "") + cell(*fields[i]);
        text += "\n";
    };
    line([](const FarmField& field) { return std::string(field.name); });
    if (forPage) {
        line([&](const FarmField& field) { return std::string(language == CFG_LANGUAGE_FR ? field.french : field.english); });
    }
    for (const FarmState& row : rows) {
        line([&](const FarmField& field) {
            if (!forPage || field.kind != FloatField) return fieldText(field, row);
            char money[32];
            snprintf(money, sizeof money, "%.2f", (double)fieldFloat(field, row));
            return std::string(money);
        });
    }
    return text;
}
