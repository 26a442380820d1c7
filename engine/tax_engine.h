// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The tax engine: the two monthly schedules, the year-end bonus methods and the
// blind-zone advisor. Pure functions of their arguments: no state, no allocation,
// no exceptions. Every finite input yields a record.
#pragma once

#include <array>
#include <limits>
#include <span>

#include "engine/decimal_form.h"

namespace taxcalc {

// Yuan, as a binary double. Every figure, bound, rate product and tax is one.
using Amount = double;

// A bracket reaches up to and including its UpperBound; the last row of a table
// is taken for anything above every bound, whatever its UpperBound says.
struct Bracket {
    Amount UpperBound;
    double Rate;
    Amount QuickDeduction;
};

struct Schedule {
    Amount Allowance;
    std::span<const Bracket> Brackets;
};

inline constexpr Amount kNoBound = std::numeric_limits<double>::infinity();

inline constexpr std::array<Bracket, 7> kBrackets2011{{
    {1500, 0.03, 0},
    {4500, 0.10, 105},
    {9000, 0.20, 555},
    {35000, 0.25, 1005},
    {55000, 0.30, 2755},
    {80000, 0.35, 5505},
    {kNoBound, 0.45, 13505},
}};

inline constexpr std::array<Bracket, 9> kBrackets2010{{
    {500, 0.05, 0},
    {2000, 0.10, 25},
    {5000, 0.15, 125},
    {20000, 0.20, 375},
    {40000, 0.25, 1375},
    {60000, 0.30, 3375},
    {80000, 0.35, 6375},
    {100000, 0.40, 10375},
    {kNoBound, 0.45, 15375},
}};

// Twelve times the 2011 bounds and quick deductions, applied to a whole bonus base.
inline constexpr std::array<Bracket, 7> kAnnualisedBrackets{{
    {18000, 0.03, 0},
    {54000, 0.10, 1260},
    {108000, 0.20, 6660},
    {420000, 0.25, 12060},
    {660000, 0.30, 33060},
    {960000, 0.35, 66060},
    {kNoBound, 0.45, 162060},
}};

inline constexpr Schedule kSchedule2011{3500, kBrackets2011};
inline constexpr Schedule kSchedule2010{2000, kBrackets2010};

inline constexpr int kMonthsPerYear = 12;

struct WageTaxComparison {
    Amount Taxable2011;
    Amount Taxable2010;
    Amount Tax2011;
    Amount Tax2010;
    bool PaysLess;  // equal taxes count as paying less
    Amount Difference;
};

struct BonusTaxComparison {
    Amount BonusBase2011;
    Amount BonusBase2010;
    Amount BonusTax2011;
    Amount BonusTax2010;
    Amount AnnualisedTax;
    Amount AfterTaxBonus;
    Amount Saving;  // negative when the 2011 method taxes more
};

// Both bounds are exclusive. The values are the published ones, stored as written.
struct BlindZone {
    Amount Lower;
    Amount Upper;
    Amount TaxAtLower;
};

inline constexpr std::array<BlindZone, 6> kBlindZones{{
    {18000, 19283.33, 540},
    {54000, 60187.5, 5295},
    {108000, 114600, 21045},
    {420000, 447500, 103995},
    {660000, 706538.46, 195245},
    {960000, 1120000, 330495},
}};

// The three amounts are zero unless InBlindZone.
struct BonusAdvice {
    bool InBlindZone;
    Amount RecommendedBonus;
    Amount RecommendedTax;
    Amount RecommendedAfterTax;
};

// Rounds to the cent, a half going to the even cent. The half is judged on the
// amount as a person reads it: its decimal form of 15 significant digits, so that
// 16.275 (stored as 16.27499999999999857...) gives 16.28 and 1.005 gives 1.00.
// From 1e13 on that form has no room for cents, and the exact binary value is
// rounded instead. Non-finite values come back unchanged; the sign of a zero result
// follows the input.
Amount RoundCents(Amount amount) noexcept;
// The same with the half rounded by `half`: today's rules round it away from zero.
Amount RoundCents(Amount amount, HalfRule half) noexcept;

// RoundCents((wage - allowance) - deductions); negative results stay negative.
Amount TaxableIncome(Amount wage, Amount deductions, Amount allowance) noexcept;

// Unrounded tax of a monthly taxable amount; 0 for a negative one.
Amount MonthlyTax(const Schedule &schedule, Amount taxable) noexcept;

WageTaxComparison CompareWageTax(Amount wage, Amount deductions) noexcept;

// The bonus less the part of the allowance that the month's wage leaves unused,
// rounded to the cent; may be negative.
Amount BonusBase(Amount bonus, Amount wage, Amount allowance) noexcept;

BonusTaxComparison CompareBonusTax(Amount bonus, Amount wage) noexcept;

// base2011 is the BonusBase2011 that CompareBonusTax gave for the same bonus and wage.
BonusAdvice AdviseBonus(Amount base2011, Amount wage) noexcept;

}  // namespace taxcalc
