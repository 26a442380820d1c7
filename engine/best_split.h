// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The best split of a year's pay between twelve equal monthly wages and one
// year-end bonus, exact to the cent over every whole-cent wage, in whole cents.
// Pure functions: no state, no allocation, no exceptions.
#pragma once

#include <optional>

#include "engine/period_rules.h"

namespace taxcalc {

struct SplitInput {
    Cents Wage;               // the current monthly wage
    Cents Bonus;              // the current year-end bonus
    Cents Deductions;         // each month's social insurance and housing fund
    Cents MinimumWage;        // the least monthly wage the split may pay
    Cents SpecialDeductions;  // from 2019: the year's special additional deductions
};

struct YearTax {
    Cents Tax;
    // From 2019: Separate when the bonus taxed on its own costs no more than joining
    // the year's comprehensive income. Separate in the periods before.
    BonusMethod Method;
};

enum class SplitOutcome {
    Planned,
    MinimumWageAboveShare,  // the minimum wage exceeds a twelfth of the year's pay
};

struct SplitPlan {
    SplitOutcome Outcome;
    YearTax Current;  // the year's tax of the current split
    // The current split when it reaches the least year tax (and pays at least the
    // minimum wage), else the largest wage that reaches it; its bonus is the rest.
    Cents Wage;
    Cents Bonus;
    YearTax Advised;
    Cents Saving;  // Current.Tax - Advised.Tax
    bool KeepsCurrent;
};

// The year's tax of twelve monthly wages `wage` and one bonus.
// Periods that tax wages monthly: twelve times the monthly wage tax plus the bonus's
// tax with the month's wage taken as wage - deductions. From 2019: the yearly
// table on 12 x (wage - deductions) - 60000 - special, plus the bonus on its own,
// or the yearly table on everything together, whichever is less.
YearTax YearTaxOfSplit(const PeriodRules &rules, Cents wage, Cents bonus, Cents deductions,
                       Cents specialDeductions) noexcept;

// The split of the year's pay 12 x wage + bonus with the least year tax. Nothing for
// an amount below 0 or beyond kMaxCents.
std::optional<SplitPlan> BestSplit(const PeriodRules &rules, const SplitInput &input) noexcept;

}  // namespace taxcalc
