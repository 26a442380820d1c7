// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/period_rules.h"

#include "engine/first_reaching.h"
#include "engine/law_rules.h"

#include <array>
#include <cmath>

namespace taxcalc {
namespace {

// The window's schedules, read in cents: the 2008 and 2011 periods use the very
// tables that the wage panel calls 2010 and 2011, not copies of them.
template <std::size_t N>
constexpr std::array<CentsBracket, N> InCents(const std::array<Bracket, N> &rows) {
    std::array<CentsBracket, N> cents{};
    for (std::size_t i = 0; i < N; ++i) {
        cents[i].UpperBound = i + 1 == N ? kNoBoundCents : static_cast<Cents>(rows[i].UpperBound * 100);
        // 0.03 x 100 is 3.0000000000000004 as a double: round, never truncate.
        cents[i].RatePercent = static_cast<int>(rows[i].Rate * 100 + 0.5);
        cents[i].QuickDeduction = static_cast<Cents>(rows[i].QuickDeduction * 100);
    }
    return cents;
}

constexpr std::array<CentsBracket, 9> k2008Table = InCents(kBrackets2010);
constexpr std::array<CentsBracket, 7> k2011Table = InCents(kBrackets2011);

// From 2018-10-01 wages were taxed at 5000 yuan a month by the seven rows that the
// law's comprehensive-income table gives a month; from 2019 the bonus on its own too.
constexpr const std::array<CentsBracket, 7> &k2018Table = law::kComprehensiveMonthTable;
constexpr const std::array<CentsBracket, 7> &kYearlyTable = law::kComprehensiveYearTable;

static_assert(k2011Table[0].UpperBound == 150000 && k2011Table[0].RatePercent == 3);
static_assert(k2011Table[6].RatePercent == 45 && k2011Table[6].QuickDeduction == 1350500);
static_assert(k2008Table[8].QuickDeduction == 1537500);
static_assert(kYearlyTable[5].UpperBound == 96000000 && kYearlyTable[6].QuickDeduction == 18192000);

constexpr Cents AllowanceInCents(const Schedule &schedule) {
    return static_cast<Cents>(schedule.Allowance * 100);
}

// numerator / 100 rounded to a whole number by `half`.
constexpr Cents DivideByHundred(Cents numerator, HalfRule half) {
    const bool negative = numerator < 0;
    const Cents magnitude = negative ? -numerator : numerator;
    Cents quotient = magnitude / 100;
    const Cents remainder = magnitude % 100;
    if (remainder > 50 || (remainder == 50 && (half == HalfRule::AwayFromZero || quotient % 2 == 1))) {
        ++quotient;
    }
    return negative ? -quotient : quotient;
}

constexpr std::size_t RowIndex(std::span<const CentsBracket> brackets, Cents x, Cents scale) {
    for (std::size_t i = 0; i + 1 < brackets.size(); ++i) {
        if (x <= brackets[i].UpperBound * scale) {
            return i;
        }
    }
    return brackets.size() - 1;
}

// In hundredths of a cent, x x rate% - quick deduction is exact.
constexpr Cents RowTax(const CentsBracket &row, Cents x, HalfRule half) {
    return DivideByHundred(x * row.RatePercent - row.QuickDeduction * 100, half);
}

constexpr Cents BaseTax(std::span<const CentsBracket> brackets, Cents base, HalfRule half) {
    if (base <= 0) {
        return 0;
    }
    return RowTax(brackets[RowIndex(brackets, base, kMonthsPerYear)], base, half);
}

// A zone starts at twelve times a bound: one cent more moves the whole base to the
// next row's rate. It ends at the first base, in that row or a later one, that
// leaves at least what the lower edge leaves.
template <std::size_t N>
constexpr std::array<CentsZone, N - 1> DeriveZones(std::span<const CentsBracket> brackets, HalfRule half) {
    std::array<CentsZone, N - 1> zones{};
    for (std::size_t i = 0; i + 1 < N; ++i) {
        const Cents lower = brackets[i].UpperBound * kMonthsPerYear;
        const Cents tax = BaseTax(brackets, lower, half);
        const Cents kept = lower - tax;
        Cents upper = kMaxCents;
        for (std::size_t j = i + 1; j < N; ++j) {
            const Cents first = brackets[j - 1].UpperBound * kMonthsPerYear + 1;
            const Cents last = j + 1 == N ? kMaxCents : brackets[j].UpperBound * kMonthsPerYear;
            if (last - BaseTax(brackets, last, half) >= kept) {
                upper = FirstReaching(first, last, kept,
                                      [&](Cents base) { return base - BaseTax(brackets, base, half); });
                break;
            }
        }
        zones[i] = {lower, upper, tax};
    }
    return zones;
}

constexpr std::array<CentsZone, 8> k2008Zones = DeriveZones<9>(k2008Table, HalfRule::AwayFromZero);
constexpr std::array<CentsZone, 6> k2011Zones = DeriveZones<7>(k2011Table, HalfRule::ToEven);
constexpr std::array<CentsZone, 6> k2018Zones = DeriveZones<7>(k2018Table, HalfRule::AwayFromZero);
constexpr std::array<PeriodRules, 4> kPeriods{{
    {
        .Id = PeriodId::Y2008,
        .Name = "2008",
        .FirstDay = "2008-03-01",
        .LastDay = "2011-08-31",
        .Allowance = AllowanceInCents(kSchedule2010),
        .Brackets = k2008Table,
        .WageReducesBonus = true,
        .Rounding = HalfRule::AwayFromZero,
        .ComprehensiveYear = false,
        .Zones = k2008Zones,
    },
    {
        // The calculator window's own rules, figures and all.
        .Id = PeriodId::Y2011,
        .Name = "2011",
        .FirstDay = "2011-09-01",
        .LastDay = "2018-09-30",
        .Allowance = AllowanceInCents(kSchedule2011),
        .Brackets = k2011Table,
        .WageReducesBonus = true,
        .Rounding = HalfRule::ToEven,
        .ComprehensiveYear = false,
        .Zones = k2011Zones,
    },
    {
        .Id = PeriodId::Y2018,
        .Name = "2018",
        .FirstDay = "2018-10-01",
        .LastDay = "2018-12-31",
        .Allowance = law::kAllowanceMonth,
        .Brackets = k2018Table,
        .WageReducesBonus = true,
        .Rounding = HalfRule::AwayFromZero,
        .ComprehensiveYear = false,
        .Zones = k2018Zones,
    },
    {
        // The bonus taxed on its own, by the monthly table of 2018: the month's wage
        // plays no part. Wages belong to the year's comprehensive income.
        .Id = PeriodId::Y2019,
        .Name = "2019",
        .FirstDay = LatestOf(LawRuleId::BonusSeparateTaxation).FirstDay,
        .LastDay = LatestOf(LawRuleId::BonusSeparateTaxation).LastDay,
        .Allowance = law::kAllowanceMonth,
        .Brackets = k2018Table,
        .WageReducesBonus = false,
        .Rounding = HalfRule::AwayFromZero,
        .ComprehensiveYear = true,
        .Zones = k2018Zones,
    },
}};

// Rules(PeriodId) finds a period by its place in the table.
constexpr bool InIdOrder() {
    for (std::size_t i = 0; i < kPeriods.size(); ++i) {
        if (static_cast<std::size_t>(kPeriods[i].Id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(InIdOrder());
static_assert(kPeriods[3].FirstDay == "2019-01-01" && kPeriods[3].LastDay == "2027-12-31");

// Each period's zones start at its own table's bounds.
constexpr bool ZonesFitTables() {
    for (const PeriodRules &rules : kPeriods) {
        if (rules.Zones.size() + 1 != rules.Brackets.size()) {
            return false;
        }
        for (std::size_t i = 0; i < rules.Zones.size(); ++i) {
            if (rules.Zones[i].Lower != rules.Brackets[i].UpperBound * kMonthsPerYear) {
                return false;
            }
        }
    }
    return true;
}
static_assert(ZonesFitTables());

}  // namespace

std::span<const PeriodRules> AllPeriods() noexcept {
    return kPeriods;
}

const PeriodRules &Rules(PeriodId id) noexcept {
    return kPeriods[static_cast<std::size_t>(id)];
}

const PeriodRules *FindPeriod(std::string_view name) noexcept {
    for (const PeriodRules &rules : kPeriods) {
        if (rules.Name == name) {
            return &rules;
        }
    }
    return nullptr;
}

std::span<const CentsBracket> YearlyBrackets() noexcept {
    return kYearlyTable;
}

std::optional<Cents> ToCents(Amount amount, HalfRule half) noexcept {
    const Amount rounded = RoundCents(amount, half);
    if (!std::isfinite(rounded) || std::fabs(rounded) > static_cast<double>(kMaxCents / kCentsPerYuan)) {
        return std::nullopt;
    }
    // Below 1e13 yuan, rounded x 100 lies within far less than half a cent of the
    // whole number of cents it stands for.
    return static_cast<Cents>(std::llround(rounded * 100));
}

Cents TableTax(std::span<const CentsBracket> brackets, Cents x, HalfRule half) noexcept {
    if (x <= 0) {
        return 0;
    }
    return RowTax(brackets[RowIndex(brackets, x, 1)], x, half);
}

std::size_t RowOf(std::span<const CentsBracket> brackets, Cents x) noexcept {
    return RowIndex(brackets, x, 1);
}

Cents BonusBaseOf(const PeriodRules &rules, Cents bonus, Cents wage) noexcept {
    if (rules.WageReducesBonus && wage < rules.Allowance) {
        return bonus - (rules.Allowance - wage);
    }
    return bonus;
}

Cents BonusTaxOfBase(const PeriodRules &rules, Cents base) noexcept {
    return BaseTax(rules.Brackets, base, rules.Rounding);
}

std::span<const CentsZone> BlindZones(const PeriodRules &rules) noexcept {
    return rules.Zones;
}

PeriodBonus TaxBonus(const PeriodRules &rules, Cents bonus, Cents wage) noexcept {
    PeriodBonus result{};
    result.Base = BonusBaseOf(rules, bonus, wage);
    result.Tax = BonusTaxOfBase(rules, result.Base);
    result.AfterTax = bonus - result.Tax;
    for (const CentsZone &zone : BlindZones(rules)) {
        if (zone.Lower < result.Base && result.Base < zone.Upper) {
            result.InBlindZone = true;
            // What the wage took off the bonus is paid on top of the zone's edge.
            result.RecommendedBonus = zone.Lower + (bonus - result.Base);
            result.RecommendedTax = zone.TaxAtLower;
            result.RecommendedAfterTax = result.RecommendedBonus - zone.TaxAtLower;
            break;
        }
    }
    return result;
}

Cents YearlyTax(Cents taxable) noexcept {
    return TableTax(kYearlyTable, taxable, HalfRule::AwayFromZero);
}

MethodChoice ChooseBonusMethod(Cents bonusTax, Cents bonus, Cents annualTaxable) noexcept {
    MethodChoice choice{};
    choice.SeparateTax = bonusTax;
    choice.CombinedIncrease = YearlyTax(annualTaxable + bonus) - YearlyTax(annualTaxable);
    choice.Advised = bonusTax <= choice.CombinedIncrease ? BonusMethod::Separate : BonusMethod::Combined;
    return choice;
}

}  // namespace taxcalc
