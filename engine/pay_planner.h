// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Planning pay in whole cents: the monthly wage tax of the periods that tax each
// month's wage on its own, and the smallest gross bonus or wage that leaves a wanted
// net amount. Exact to the cent, found by bisection within each row of a table,
// never by stepping. Pure functions: no state, no allocation, no exceptions.
#pragma once

#include <optional>

#include "engine/period_rules.h"

namespace taxcalc {

struct GrossBonus {
    Cents Bonus;     // the smallest bonus that leaves at least the wanted net
    Cents Tax;       // its tax
    Cents AfterTax;  // Bonus - Tax, at least the wanted net

    bool operator==(const GrossBonus &) const = default;
};

struct GrossWage {
    Cents Wage;      // the smallest monthly wage that leaves at least the wanted net
    Cents Tax;       // its monthly wage tax
    Cents TakeHome;  // Wage - deductions - Tax, at least the wanted net

    bool operator==(const GrossWage &) const = default;
};

// Whether the period taxes each month's wage by the monthly table (2008, 2011,
// 2018). From 2019 wages are withheld cumulatively over the year instead.
bool TaxesWagesMonthly(const PeriodRules &rules) noexcept;

// The tax of a month's taxable wage (wage - deductions - allowance) by the period's
// monthly table, inclusive bounds, a half cent away from zero as the window shows
// its wage tax; 0 when taxable <= 0.
Cents WageTaxOfTaxable(const PeriodRules &rules, Cents taxable) noexcept;

// The monthly wage tax of a wage less its deductions. Nothing for a period that does
// not tax wages monthly, or an amount below 0 or beyond kMaxCents.
std::optional<Cents> MonthlyWageTax(const PeriodRules &rules, Cents wage, Cents deductions) noexcept;

// The smallest bonus >= 0 whose after-tax amount (bonus - bonus tax) is at least
// `net`, paid with the month's `wage`. Never a bonus inside a blind zone: the
// zone's lower edge leaves more and is smaller. Nothing for an amount below 0 or
// beyond kMaxCents.
std::optional<GrossBonus> GrossBonusForNet(const PeriodRules &rules, Cents net, Cents wage) noexcept;

// The smallest monthly wage whose take-home (wage - deductions - monthly wage tax)
// is at least `net`. Nothing for a period that does not tax wages monthly, or an
// amount below 0 or beyond kMaxCents.
std::optional<GrossWage> GrossWageForNet(const PeriodRules &rules, Cents net, Cents deductions) noexcept;

}  // namespace taxcalc
