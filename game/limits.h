// What the farm allows: each judgement of an answer, and the room of a side's cages,
// written once. The month's rules apply them, and the advice beside the screen reads
// them, so that what it tells a player is what the farm then does.
#pragma once

#include "game/rules.h"
#include "platform/ctru.h"

// A sale: no more than the adults of that side.
inline bool saleAccepted(u16 adults, s32 count) { return count <= (s32)adults; }

// Couplings: no more than the adult males, nor than the adult females.
inline bool couplingsAccepted(u16 males, u16 females, s32 couplings) {
    return !(couplings > (s32)males || couplings > (s32)females);
}

// Food is priced and judged in double precision against the single-precision cash.
inline double foodCost(s32 kilograms) { return (double)kilograms * kFoodPricePerKg; }
inline bool foodAffordable(float cash, s32 kilograms) { return !(foodCost(kilograms) > (double)cash); }

// Cages are priced wide, so that a huge order cannot wrap to a small price, then judged
// in single precision.
inline float cagesCost(s32 cages) { return (float)((s64)cages * kCagePrice); }
inline bool cagesAffordable(float cash, s32 cages) { return !(cagesCost(cages) > cash); }

// The most hamsters a side keeps through the close: the largest count whose whole
// quotient by the cages is kRoomInCage or less, 21 x cages - 1; with no cage, none.
inline s32 roomInCages(u16 cages) { return cages == 0 ? 0 : (kRoomInCage + 1) * (s32)cages - 1; }

// The largest answer from 0 to INT32_MAX that the question `phase` (SellMales to
// BuyFemaleCages) accepts from a farm with these adults and cash, judged as above;
// -1 when it refuses even 0.
s32 mostAccepted(s32 phase, u16 adultMales, u16 adultFemales, float cash);
