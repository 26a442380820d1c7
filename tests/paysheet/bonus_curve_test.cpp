// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/bonus_curve.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace taxcalc {
namespace {

Cents AfterTaxAt(const BonusCurve &curve, Cents bonus) {
    for (const BonusCurve::Point &point : curve.Points) {
        if (point.Bonus == bonus) {
            return point.AfterTax;
        }
    }
    ADD_FAILURE() << "no point at " << bonus;
    return -1;
}

TEST(BonusCurve, HoldsBothSidesOfTheCliffAndTheMarks) {
    struct Case {
        const char *Name;
        Cents Bonus;
        Cents Wage;
        Cents ZoneLower;  // in bonuses
        Cents ZoneUpper;
        Cents AtLower;     // after tax at the zone's lower edge
        Cents AboveLower;  // one cent above it
        Cents RowAfterTax;
    };
    // 2011: 18000 pays 540.00 (3 %), 18000.01 pays 10 % less 105 = 1695.00; with a
    // wage of 3000 every bonus edge moves up by the 500 the wage leaves unused.
    const Case cases[] = {
        {"18001 wage 3500", 1800100, 350000, 1800000, 1928333, 1746000, 1630501, 1630590},
        {"18600 wage 3000", 1860000, 300000, 1850000, 1978333, 1796000, 1680501, 1689500},
        // 60000 - (60000 x 20 % - 555) = 48555; the 54000 edge keeps 54000 - 5295, and
        // one cent above it 54000.01 - (10800.002 - 555) = 43755.01.
        {"60000 wage 8000", 6000000, 800000, 5400000, 6018750, 4870500, 4375501, 4855500},
    };
    for (const Case &c : cases) {
        const BonusCurve curve = BonusCurve::Around(Rules(PeriodId::Y2011), c.Bonus, c.Wage, 100);
        SCOPED_TRACE(c.Name);
        EXPECT_TRUE(std::is_sorted(curve.Points.begin(), curve.Points.end(),
                                   [](const auto &a, const auto &b) { return a.Bonus < b.Bonus; }));
        EXPECT_EQ(curve.Points.front().Bonus, curve.From);
        EXPECT_EQ(curve.Points.back().Bonus, curve.To);
        EXPECT_GE(curve.Points.size(), 100U);
        // The whole zone is in sight, with room either side.
        EXPECT_LT(curve.From, c.ZoneLower);
        EXPECT_GT(curve.To, c.ZoneUpper);
        EXPECT_LE(curve.From, c.Bonus * 85 / 100);
        EXPECT_GE(curve.To, c.Bonus * 115 / 100);
        ASSERT_FALSE(curve.Zones.empty());
        EXPECT_TRUE(std::any_of(curve.Zones.begin(), curve.Zones.end(), [&](const BonusCurve::Zone &z) {
            return z.Lower == c.ZoneLower && z.Upper == c.ZoneUpper;
        }));
        EXPECT_EQ(AfterTaxAt(curve, c.ZoneLower), c.AtLower);
        EXPECT_EQ(AfterTaxAt(curve, c.ZoneLower + 1), c.AboveLower);
        EXPECT_EQ(AfterTaxAt(curve, c.Bonus), c.RowAfterTax);
        EXPECT_TRUE(curve.Figures.InBlindZone);
        EXPECT_EQ(curve.Figures.RecommendedBonus, c.ZoneLower);
        EXPECT_EQ(curve.Figures.RecommendedAfterTax, c.AtLower);
        // At the upper edge the bonus keeps at least what the lower edge kept.
        EXPECT_GE(AfterTaxAt(curve, c.ZoneUpper), c.AtLower);
    }
}

TEST(BonusCurve, SmallBonusesStayAtOrAboveZero) {
    const BonusCurve curve = BonusCurve::Around(Rules(PeriodId::Y2011), 30000, 350000, 50);
    EXPECT_EQ(curve.From, 0);
    EXPECT_EQ(curve.To, 130000);
    EXPECT_TRUE(curve.Zones.empty());
    EXPECT_FALSE(curve.Figures.InBlindZone);
    // 300 yuan pays 3 %: 9.00.
    EXPECT_EQ(AfterTaxAt(curve, 30000), 29100);
}

}  // namespace
}  // namespace taxcalc
