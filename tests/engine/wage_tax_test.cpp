// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <iomanip>
#include <limits>
#include <ostream>
#include <random>

#include "engine/tax_engine.h"

namespace taxcalc {
namespace {

// Unrounded taxes carry the noise of binary rates; a millionth of a yuan is far
// above that noise and far below a cent.
constexpr double kNoise = 1e-6;
constexpr double kMax = std::numeric_limits<double>::max();

struct WageCase {
    Amount Wage;
    Amount Deductions;
    Amount Taxable2011;
    Amount Taxable2010;
    Amount Tax2011;
    Amount Tax2010;
    bool PaysLess;
    Amount Difference;
};

void PrintTo(const WageCase &c, std::ostream *os) {
    *os << std::setprecision(12) << "wage " << c.Wage << " less " << c.Deductions;
}

class CompareWageTaxExample : public testing::TestWithParam<WageCase> {};

TEST_P(CompareWageTaxExample, GivesTheWorkedFigures) {
    const WageCase &c = GetParam();
    const WageTaxComparison r = CompareWageTax(c.Wage, c.Deductions);
    // Taxable incomes are whole cents: the nearest double, the literal itself.
    EXPECT_EQ(r.Taxable2011, c.Taxable2011);
    EXPECT_EQ(r.Taxable2010, c.Taxable2010);
    EXPECT_NEAR(r.Tax2011, c.Tax2011, kNoise);
    EXPECT_NEAR(r.Tax2010, c.Tax2010, kNoise);
    EXPECT_EQ(r.PaysLess, c.PaysLess);
    EXPECT_NEAR(r.Difference, c.Difference, kNoise);
}

INSTANTIATE_TEST_SUITE_P(
    Figures, CompareWageTaxExample,
    testing::Values(WageCase{3500, 0, 0, 1500, 0, 125, true, 125},
                    WageCase{5000, 0, 1500, 3000, 45, 325, true, 280},
                    WageCase{2000, 0, -1500, 0, 0, 0, true, 0},
                    WageCase{38600, 0, 35100, 36600, 7775, 7775, true, 0},
                    WageCase{38600.01, 0, 35100.01, 36600.01, 7775.003, 7775.0025, false, 0.0005},
                    WageCase{100000, 0, 96500, 98000, 29920, 28825, false, 1095},
                    WageCase{1000000, 0, 996500, 998000, 434920, 433725, false, 1195},
                    WageCase{3000, 5000, -5500, -4000, 0, 0, true, 0},
                    WageCase{3500.125, 0, 0.12, 1500.12, 0.0036, 125.012, true, 125.0084},
                    WageCase{3500.375, 0.125, 0.25, 1500.25, 0.0075, 125.025, true, 125.0175},
                    WageCase{7741.275, 3513.82, 727.45, 2227.46, 21.8235, 209.119, true, 187.2955}));

struct MonthlyCase {
    const Schedule *Table;
    Amount Taxable;
    Amount Tax;
};

void PrintTo(const MonthlyCase &c, std::ostream *os) {
    *os << std::setprecision(12) << (c.Table == &kSchedule2011 ? "2011" : "2010") << " taxable " << c.Taxable;
}

class MonthlyTaxExample : public testing::TestWithParam<MonthlyCase> {};

TEST_P(MonthlyTaxExample, TaxesTheBoundInItsOwnBracket) {
    const MonthlyCase &c = GetParam();
    EXPECT_NEAR(MonthlyTax(*c.Table, c.Taxable), c.Tax, kNoise);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds2011, MonthlyTaxExample,
    testing::Values(MonthlyCase{&kSchedule2011, 0, 0}, MonthlyCase{&kSchedule2011, 1500, 45},
                    MonthlyCase{&kSchedule2011, 4500, 345}, MonthlyCase{&kSchedule2011, 9000, 1245},
                    MonthlyCase{&kSchedule2011, 35000, 7745}, MonthlyCase{&kSchedule2011, 55000, 13745},
                    MonthlyCase{&kSchedule2011, 80000, 22495}, MonthlyCase{&kSchedule2011, -0.01, 0},
                    MonthlyCase{&kSchedule2011, -1e300, 0}));
INSTANTIATE_TEST_SUITE_P(
    Bounds2010, MonthlyTaxExample,
    testing::Values(MonthlyCase{&kSchedule2010, 0, 0}, MonthlyCase{&kSchedule2010, 500, 25},
                    MonthlyCase{&kSchedule2010, 2000, 175}, MonthlyCase{&kSchedule2010, 5000, 625},
                    MonthlyCase{&kSchedule2010, 20000, 3625}, MonthlyCase{&kSchedule2010, 40000, 8625},
                    MonthlyCase{&kSchedule2010, 60000, 14625}, MonthlyCase{&kSchedule2010, 80000, 21625},
                    MonthlyCase{&kSchedule2010, 100000, 29625}, MonthlyCase{&kSchedule2010, -0.01, 0},
                    MonthlyCase{&kSchedule2010, -kMax, 0}));

class ScheduleContinuity : public testing::TestWithParam<int> {};

// A wrong quick deduction shows as a jump at a bound; a cent either side moves the
// tax by at most a cent at the top rate.
TEST_P(ScheduleContinuity, HasNoJumpAtAnyBound) {
    const Schedule &schedule = GetParam() == 2011 ? kSchedule2011 : kSchedule2010;
    for (std::size_t i = 0; i + 1 < schedule.Brackets.size(); ++i) {
        const Amount bound = schedule.Brackets[i].UpperBound;
        const Amount at = MonthlyTax(schedule, bound);
        EXPECT_NEAR(MonthlyTax(schedule, std::nextafter(bound, kMax)), at, kNoise) << bound;
        EXPECT_NEAR(at - MonthlyTax(schedule, bound - 0.01), 0.01 * schedule.Brackets[i].Rate, kNoise);
        EXPECT_NEAR(MonthlyTax(schedule, bound + 0.01) - at, 0.01 * schedule.Brackets[i + 1].Rate, kNoise);
    }
}

INSTANTIATE_TEST_SUITE_P(Monthly, ScheduleContinuity, testing::Values(2011, 2010));

struct TaxableCase {
    Amount Wage;
    Amount Deductions;
    Amount Allowance;
    Amount Taxable;
};

void PrintTo(const TaxableCase &c, std::ostream *os) {
    *os << std::setprecision(12) << "wage " << c.Wage << " less " << c.Deductions << " allowance "
        << c.Allowance;
}

class TaxableIncomeExample : public testing::TestWithParam<TaxableCase> {};

TEST_P(TaxableIncomeExample, RoundsTheWholeDifferenceOnce) {
    const TaxableCase &c = GetParam();
    EXPECT_EQ(TaxableIncome(c.Wage, c.Deductions, c.Allowance), c.Taxable);
}

// 7741.275 - 3500 - 3513.82 is stored just below 727.455, and its 2010 twin reads as
// an exact half; the wage rounded on its own would give 727.46.
INSTANTIATE_TEST_SUITE_P(
    Figures, TaxableIncomeExample,
    testing::Values(TaxableCase{7741.275, 3513.82, 3500, 727.45},
                    TaxableCase{7741.275, 3513.82, 2000, 2227.46}, TaxableCase{3500.125, 0, 3500, 0.12},
                    TaxableCase{3500.375, 0.125, 3500, 0.25}, TaxableCase{4999.995, 0, 3500, 1500.00},
                    TaxableCase{3000, 5000, 3500, -5500}, TaxableCase{3499.999, 0, 3500, -0.0}));

TEST(CompareWageTax, PaysLessExactlyUpToTaxable35100) {
    const auto check = [](Amount wage, Amount deductions) {
        const WageTaxComparison r = CompareWageTax(wage, deductions);
        ASSERT_EQ(r.PaysLess, r.Taxable2011 <= 35100) << wage << " - " << deductions;
    };
    // Every cent within 100 yuan of the edge, with and without deductions.
    for (std::int64_t cents = 3850000; cents <= 3870000; ++cents) {
        check(static_cast<double>(cents) / 100, 0);
        check(static_cast<double>(cents + 123456) / 100, 1234.56);
    }
    std::mt19937_64 random(2011);
    std::uniform_int_distribution<std::int64_t> wageCents(0, 30000000);
    std::uniform_int_distribution<std::int64_t> deductionCents(0, 2000000);
    for (int i = 0; i < 100000; ++i) {
        check(static_cast<double>(wageCents(random)) / 100,
              static_cast<double>(deductionCents(random)) / 100);
    }
}

TEST(CompareWageTax, StaysRightForHugeAndNegativeAmounts) {
    const WageTaxComparison huge = CompareWageTax(1e300, 0);
    EXPECT_EQ(huge.Taxable2011, 1e300);
    EXPECT_NEAR(huge.Tax2011, 4.5e299, 1e285);
    EXPECT_NEAR(huge.Tax2010, 4.5e299, 1e285);
    EXPECT_TRUE(std::isfinite(huge.Difference));

    const WageTaxComparison top = CompareWageTax(kMax, 0);
    EXPECT_TRUE(std::isfinite(top.Tax2011) && std::isfinite(top.Tax2010) && std::isfinite(top.Difference));

    const WageTaxComparison negative = CompareWageTax(-1e300, 0);
    EXPECT_EQ(negative.Taxable2011, -1e300);
    EXPECT_EQ(negative.Tax2011, 0);
    EXPECT_EQ(negative.Tax2010, 0);
    EXPECT_TRUE(negative.PaysLess);
    EXPECT_EQ(negative.Difference, 0);

    // Negative deductions add to the wage; the taxable amount then reaches the top rows.
    const WageTaxComparison refund = CompareWageTax(0, -1e6);
    EXPECT_EQ(refund.Taxable2011, 996500);
    EXPECT_NEAR(refund.Tax2011, 434920, kNoise);
    EXPECT_FALSE(refund.PaysLess);
    EXPECT_NEAR(refund.Difference, 1195, kNoise);
}

}  // namespace
}  // namespace taxcalc
