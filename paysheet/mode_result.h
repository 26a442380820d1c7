// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// What a mode computes for one row, as figures rather than text: each mode's compute
// function fills one alternative, and each of its added columns writes its cell from
// it. The window's charts read the same figures; none is read back from a cell.
#pragma once

#include <string>
#include <type_traits>
#include <variant>

#include "engine/annual_reconciliation.h"
#include "engine/best_split.h"
#include "engine/cumulative_withholding.h"
#include "engine/number_text.h"
#include "engine/pay_planner.h"
#include "engine/period_rules.h"
#include "engine/remuneration.h"
#include "engine/tax_engine.h"

namespace taxcalc {

// The bonus as the window computes it: both methods' tax and the advice.
struct WindowBonusFigures {
    BonusTaxComparison Tax;
    BonusAdvice Advice;
};

// The bonus under a period's rules, and from 2019 the method that costs less where
// the year's taxable income is given (Chosen).
struct PeriodBonusFigures {
    PeriodBonus Tax;
    MethodChoice Choice;
    bool Chosen;
};

// A year reconciled, with the bonus and the tax paid it was reconciled from.
struct ReconciliationFigures {
    Reconciliation Year;
    Cents Bonus;
    Cents Paid;
};

using ModeResult =
    std::variant<std::monostate, WindowBonusFigures, PeriodBonusFigures, WageTaxComparison, GrossBonus,
                 GrossWage, SplitPlan, WithheldMonth, RemunerationTax, ReconciliationFigures>;

// Writes an added column's cell from the row's result; leaves it empty where the
// figure is not written for this row.
using CellWriter = void (*)(const ModeResult &result, std::string &cell);

namespace result_detail {
template <class>
struct MemberOf;
template <class T, class C>
struct MemberOf<T C::*> {
    using Class = C;
};
}  // namespace result_detail

// The mode's figures of type T in `result`; only called by the columns of the mode
// that computes them.
template <class T>
const T &FiguresOf(const ModeResult &result) noexcept {
    return *std::get_if<T>(&result);
}

// The field that the member pointers lead to, from the mode's figures that the first
// belongs to: FieldOf<&ReconciliationFigures::Year, &Reconciliation::Tax>.
template <auto First, auto... Rest>
const auto &FieldOf(const ModeResult &result) noexcept {
    using Figures = typename result_detail::MemberOf<decltype(First)>::Class;
    return ((FiguresOf<Figures>(result).*First).*....*Rest);
}

// The usual cells: an amount of cents with two decimals, and a rate.
template <auto... Path>
void CentsCell(const ModeResult &result, std::string &cell) {
    cell.clear();
    AppendCents(cell, FieldOf<Path...>(result));
}
template <auto... Path>
void PercentCell(const ModeResult &result, std::string &cell) {
    cell = std::to_string(FieldOf<Path...>(result)) + "%";
}

}  // namespace taxcalc
