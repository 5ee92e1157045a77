#include "game/limits.h"

#include <stdint.h>

#include "game/farm.h"

namespace {

bool accepted(s32 phase, u16 adultMales, u16 adultFemales, float cash, s32 count) {
    switch (phase) {
    case SellMales: return saleAccepted(adultMales, count);
    case SellFemales: return saleAccepted(adultFemales, count);
    case Couplings: return couplingsAccepted(adultMales, adultFemales, count);
    case BuyFood: return foodAffordable(cash, count);
    default: return cagesAffordable(cash, count);
    }
}

} // namespace

// Every judgement takes all the answers up to its largest one (a cost only grows with
// the count, even rounded), so the largest is found by halving, with no formula of its own.
s32 mostAccepted(s32 phase, u16 adultMales, u16 adultFemales, float cash) {
    s64 taken = -1, refused = (s64)INT32_MAX + 1;
    while (refused - taken > 1) {
        s64 middle = taken + (refused - taken) / 2;
        if (accepted(phase, adultMales, adultFemales, cash, (s32)middle)) {
            taken = middle;
        } else {
            refused = middle;
        }
    }
    return (s32)taken;
}
