// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>
#include <ostream>

#include "engine/tax_engine.h"

namespace taxcalc {
namespace {

constexpr double kNoise = 1e-6;
constexpr double kMax = std::numeric_limits<double>::max();

struct BonusCase {
    Amount Bonus;
    Amount Wage;
    Amount Base2011;
    Amount Base2010;
    Amount Tax2011;
    Amount Tax2010;
    Amount Annualised;
    Amount AfterTax;
    Amount Saving;
};

void PrintTo(const BonusCase &c, std::ostream *os) {
    *os << std::setprecision(12) << "bonus " << c.Bonus << " wage " << c.Wage;
}

class CompareBonusTaxExample : public testing::TestWithParam<BonusCase> {};

TEST_P(CompareBonusTaxExample, GivesTheWorkedFigures) {
    const BonusCase &c = GetParam();
    const BonusTaxComparison r = CompareBonusTax(c.Bonus, c.Wage);
    // Bases and the two averaged taxes are whole cents, so equal to the literals.
    EXPECT_EQ(r.BonusBase2011, c.Base2011);
    EXPECT_EQ(r.BonusBase2010, c.Base2010);
    EXPECT_EQ(r.BonusTax2011, c.Tax2011);
    EXPECT_EQ(r.BonusTax2010, c.Tax2010);
    EXPECT_NEAR(r.AnnualisedTax, c.Annualised, kNoise);
    EXPECT_NEAR(r.AfterTaxBonus, c.AfterTax, kNoise);
    EXPECT_NEAR(r.Saving, c.Saving, kNoise);
}

// The 2010 method keeps an average that sits on a bound in the lower row, as
// MonthlyTax does: bonus 6000 is taxed 300, not 575.
INSTANTIATE_TEST_SUITE_P(
    Figures, CompareBonusTaxExample,
    testing::Values(BonusCase{18000, 3500, 18000, 18000, 540, 1775, 540, 17460, 1235},
                    BonusCase{18001, 3500, 18001, 18001, 1695.10, 1775.10, 540.10, 16305.90, 80},
                    BonusCase{18600, 3000, 18100, 18600, 1705, 1835, 550, 16895, 130},
                    BonusCase{18000, 4000, 18000, 18000, 540, 1775, 540, 17460, 1235},
                    BonusCase{300, 3000, -200, 300, 0, 15, 0, 300, 15},
                    BonusCase{100, 1500, -1900, -400, 0, 0, 0, 100, 0},
                    BonusCase{3000, 1000, 500, 2000, 15, 100, 15, 2985, 85},
                    BonusCase{6000, 3500, 6000, 6000, 180, 300, 180, 5820, 120},
                    BonusCase{24000, 3500, 24000, 24000, 2295, 2375, 1140, 21705, 80},
                    BonusCase{60000, 3500, 60000, 60000, 11445, 8875, 5340, 48555, -2570},
                    BonusCase{5999.99, 3500, 5999.99, 5999.99, 180.00, 300.00, 179.9997, 5819.99, 120},
                    BonusCase{54001, 3500, 54001, 54001, 10245.20, 7975.15, 4140.20, 43755.80, -2270.05},
                    BonusCase{19283.33, 3500, 19283.33, 19283.33, 1823.33, 1903.33, 668.333, 17460, 80},
                    BonusCase{0, 3500, 0, 0, 0, 0, 0, 0, 0},
                    BonusCase{542.5, 3500, 542.5, 542.5, 16.28, 27.12, 16.275, 526.22, 10.84},
                    BonusCase{3754.425, 634.1, 888.52, 2388.52, 26.66, 119.43, 26.6556, 3727.765, 92.77}));

struct RowCase {
    Amount Bonus;
    Amount Tax2011;
    Amount Tax2010;
};

void PrintTo(const RowCase &c, std::ostream *os) {
    *os << std::setprecision(12) << "bonus " << c.Bonus;
}

class BonusRowChoice : public testing::TestWithParam<RowCase> {};

TEST_P(BonusRowChoice, KeepsAnAverageOnABoundInTheLowerRow) {
    const RowCase &c = GetParam();
    const BonusTaxComparison r = CompareBonusTax(c.Bonus, 3500);
    EXPECT_EQ(r.BonusTax2011, c.Tax2011) << c.Bonus;
    EXPECT_EQ(r.BonusTax2010, c.Tax2010) << c.Bonus;
}

// Twelve times each bound of both schedules, and a cent above some of them.
INSTANTIATE_TEST_SUITE_P(
    Bounds, BonusRowChoice,
    testing::Values(RowCase{18000, 540, 1775}, RowCase{54000, 5295, 7975}, RowCase{108000, 21045, 21225},
                    RowCase{420000, 103995, 103625}, RowCase{660000, 195245, 194625},
                    RowCase{960000, 330495, 329625}, RowCase{6000, 180, 300}, RowCase{24000, 2295, 2375},
                    RowCase{60000, 11445, 8875}, RowCase{240000, 58995, 47625},
                    RowCase{480000, 141245, 118625}, RowCase{720000, 246495, 212625},
                    RowCase{1200000, 526495, 469625}, RowCase{6000.01, 180.00, 575.00},
                    RowCase{24000.01, 2295.00, 3475.00}, RowCase{18000.01, 1695.00, 1775.00},
                    RowCase{960000.01, 418495.00, 373625.00}, RowCase{1200000.01, 526495.00, 524625.00}));

// A wrong quick deduction shows as a jump at a bound; a cent either side moves the
// annualised tax by a cent at the rate of that side.
TEST(AnnualisedSchedule, HasNoJumpAtAnyBound) {
    const auto annualised = [](Amount base) { return CompareBonusTax(base, 3500).AnnualisedTax; };
    for (std::size_t i = 0; i + 1 < kAnnualisedBrackets.size(); ++i) {
        const Amount bound = kAnnualisedBrackets[i].UpperBound;
        const Amount at = annualised(bound);
        EXPECT_NEAR(at - annualised(bound - 0.01), 0.01 * kAnnualisedBrackets[i].Rate, kNoise) << bound;
        EXPECT_NEAR(annualised(bound + 0.01) - at, 0.01 * kAnnualisedBrackets[i + 1].Rate, kNoise) << bound;
    }
}

TEST(BonusBase, TakesTheShortfallFirst) {
    EXPECT_EQ(BonusBase(3754.425, 634.1, 3500), 888.52);
    // 4287.105 - 3380.01 is stored as 907.0949999999993...; (4287.105 - 3500) + 119.99
    // lands on an exact-looking half and would read 907.10.
    EXPECT_EQ(BonusBase(4287.105, 119.99, 3500), 907.09);
    EXPECT_EQ(BonusBase(18000, 3500, 3500), 18000);
    EXPECT_EQ(BonusBase(18000, 1e9, 3500), 18000);
    EXPECT_EQ(BonusBase(100, 1500, 2000), -400);
}

TEST(CompareBonusTax, StaysRightForHugeAndNegativeAmounts) {
    const BonusTaxComparison huge = CompareBonusTax(1e300, 3500);
    EXPECT_EQ(huge.BonusBase2011, 1e300);
    EXPECT_NEAR(huge.BonusTax2011, 4.5e299, 1e285);
    EXPECT_NEAR(huge.BonusTax2010, 4.5e299, 1e285);
    EXPECT_NEAR(huge.AnnualisedTax, 4.5e299, 1e285);
    EXPECT_NEAR(huge.AfterTaxBonus, 5.5e299, 1e285);
    EXPECT_TRUE(std::isfinite(huge.Saving));

    for (const auto &[bonus, wage] :
         {std::pair{kMax, 3500.0}, std::pair{kMax, -kMax}, std::pair{1e300, -1e300}, std::pair{-1e300, 1e300},
          std::pair{5e-324, 0.0}}) {
        const BonusTaxComparison r = CompareBonusTax(bonus, wage);
        for (const Amount field : {r.BonusBase2011, r.BonusBase2010, r.BonusTax2011, r.BonusTax2010,
                                   r.AnnualisedTax, r.AfterTaxBonus, r.Saving}) {
            EXPECT_TRUE(std::isfinite(field)) << bonus << " with wage " << wage;
        }
        EXPECT_GE(r.BonusTax2011, 0);
        EXPECT_GE(r.BonusTax2010, 0);
    }

    // A wage far below the allowance leaves a base of nothing or less: no tax.
    const BonusTaxComparison negative = CompareBonusTax(5000, -1e300);
    EXPECT_EQ(negative.BonusBase2011, -1e300);
    EXPECT_EQ(negative.BonusTax2011, 0);
    EXPECT_EQ(negative.BonusTax2010, 0);
    EXPECT_EQ(negative.AnnualisedTax, 0);
    EXPECT_EQ(negative.AfterTaxBonus, 5000);
    EXPECT_EQ(negative.Saving, 0);
}

}  // namespace
}  // namespace taxcalc
