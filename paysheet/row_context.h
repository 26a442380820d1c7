// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <array>
#include <cstdint>

#include "engine/period_rules.h"

namespace taxcalc {

// What the other rows of a table leave to one row, for a mode whose rows depend on
// each other (the months of one employee): worked out once for the whole table, then
// kept beside each row, so that any row's figures can be computed again on their own
// when they are shown or saved. Small and of one size: a table keeps one a row.
struct RowContext {
    // Sums carried from the rows before, by the mode's own meaning of each slot.
    std::array<Cents, 8> Carried{};
    // Why the row is refused for what other rows hold, by the mode's own codes; 0
    // where nothing in the other rows refuses it.
    std::uint8_t Fault = 0;
    // Small numbers that the mode works out from the other rows (months, say).
    std::array<std::uint8_t, 3> Marks{};
    // The rows that belong together (one employee's months) share a number; 0 for a
    // row that belongs with none.
    std::uint32_t Group = 0;
};

}  // namespace taxcalc
