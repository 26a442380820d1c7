// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstdint>

#include "paysheet/withholding_link.h"

namespace taxcalc {

// What the other rows of a table leave to one row, for a mode whose rows depend on
// each other (the months of one employee): worked out once for the whole table, then
// kept beside each row, so that any row's figures can be computed again on their own
// when they are shown or saved. Small and of one size: a table keeps one a row.
// Withholding is the one mode whose rows link; its facts fill the bytes beside the
// group that its amounts' alignment would leave empty.
struct RowContext {
    // The rows that belong together (one employee's months) share a number; 0 for a
    // row that belongs with none.
    std::uint32_t Group = 0;
    WithholdingFacts Withholding{};
    WithholdingCarry Carried{};
};

static_assert(sizeof(RowContext) == 72, "a million rows keep one each");

}  // namespace taxcalc
