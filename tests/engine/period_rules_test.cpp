// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/period_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <limits>
#include <random>
#include <vector>

namespace taxcalc {
namespace {

const PeriodRules &P2008 = Rules(PeriodId::Y2008);
const PeriodRules &P2011 = Rules(PeriodId::Y2011);
const PeriodRules &P2019 = Rules(PeriodId::Y2019);

// The monthly tables as the law publishes them, in yuan and percent, typed here
// again so that the slow method below shares nothing with the engine.
struct LawRow {
    long long Bound;  // 0 for the last row
    int Rate;
    long long QuickDeduction;
};
const std::vector<LawRow> kLaw2008{{500, 5, 0},       {2000, 10, 25},      {5000, 15, 125},
                                   {20000, 20, 375},  {40000, 25, 1375},   {60000, 30, 3375},
                                   {80000, 35, 6375}, {100000, 40, 10375}, {0, 45, 15375}};
const std::vector<LawRow> kLaw2011{{1500, 3, 0},      {4500, 10, 105},   {9000, 20, 555}, {35000, 25, 1005},
                                   {55000, 30, 2755}, {80000, 35, 5505}, {0, 45, 13505}};
const std::vector<LawRow> kLaw2018{{3000, 3, 0},      {12000, 10, 210},  {25000, 20, 1410}, {35000, 25, 2660},
                                   {55000, 30, 4410}, {80000, 35, 7160}, {0, 45, 15160}};

const std::vector<LawRow> &LawOf(const PeriodRules &rules) {
    return rules.Id == PeriodId::Y2008 ? kLaw2008 : rules.Id == PeriodId::Y2011 ? kLaw2011 : kLaw2018;
}

// The bonus's after-tax amount of a base, slowly: the row by its monthly average in
// yuan, the tax rounded by the FPU (every half cent is exact in binary): ties to even
// for 2011, away from zero for the other periods.
Cents SlowAfterTax(const std::vector<LawRow> &law, Cents base, bool toEven) {
    if (base <= 0) {
        return base;
    }
    std::size_t row = 0;
    while (law[row].Bound != 0 && static_cast<long double>(base) / 1200 > law[row].Bound) {
        ++row;
    }
    const long double exact =
        static_cast<long double>(base) * law[row].Rate / 100 - law[row].QuickDeduction * 100;
    return base - static_cast<Cents>(toEven ? std::nearbyintl(exact) : std::roundl(exact));
}

struct ZoneCase {
    PeriodId Period;
    std::size_t Index;
    Cents Lower;
    Cents Upper;
    Cents TaxAtLower;
};

void PrintTo(const ZoneCase &c, std::ostream *os) {
    *os << "period " << Rules(c.Period).Name << " zone " << c.Index + 1;
}

class PeriodZoneEdges : public testing::TestWithParam<ZoneCase> {};

// Upper is the first base that leaves at least what Lower leaves: one cent less
// leaves less.
TEST_P(PeriodZoneEdges, AreTheHandWorkedOnes) {
    const ZoneCase &c = GetParam();
    const PeriodRules &rules = Rules(c.Period);
    const std::span<const CentsZone> zones = BlindZones(rules);
    ASSERT_LT(c.Index, zones.size());
    EXPECT_EQ(zones[c.Index].Lower, c.Lower);
    EXPECT_EQ(zones[c.Index].Upper, c.Upper);
    EXPECT_EQ(zones[c.Index].TaxAtLower, c.TaxAtLower);
    EXPECT_EQ(BonusTaxOfBase(rules, c.Lower), c.TaxAtLower);
    const Cents kept = c.Lower - c.TaxAtLower;
    EXPECT_GE(c.Upper - BonusTaxOfBase(rules, c.Upper), kept);
    EXPECT_LT(c.Upper - 1 - BonusTaxOfBase(rules, c.Upper - 1), kept);
    EXPECT_LT(c.Lower + 1 - BonusTaxOfBase(rules, c.Lower + 1), kept);
}

// 2011: the published zones (19283.33 ... 1120000, taxes 540 ... 330495). 2018 has
// 2019's table. 2008 by hand, e.g. 240000 leaves 192375 and 0.75 b + 1375
// reaches it at 254666.666...; at 254666.66 the tax 62291.665 rounds away from zero
// to 62291.67, leaving 192374.99; 254666.67 leaves exactly 192375.00.
INSTANTIATE_TEST_SUITE_P(Periods, PeriodZoneEdges,
                         testing::Values(ZoneCase{PeriodId::Y2011, 0, 1800000, 1928333, 54000},
                                         ZoneCase{PeriodId::Y2011, 1, 5400000, 6018750, 529500},
                                         ZoneCase{PeriodId::Y2011, 2, 10800000, 11460000, 2104500},
                                         ZoneCase{PeriodId::Y2011, 3, 42000000, 44750000, 10399500},
                                         ZoneCase{PeriodId::Y2011, 4, 66000000, 70653846, 19524500},
                                         ZoneCase{PeriodId::Y2011, 5, 96000000, 112000000, 33049500},
                                         ZoneCase{PeriodId::Y2019, 0, 3600000, 3856667, 108000},
                                         ZoneCase{PeriodId::Y2019, 1, 14400000, 16050000, 1419000},
                                         ZoneCase{PeriodId::Y2019, 2, 30000000, 31833333, 5859000},
                                         ZoneCase{PeriodId::Y2019, 3, 42000000, 44750000, 10234000},
                                         ZoneCase{PeriodId::Y2019, 4, 66000000, 70653846, 19359000},
                                         ZoneCase{PeriodId::Y2019, 5, 96000000, 112000000, 32884000},
                                         ZoneCase{PeriodId::Y2008, 0, 600000, 630556, 30000},
                                         ZoneCase{PeriodId::Y2008, 3, 24000000, 25466667, 4762500},
                                         ZoneCase{PeriodId::Y2008, 7, 120000000, 130000000, 46962500}));

TEST(PeriodZones, OneForEveryBoundButTheLast) {
    for (const PeriodRules &rules : AllPeriods()) {
        EXPECT_EQ(BlindZones(rules).size(), LawOf(rules).size() - 1) << rules.Name;
    }
}

const PeriodRules *const kDistinctTables[] = {&P2008, &P2011, &P2019};

// The zones by the slow method: inside, less is left than at the lower edge; at the
// upper edge, at least as much. Every cent of the narrower zones; of the wide ones
// the 20000 cents at either end and every 997th between.
TEST(PeriodZones, EveryCentInsideLeavesLessThanTheLowerEdge) {
    constexpr Cents kEnds = 20000;
    for (const PeriodRules *rules : kDistinctTables) {
        const std::vector<LawRow> &law = LawOf(*rules);
        for (const CentsZone &zone : BlindZones(*rules)) {
            SCOPED_TRACE(testing::Message() << rules->Name << " zone from " << zone.Lower);
            const bool toEven = rules->Rounding == HalfRule::ToEven;
            const Cents kept = SlowAfterTax(law, zone.Lower, toEven);
            const bool wide = zone.Upper - zone.Lower > 15 * kEnds;
            for (Cents base = zone.Lower + 1; base < zone.Upper; ++base) {
                if (wide && base == zone.Lower + kEnds) {
                    for (; base < zone.Upper - kEnds; base += 997) {
                        ASSERT_LT(SlowAfterTax(law, base, toEven), kept) << base;
                    }
                }
                ASSERT_LT(SlowAfterTax(law, base, toEven), kept) << base;
            }
            EXPECT_GE(SlowAfterTax(law, zone.Upper, toEven), kept);
        }
    }
}

// Every cent from 0 to 1000 yuan beyond the first zone: a base is in a zone exactly
// when some smaller base leaves more after tax; the tax is the slow method's.
TEST(PeriodZones, AreExactlyWhereALargerBonusLeavesLessUpToBeyondTheFirstZone) {
    for (const PeriodRules *rules : kDistinctTables) {
        const std::vector<LawRow> &law = LawOf(*rules);
        Cents best = 0;
        int mismatches = 0;
        const Cents last = BlindZones(*rules)[0].Upper + 100000;
        for (Cents base = 0; base <= last && mismatches < 5; ++base) {
            const Cents after = SlowAfterTax(law, base, rules->Rounding == HalfRule::ToEven);
            ASSERT_EQ(base - BonusTaxOfBase(*rules, base), after) << rules->Name << " base " << base;
            if (TaxBonus(*rules, base, rules->Allowance).InBlindZone != (after < best)) {
                ADD_FAILURE() << rules->Name << " base " << base;
                ++mismatches;
            }
            best = std::max(best, after);
        }
    }
}

// The window's 2011 and 2010 methods on whole cents, with the window's published zones.
struct WindowCase {
    Amount Bonus;
    Amount Wage;
};

void ExpectWindowFigures(const WindowCase &c) {
    SCOPED_TRACE(testing::Message() << std::setprecision(15) << "bonus " << c.Bonus << " wage " << c.Wage);
    const Cents bonus = *ToCents(c.Bonus);
    const Cents wage = *ToCents(c.Wage);
    const BonusTaxComparison window = CompareBonusTax(c.Bonus, c.Wage);
    const BonusAdvice advice = AdviseBonus(window.BonusBase2011, c.Wage);
    const PeriodBonus y2011 = TaxBonus(P2011, bonus, wage);
    EXPECT_EQ(y2011.Base, ToCents(window.BonusBase2011));
    EXPECT_EQ(y2011.Tax, ToCents(window.BonusTax2011));
    EXPECT_EQ(y2011.AfterTax, ToCents(window.AfterTaxBonus));
    EXPECT_EQ(y2011.InBlindZone, advice.InBlindZone);
    if (advice.InBlindZone) {
        EXPECT_EQ(y2011.RecommendedBonus, ToCents(advice.RecommendedBonus));
        EXPECT_EQ(y2011.RecommendedTax, ToCents(advice.RecommendedTax));
        EXPECT_EQ(y2011.RecommendedAfterTax, ToCents(advice.RecommendedAfterTax));
    }
    // 2008 is the window's 2010 method but for a half cent, which it rounds away from zero.
    const PeriodBonus y2008 = TaxBonus(P2008, bonus, wage);
    EXPECT_EQ(y2008.Base, ToCents(window.BonusBase2010));
    EXPECT_EQ(y2008.Tax, y2008.Base - SlowAfterTax(kLaw2008, y2008.Base, false));
}

TEST(PeriodBonusTax, Periods2011And2008GiveTheWindowsFiguresForThePanelsExamples) {
    const WindowCase cases[] = {
        {18000, 3500},    {18001, 3500},      {18600, 3000},  {18000, 4000},     {300, 3000},
        {100, 1500},      {3000, 1000},       {6000, 3500},   {5999.99, 3500},   {54001, 3500},
        {19283.33, 3500}, {19283.32, 3500},   {0, 3500},      {18000.01, 3500},  {60187.5, 3500},
        {60187.49, 3500}, {110000, 3500},     {430000, 3500}, {700000, 3500},    {1000000, 3500},
        {1120000, 3500},  {1119999.99, 3500}, {18500, 3000},  {18100, 3456.78},  {18001, 4000},
        {24000, 3500},    {60000, 3500},      {542.5, 3500},  {706538.46, 3500}, {706538.45, 3500},
    };
    for (const WindowCase &c : cases) {
        ExpectWindowFigures(c);
    }
}

TEST(PeriodBonusTax, Periods2011And2008GiveTheWindowsFiguresOverASweepOfCents) {
    std::mt19937_64 random(2011);
    const Cents edges[] = {600000,   1800000,  2400000,  5400000,  6000000,  10800000,  24000000,
                           42000000, 48000000, 66000000, 72000000, 96000000, 120000000, 112000000};
    for (int i = 0; i < 200000 && !HasFailure(); ++i) {
        // Anywhere up to 1.5 million yuan, or within 10 yuan of a zone's edge.
        const Cents bonus =
            i % 2 == 0 ? static_cast<Cents>(random() % 150000000)
                       : edges[random() % std::size(edges)] + static_cast<Cents>(random() % 2001) - 1000;
        const Cents wage = i % 3 == 0 ? 350000 : static_cast<Cents>(random() % 600000);
        ExpectWindowFigures({static_cast<Amount>(bonus) / 100, static_cast<Amount>(wage) / 100});
    }
}

// Separate: the bonus by the monthly table. Combined: what it adds to the year's tax.
TEST(ChooseBonusMethod, WorkedPoints) {
    struct Case {
        Cents Bonus;
        Cents AnnualTaxable;
        Cents Separate;
        Cents Increase;
        BonusMethod Advised;
    };
    const Case cases[] = {
        // 36001 x 10% - 210; 136001 x 10% - 2520 - (100000 x 10% - 2520)
        {3600100, 10000000, 339010, 360010, BonusMethod::Separate},
        // 144001 / 12 in the 20% row: 27390.20; alone in the year: 144001 x 10% - 2520
        {14400100, 0, 2739020, 1188020, BonusMethod::Combined},
        // a tie goes to the separate method
        {3600000, 0, 108000, 108000, BonusMethod::Separate},
        // 120000 at 10% - 210; 1080000 and 960000 in the yearly table
        {12000000, 96000000, 1179000, 5400000, BonusMethod::Separate},
        {0, 5000000, 0, 0, BonusMethod::Separate},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "bonus " << c.Bonus << " taxable " << c.AnnualTaxable);
        const PeriodBonus bonus = TaxBonus(P2019, c.Bonus, 0);
        const MethodChoice choice = ChooseBonusMethod(bonus.Tax, c.Bonus, c.AnnualTaxable);
        EXPECT_EQ(choice.SeparateTax, c.Separate);
        EXPECT_EQ(choice.CombinedIncrease, c.Increase);
        EXPECT_EQ(choice.Advised, c.Advised);
    }
}

TEST(YearlyTax, RowsBoundsAndHalfCents) {
    // 1.5 and 4.5 cents away from zero; 36000.01 x 10% - 2520 = 1080.001
    const std::pair<Cents, Cents> cases[] = {{-100, 0},
                                             {0, 0},
                                             {50, 2},
                                             {150, 5},
                                             {3600000, 108000},
                                             {3600001, 108000},
                                             {14400000, 1188000},
                                             {14400001, 1188000},
                                             {96000000, 25008000},
                                             {96000100, 25008045}};
    for (const auto &[taxable, tax] : cases) {
        EXPECT_EQ(YearlyTax(taxable), tax) << taxable;
    }
}

// A half cent under each period: 2011 keeps the window's even cent, the others
// round it away from zero, the amount read and the bonus's tax alike.
TEST(PeriodRounding, AHalfCentUnderEachPeriod) {
    struct Case {
        PeriodId Period;
        Cents Bonus;  // its tax falls on a half cent
        Cents Tax;
        Cents Amount;  // 0.125 read
    };
    const Case cases[] = {
        {PeriodId::Y2008, 10, 1, 13},   // 0.10 at 5%: 0.005
        {PeriodId::Y2011, 150, 4, 12},  // 1.50 at 3%: 0.045
        {PeriodId::Y2018, 150, 5, 13},
        {PeriodId::Y2019, 150, 5, 13},
    };
    for (const Case &c : cases) {
        const PeriodRules &rules = Rules(c.Period);
        EXPECT_EQ(TaxBonus(rules, c.Bonus, rules.Allowance).Tax, c.Tax) << rules.Name;
        EXPECT_EQ(ToCents(0.125, rules.Rounding), c.Amount) << rules.Name;
    }
}

TEST(ToCents, RoundsAsTheWindowAndRefusesWhatItCannotHold) {
    const double inf = std::numeric_limits<double>::infinity();
    // 16.275 is stored just below the half: read as written.
    const std::pair<double, std::optional<Cents>> cases[] = {{0, 0},
                                                             {0.125, 12},
                                                             {0.135, 14},
                                                             {16.275, 1628},
                                                             {-2.675, -268},
                                                             {1e13, 1'000'000'000'000'000},
                                                             {9999999999999.99, 999'999'999'999'999},
                                                             {1e13 + 0.01, std::nullopt},
                                                             {1e300, std::nullopt},
                                                             {inf, std::nullopt},
                                                             {std::nan(""), std::nullopt}};
    for (const auto &[amount, cents] : cases) {
        EXPECT_EQ(ToCents(amount), cents) << std::setprecision(17) << amount;
    }
}

}  // namespace
}  // namespace taxcalc
