// The farm's fields, written once: each field's name (as the state file names it), where
// it stands in the record, its kind, and, for those the year's history follows, its
// column and its label on the page in each language. The state file, --history's CSV and
// the page's table of the year all come from this table.
#pragma once

#include <stddef.h>

#include <string>

#include "game/farm.h"

enum FieldKind : u8 { SignedField, UnsignedField, FloatField };

struct FarmField {
    const char* name;
    size_t offset; // in FarmState
    u8 size;       // in bytes
    FieldKind kind;
    s8 historyColumn; // -1: not in the history
    const char* english; // its label in the year's table
    const char* french;
};

extern const FarmField kFarmFields[];
extern const size_t kFarmFieldCount;

// A field's value in a farm, as a whole number or (for a float) as a double.
long long fieldInteger(const FarmField& field, const FarmState& state);
float fieldFloat(const FarmField& field, const FarmState& state);
// The value as the state file writes it: floats to nine digits, which read back exactly.
std::string fieldText(const FarmField& field, const FarmState& state);

// One JSON object, a member per field of the farm, named as the field.
std::string farmStateJson(const FarmState& state);
