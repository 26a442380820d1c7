// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include "engine/period_rules.h"

namespace taxcalc {

// The smallest x in [low, high] with kept(x) >= wanted, where kept never falls on
// [low, high] and kept(high) >= wanted: within one row of a table the after-tax
// amount grows by a cent less rate % of a cent, rounded, so it never falls there.
template <typename Kept>
constexpr Cents FirstReaching(Cents low, Cents high, Cents wanted, const Kept &kept) {
    while (low < high) {
        const Cents middle = low + (high - low) / 2;
        if (kept(middle) >= wanted) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low;
}

}  // namespace taxcalc
