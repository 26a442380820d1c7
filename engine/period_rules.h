// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The year-end bonus rules of every period since 2008, in whole cents. Each period
// is one row of one table; its blind zones are derived from its brackets, never
// typed in. Pure functions: no state, no allocation, no exceptions.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string_view>

#include "engine/decimal_form.h"
#include "engine/tax_engine.h"

namespace taxcalc {

// Whole cents (fen). Every amount of the period rules and of planning is one.
using Cents = std::int64_t;

inline constexpr Cents kCentsPerYuan = 100;
inline constexpr Cents kNoBoundCents = std::numeric_limits<Cents>::max();

// The largest amount that the cent arithmetic takes, 10 000 000 000 000 yuan: far
// above any payroll, and small enough that every product of an amount, a rate in
// percent and the twelve months stays well inside 64 bits.
inline constexpr Cents kMaxCents = 1'000'000'000'000'000;

// Whether an amount is one the cent arithmetic takes: 0 up to kMaxCents.
constexpr bool InRange(Cents amount) noexcept {
    return 0 <= amount && amount <= kMaxCents;
}

// A row reaches up to and including UpperBound; the last row takes everything above.
struct CentsBracket {
    Cents UpperBound;
    int RatePercent;
    Cents QuickDeduction;
};

// In the order of the period table, oldest first.
enum class PeriodId { Y2008, Y2011, Y2018, Y2019 };

// Both edges are exclusive: a base strictly between them is in the zone.
struct CentsZone {
    Cents Lower;  // twelve times a bound of the monthly table
    Cents Upper;  // the smallest base above Lower that leaves at least as much after tax
    Cents TaxAtLower;
};

struct PeriodRules {
    PeriodId Id;
    std::string_view Name;      // the --rules name
    std::string_view FirstDay;  // pay from this day...
    std::string_view LastDay;   // ...to this day, both included
    Cents Allowance;            // monthly
    // The monthly table; the bonus is taxed at the row of its monthly average.
    std::span<const CentsBracket> Brackets;
    // Whether a month's wage below the allowance lowers the bonus's base.
    bool WageReducesBonus;
    // How amounts and taxes round a half cent: 2011 keeps the calculator window's
    // figures; the other periods round it away from zero, as Chinese practice does.
    HalfRule Rounding;
    // From 2019 wages belong to the year's comprehensive income, taxed by the yearly
    // table and withheld cumulatively month by month: no monthly wage tax of its own.
    bool ComprehensiveYear;
    // The blind zones of the monthly table, derived from it, one for each bound but the
    // last, lowest first.
    std::span<const CentsZone> Zones;
};

struct PeriodBonus {
    Cents Base;
    Cents Tax;
    Cents AfterTax;
    bool InBlindZone;
    // Zero unless InBlindZone.
    Cents RecommendedBonus;
    Cents RecommendedTax;
    Cents RecommendedAfterTax;
};

// From 2019: whether the bonus is better taxed on its own or within the year's
// comprehensive income.
enum class BonusMethod { Separate, Combined };

struct MethodChoice {
    Cents SeparateTax;       // the bonus's own tax
    Cents CombinedIncrease;  // what joining the year's income adds to its tax
    BonusMethod Advised;     // Separate when SeparateTax <= CombinedIncrease
};

// Every period, oldest first.
std::span<const PeriodRules> AllPeriods() noexcept;
const PeriodRules &Rules(PeriodId id) noexcept;
const PeriodRules *FindPeriod(std::string_view name) noexcept;

// The yearly comprehensive-income table in force from 2019.
std::span<const CentsBracket> YearlyBrackets() noexcept;

// The amount rounded to the cent as RoundCents rounds it (a half by `half`), in
// cents; nothing for a non-finite amount or one beyond kMaxCents.
std::optional<Cents> ToCents(Amount amount, HalfRule half = HalfRule::ToEven) noexcept;

// x x rate - quick deduction at the row that x selects (inclusive bounds), rounded
// to the cent by `half`; 0 when x <= 0.
Cents TableTax(std::span<const CentsBracket> brackets, Cents x, HalfRule half) noexcept;

// The index of the row that x selects, inclusive bounds.
std::size_t RowOf(std::span<const CentsBracket> brackets, Cents x) noexcept;

// bonus - (allowance - wage) where the period lowers the bonus by a short wage and
// the wage is below the allowance, else the bonus.
Cents BonusBaseOf(const PeriodRules &rules, Cents bonus, Cents wage) noexcept;

// The tax of a bonus base: the whole base at the row of its monthly average (the
// first whose bound x 12 reaches it), less one monthly quick deduction, a half cent
// rounded by the period's rule; 0 for a base <= 0.
Cents BonusTaxOfBase(const PeriodRules &rules, Cents base) noexcept;

// The period's blind zones, one for each bound but the last, lowest first.
std::span<const CentsZone> BlindZones(const PeriodRules &rules) noexcept;

// The bonus's tax, its after-tax amount and, where its base sits in a blind zone,
// the bonus at the zone's lower edge.
PeriodBonus TaxBonus(const PeriodRules &rules, Cents bonus, Cents wage) noexcept;

// Tax by the yearly table, a half cent away from zero; 0 for taxable <= 0.
Cents YearlyTax(Cents taxable) noexcept;

// annualTaxable is the year's comprehensive taxable income without the bonus.
MethodChoice ChooseBonusMethod(Cents bonusTax, Cents bonus, Cents annualTaxable) noexcept;

}  // namespace taxcalc
