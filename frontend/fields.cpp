#include "frontend/fields.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <type_traits>

namespace {

template <typename T> constexpr FieldKind kindOf() {
    return std::is_floating_point_v<T> ? FloatField : std::is_signed_v<T> ? SignedField : UnsignedField;
}

} // namespace

// The history's columns: the month that closed first, then the hamsters, the money,
// the food and the deaths, the price last.
#define FIELD(member, column, english, french)                                                         \
    {#member, offsetof(FarmState, member), sizeof(FarmState::member),                                  \
     kindOf<decltype(FarmState::member)>(), column, english, french}
const FarmField kFarmFields[] = {
    FIELD(gameState, -1, nullptr, nullptr),
    FIELD(showIntro, -1, nullptr, nullptr),
    FIELD(showImpossible, -1, nullptr, nullptr),
    FIELD(inputValue, -1, nullptr, nullptr),
    FIELD(keysDown, -1, nullptr, nullptr),
    FIELD(adultMales, 1, "Adult males", "Mâles adultes"),
    FIELD(youngMales, 2, "Young males", "Jeunes mâles"),
    FIELD(maleCages, -1, nullptr, nullptr),
    FIELD(malesPerCage, -1, nullptr, nullptr),
    FIELD(adultFemales, 3, "Adult females", "Femelles adultes"),
    FIELD(youngFemales, 4, "Young females", "Jeunes femelles"),
    FIELD(femaleCages, -1, nullptr, nullptr),
    FIELD(femalesPerCage, -1, nullptr, nullptr),
    FIELD(foodStock, 6, "Food (kg)", "Nourriture (kg)"),
    FIELD(cash, 5, "Cash ($)", "Argent ($)"),
    FIELD(hamsterPrice, 9, "Price ($)", "Prix ($)"),
    FIELD(month, 0, "Month", "Mois"),
    FIELD(deadOfHunger, 7, "Dead of hunger", "Morts de faim"),
    FIELD(deadSuffocated, 8, "Dead of crowding", "Morts d'entassement"),
    FIELD(breedingValue, -1, nullptr, nullptr),
    FIELD(malesToSell, -1, nullptr, nullptr),
    FIELD(femalesToSell, -1, nullptr, nullptr),
    FIELD(couplingsRequested, -1, nullptr, nullptr),
    FIELD(foodToBuy, -1, nullptr, nullptr),
    FIELD(maleCagesToBuy, -1, nullptr, nullptr),
    FIELD(femaleCagesToBuy, -1, nullptr, nullptr),
    FIELD(systemLanguage, -1, nullptr, nullptr),
};
#undef FIELD
const size_t kFarmFieldCount = sizeof kFarmFields / sizeof kFarmFields[0];

long long fieldInteger(const FarmField& field, const FarmState& state) {
    const u8* at = (const u8*)&state + field.offset;
    switch (field.size) {
    case 1: return field.kind == SignedField ? (long long)*(const s8*)at : (long long)*at;
    case 2: return field.kind == SignedField ? (long long)*(const s16*)at : (long long)*(const u16*)at;
    default: {
        u32 bits;
        memcpy(&bits, at, 4);
        return field.kind == SignedField ? (long long)(s32)bits : (long long)bits;
    }
    }
}

float fieldFloat(const FarmField& field, const FarmState& state) {
    float value;
    memcpy(&value, (const u8*)&state + field.offset, sizeof value);
    return value;
}

std::string fieldText(const FarmField& field, const FarmState& state) {
    if (field.kind != FloatField) return std::to_string(fieldInteger(field, state));
    float value = fieldFloat(field, state);
    if (!isfinite(value)) return "null";
    char text[32];
    snprintf(text, sizeof text, "%.9g", (double)value);
    return text;
}

std::string farmStateJson(const FarmState& state) {
    std::string json = "{";
    for (size_t i = 0; i < kFarmFieldCount; i++) {
        json += i ? ",\n  \"" : "\n  \"";
        json += kFarmFields[i].name;
        json += "\": " + fieldText(kFarmFields[i], state);
    }
    return json + "\n}\n";
}
