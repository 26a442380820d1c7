// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <iomanip>
#include <limits>
#include <ostream>

#include "engine/tax_engine.h"

namespace taxcalc {
namespace {

constexpr double kNoise = 1e-6;

BonusAdvice Advise(Amount bonus, Amount wage) {
    return AdviseBonus(CompareBonusTax(bonus, wage).BonusBase2011, wage);
}

struct AdviceCase {
    Amount Bonus;
    Amount Wage;
    bool InBlindZone;
    Amount Recommended;
    Amount Tax;
    Amount AfterTax;
};

void PrintTo(const AdviceCase &c, std::ostream *os) {
    *os << std::setprecision(12) << "bonus " << c.Bonus << " wage " << c.Wage;
}

class AdviseBonusExample : public testing::TestWithParam<AdviceCase> {};

TEST_P(AdviseBonusExample, GivesTheWorkedAdvice) {
    const AdviceCase &c = GetParam();
    const BonusAdvice advice = Advise(c.Bonus, c.Wage);
    EXPECT_EQ(advice.InBlindZone, c.InBlindZone) << c.Bonus << " with wage " << c.Wage;
    // Outside a zone the three amounts are zero.
    EXPECT_NEAR(advice.RecommendedBonus, c.Recommended, kNoise);
    EXPECT_EQ(advice.RecommendedTax, c.Tax);
    EXPECT_NEAR(advice.RecommendedAfterTax, c.AfterTax, kNoise);
}

INSTANTIATE_TEST_SUITE_P(
    Figures, AdviseBonusExample,
    testing::Values(AdviceCase{18001, 3500, true, 18000, 540, 17460},
                    AdviceCase{54001, 3500, true, 54000, 5295, 48705},
                    AdviceCase{110000, 3500, true, 108000, 21045, 86955},
                    AdviceCase{430000, 3500, true, 420000, 103995, 316005},
                    AdviceCase{700000, 3500, true, 660000, 195245, 464755},
                    AdviceCase{1000000, 3500, true, 960000, 330495, 629505},
                    AdviceCase{18600, 3000, true, 18500, 540, 17960}, AdviceCase{18500, 3000, false, 0, 0, 0},
                    AdviceCase{18100, 3456.78, true, 18043.22, 540, 17503.22},
                    AdviceCase{18001, 4000, true, 18000, 540, 17460}, AdviceCase{300, 3000, false, 0, 0, 0},
                    AdviceCase{0, 3500, false, 0, 0, 0}, AdviceCase{30000, 3500, false, 0, 0, 0}));

struct ZoneEdges {
    Amount Lower;
    Amount FirstInside;
    Amount LastInside;
    Amount Upper;
    Amount BracketEnd;  // where the bracket above Lower ends; infinite for the top one
};

// Both bounds are exclusive; the published values, written out here by hand.
constexpr ZoneEdges kZones[] = {
    {18000, 18000.01, 19283.32, 19283.33, 54000},
    {54000, 54000.01, 60187.49, 60187.5, 108000},
    {108000, 108000.01, 114599.99, 114600, 420000},
    {420000, 420000.01, 447499.99, 447500, 660000},
    {660000, 660000.01, 706538.45, 706538.46, 960000},
    {960000, 960000.01, 1119999.99, 1120000, std::numeric_limits<double>::infinity()},
};

void PrintTo(const ZoneEdges &zone, std::ostream *os) {
    *os << std::setprecision(12) << "zone above " << zone.Lower;
}

class BlindZoneEdges : public testing::TestWithParam<ZoneEdges> {};

TEST_P(BlindZoneEdges, ExcludesBothBounds) {
    const ZoneEdges &zone = GetParam();
    EXPECT_FALSE(Advise(zone.Lower, 3500).InBlindZone);
    EXPECT_TRUE(Advise(zone.FirstInside, 3500).InBlindZone);
    EXPECT_TRUE(Advise(zone.LastInside, 3500).InBlindZone);
    EXPECT_FALSE(Advise(zone.Upper, 3500).InBlindZone);
    EXPECT_EQ(Advise(zone.LastInside, 3500).RecommendedBonus, zone.Lower);
}

std::int64_t AfterTaxCents(std::int64_t bonusCents) {
    return std::llround(CompareBonusTax(static_cast<double>(bonusCents) / 100, 3500).AfterTaxBonus * 100);
}

// Inside a zone every bonus leaves less than the zone's Lower; from Upper to the end
// of its bracket none does. Cent steps at both ends of each range, an even spread
// between them.
TEST_P(BlindZoneEdges, LeavesLessAfterTaxExactlyInside) {
    const ZoneEdges &zone = GetParam();
    const std::int64_t lower = std::llround(zone.Lower * 100);
    const std::int64_t upper = std::llround(zone.Upper * 100);
    const std::int64_t end =
        std::isfinite(zone.BracketEnd) ? std::llround(zone.BracketEnd * 100) : 10 * upper;
    const std::int64_t atLower = AfterTaxCents(lower);
    const auto sample = [](std::int64_t from, std::int64_t to, auto &&check) {
        for (std::int64_t c = from; c <= to && c < from + 500; ++c) {
            check(c);
        }
        for (std::int64_t c = std::max(from, to - 500); c <= to; ++c) {
            check(c);
        }
        const std::int64_t step = std::max<std::int64_t>(1, (to - from) / 5000);
        for (std::int64_t c = from; c <= to; c += step) {
            check(c);
        }
    };
    sample(lower + 1, upper - 1, [&](std::int64_t c) { ASSERT_LT(AfterTaxCents(c), atLower) << c; });
    sample(upper, end, [&](std::int64_t c) { ASSERT_GE(AfterTaxCents(c), atLower) << c; });
}

INSTANTIATE_TEST_SUITE_P(Zones, BlindZoneEdges, testing::ValuesIn(kZones));

TEST(BlindZoneTable, HoldsThePublishedValues) {
    ASSERT_EQ(kBlindZones.size(), std::size(kZones));
    const Amount taxAtLower[] = {540, 5295, 21045, 103995, 195245, 330495};
    for (std::size_t i = 0; i < kBlindZones.size(); ++i) {
        EXPECT_EQ(kBlindZones[i].Lower, kZones[i].Lower);
        EXPECT_EQ(kBlindZones[i].Upper, kZones[i].Upper);
        EXPECT_EQ(kBlindZones[i].TaxAtLower, taxAtLower[i]);
        // The tax at Lower is what the 2011 method charges there.
        EXPECT_EQ(CompareBonusTax(kZones[i].Lower, 3500).BonusTax2011, taxAtLower[i]);
    }
}

TEST(AdviseBonus, StaysFiniteForHugeAndNegativeAmounts) {
    EXPECT_FALSE(AdviseBonus(-0.01, 3500).InBlindZone);
    EXPECT_FALSE(AdviseBonus(-1e300, -1e300).InBlindZone);
    EXPECT_FALSE(AdviseBonus(1e300, 3500).InBlindZone);
    EXPECT_FALSE(AdviseBonus(std::numeric_limits<double>::max(), 0).InBlindZone);
    const BonusAdvice far = AdviseBonus(18001, -std::numeric_limits<double>::max());
    EXPECT_TRUE(far.InBlindZone);
    EXPECT_TRUE(std::isfinite(far.RecommendedBonus) && std::isfinite(far.RecommendedAfterTax));
    const BonusAdvice poor = AdviseBonus(18001, -1e6);
    EXPECT_EQ(poor.RecommendedBonus, 1003500 + 18000);
    EXPECT_EQ(poor.RecommendedAfterTax, 1003500 + 17460);
}

}  // namespace
}  // namespace taxcalc
