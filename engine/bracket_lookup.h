// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include "engine/tax_engine.h"

namespace taxcalc::detail {

// Walks the rows in table order and stops at the first whose bound reaches x; the
// last row takes everything above (and a NaN, which no bound reaches).
inline const Bracket &SelectBracket(std::span<const Bracket> brackets, Amount x) noexcept {
    for (std::size_t i = 0; i + 1 < brackets.size(); ++i) {
        if (x <= brackets[i].UpperBound) {
            return brackets[i];
        }
    }
    return brackets.back();
}

// x x rate - quick deduction, in this order; -ffp-contract=off keeps it unfused.
inline Amount BracketTax(const Bracket &bracket, Amount x) noexcept {
    return x * bracket.Rate - bracket.QuickDeduction;
}

}  // namespace taxcalc::detail
