// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <string_view>
#include <utility>

#include "engine/best_split.h"
#include "engine/pay_planner.h"

// Amounts are written as yuan'cents: 5000'14 is 5000.14 yuan.
namespace taxcalc {
namespace {

// The year tax written out from its definition, wage by wage.
YearTax SlowYearTax(const PeriodRules &rules, Cents wage, Cents bonus, const SplitInput &in) {
    if (TaxesWagesMonthly(rules)) {
        const Cents monthWage = wage - in.Deductions;
        const Cents bonusTax = BonusTaxOfBase(rules, BonusBaseOf(rules, bonus, monthWage));
        return {12 * *MonthlyWageTax(rules, wage, in.Deductions) + bonusTax, BonusMethod::Separate};
    }
    const Cents taxable = 12 * (wage - in.Deductions) - 60000'00 - in.SpecialDeductions;
    const Cents separate = YearlyTax(std::max<Cents>(taxable, 0)) + BonusTaxOfBase(rules, bonus);
    const Cents combined = YearlyTax(std::max<Cents>(taxable + bonus, 0));
    if (separate <= combined) {
        return {separate, BonusMethod::Separate};
    }
    return {combined, BonusMethod::Combined};
}

// Every whole-cent wage from the minimum to a twelfth of the total, one by one.
void ExpectTheExhaustiveAnswer(const PeriodRules &rules, const SplitInput &in) {
    SCOPED_TRACE(testing::Message() << rules.Name << " wage " << in.Wage << " bonus " << in.Bonus << " less "
                                    << in.Deductions << " minimum " << in.MinimumWage << " special "
                                    << in.SpecialDeductions);
    const Cents total = 12 * in.Wage + in.Bonus;
    Cents least = std::numeric_limits<Cents>::max();
    Cents largest = 0;
    for (Cents wage = in.MinimumWage; 12 * wage <= total; ++wage) {
        const Cents tax = SlowYearTax(rules, wage, total - 12 * wage, in).Tax;
        if (tax <= least) {
            least = tax;
            largest = wage;
        }
    }
    const YearTax current = SlowYearTax(rules, in.Wage, in.Bonus, in);
    const bool keep = in.Wage >= in.MinimumWage && current.Tax == least;
    const Cents wage = keep ? in.Wage : largest;
    const YearTax advised = SlowYearTax(rules, wage, total - 12 * wage, in);
    const SplitPlan plan = *BestSplit(rules, in);
    ASSERT_EQ(plan.Outcome, SplitOutcome::Planned);
    EXPECT_EQ(plan.Advised.Tax, least);
    EXPECT_EQ(plan.Wage, wage);
    EXPECT_EQ(plan.Bonus, total - 12 * wage);
    EXPECT_EQ(plan.KeepsCurrent, keep);
    EXPECT_EQ(plan.Advised.Method, advised.Method);
    EXPECT_EQ(plan.Current.Tax, current.Tax);
    EXPECT_EQ(plan.Current.Method, current.Method);
    const YearTax asked = YearTaxOfSplit(rules, in.Wage, in.Bonus, in.Deductions, in.SpecialDeductions);
    EXPECT_EQ(asked.Tax, current.Tax);
    EXPECT_EQ(asked.Method, current.Method);
}

// Totals with odd cents, short wages, deductions and minimum wages chosen so that the
// wages searched cross the short-wage rule and rows of both taxes.
TEST(BestSplit, FindsTheLeastOfEveryCentAndTheLargestWageReachingIt) {
    const std::pair<std::string_view, SplitInput> cases[] = {
        {"2011", {5000'00, 18001'20, 0, 3000'00, 0}},
        {"2011", {4200'37, 19500'55, 612'30, 3800'00, 0}},
        {"2011", {2000'00, 30000'07, 0, 2000'00, 0}},
        {"2011", {9000'00, 60000'01, 1000'00, 12000'00, 0}},
        {"2011", {40000'00, 500000'03, 2000'00, 79500'00, 0}},
        {"2008", {2500'55, 6000'30, 100'00, 1800'00, 0}},
        {"2008", {6000'00, 25000'11, 0, 5000'00, 0}},
        {"2018", {8000'00, 36000'05, 1500'00, 7000'00, 0}},
        {"2018", {4000'00, 20000'99, 0, 3000'00, 0}},
        {"2019", {5000'00, 36001'00, 0, 4000'00, 0}},
        {"2019", {9000'00, 50000'07, 1200'00, 8000'00, 24000'00}},
        {"2019", {30000'00, 200000'00, 0, 40000'00, 36000'00}},
    };
    for (const auto &[period, input] : cases) {
        ExpectTheExhaustiveAnswer(*FindPeriod(period), input);
    }
}

// Many small searches scattered over every row: each total's last few thousand cents.
TEST(BestSplit, AgreesWithTheExhaustiveSearchAtRandomTotals) {
    std::mt19937_64 random(19);
    std::uniform_int_distribution<Cents> wages(0, 30000'00);
    std::uniform_int_distribution<Cents> bonuses(0, 150000'00);
    std::uniform_int_distribution<Cents> deductions(0, 3000'00);
    std::uniform_int_distribution<Cents> widths(0, 3000);
    for (const PeriodRules &rules : AllPeriods()) {
        for (int i = 0; i < 400; ++i) {
            SplitInput in{wages(random), bonuses(random), deductions(random), 0, deductions(random) * 8};
            in.MinimumWage = std::max<Cents>(0, (12 * in.Wage + in.Bonus) / 12 - widths(random));
            ExpectTheExhaustiveAnswer(rules, in);
            if (HasFailure()) {
                return;
            }
        }
    }
}

TEST(BestSplit, GivesTheHandWorkedAdvice) {
    struct Case {
        std::string_view Period;
        SplitInput Input;
        Cents CurrentTax;
        Cents Wage;
        Cents Bonus;
        Cents Tax;
        BonusMethod Method = BonusMethod::Separate;
    };
    const Case cases[] = {
        // A bonus just inside the first zone: 12 x 45 + 1800.12 - 105 a year. With
        // 0.14 a month more wage the bonus 17999.52 owes 539.99 and each month
        // 45.014 (45.01); at 5000.15 the month's tax rounds up to 45.02.
        {"2011", {5000'00, 18001'20, 0, 0, 0}, 2235'12, 5000'14, 17999'52, 1080'11},
        // The short 500 lowers the base to 5500 (165.00); 3500 a month owes nothing.
        {"2011", {3000'00, 6000'00, 0, 0, 0}, 165'00, 3500'00, 0, 0},
        // Joined, 36001 at 10 % (1080.10) beats the bonus alone. Separately, 36000 of
        // wages (1080.00) and a bonus of 1.00 (0.03): both parts at 3 % never round
        // to less than 1080.03 together.
        {"2019", {5000'00, 36001'00, 0, 0, 0}, 1080'10, 8000'00, 1'00, 1080'03},
        // Nothing taxed however split: the current split is kept, unless its wage is
        // below the minimum; then the largest wage.
        {"2019", {4000'00, 12000'00, 0, 0, 0}, 0, 4000'00, 12000'00, 0, BonusMethod::Combined},
        {"2019", {4000'00, 12000'00, 0, 4500'00, 0}, 0, 5000'00, 0, 0},
        // 12 x 5000 + 12: a twelfth is 5001.00 exactly, the only wage left.
        {"2011", {5000'00, 12'00, 0, 5001'00, 0}, 540'36, 5001'00, 0, 541'20},
    };
    for (const Case &c : cases) {
        const SplitPlan plan = *BestSplit(*FindPeriod(c.Period), c.Input);
        EXPECT_EQ(plan.Current.Tax, c.CurrentTax) << c.Period << " " << c.Input.Bonus;
        EXPECT_EQ(plan.Wage, c.Wage) << c.Period << " " << c.Input.Bonus;
        EXPECT_EQ(plan.Bonus, c.Bonus) << c.Period << " " << c.Input.Bonus;
        EXPECT_EQ(plan.Advised.Tax, c.Tax) << c.Period << " " << c.Input.Bonus;
        EXPECT_EQ(plan.Advised.Method, c.Method) << c.Period << " " << c.Input.Bonus;
        EXPECT_EQ(plan.Saving, c.CurrentTax - c.Tax);
    }
}

TEST(BestSplit, RefusesAMinimumWageAboveATwelfthAndAmountsOutOfRange) {
    const PeriodRules &rules = *FindPeriod("2011");
    EXPECT_EQ(BestSplit(rules, {5000'00, 11'99, 0, 5001'00, 0})->Outcome,
              SplitOutcome::MinimumWageAboveShare);
    EXPECT_FALSE(BestSplit(rules, {0, 0, -1, 0, 0}));
    EXPECT_FALSE(BestSplit(rules, {0, 0, 0, 0, -1}));
    EXPECT_FALSE(BestSplit(rules, {kMaxCents + 1, 0, 0, 0, 0}));
    // The largest amounts still split without overflow.
    for (const PeriodRules &period : AllPeriods()) {
        const SplitPlan plan = *BestSplit(period, {kMaxCents, kMaxCents, kMaxCents, 0, kMaxCents});
        EXPECT_EQ(12 * plan.Wage + plan.Bonus, 13 * kMaxCents);
        EXPECT_LE(plan.Advised.Tax, plan.Current.Tax);
    }
}

// The proof behind the search needs every row's tax to be >= 0 from its lower bound
// on: no quick deduction exceeds the row's rate times that bound.
TEST(BestSplit, NoRowTaxesItsLowerBoundBelowZero) {
    for (const PeriodRules &rules : AllPeriods()) {
        for (const auto brackets : {rules.Brackets, YearlyBrackets()}) {
            for (std::size_t i = 1; i < brackets.size(); ++i) {
                EXPECT_LE(brackets[i].QuickDeduction * 100,
                          brackets[i - 1].UpperBound * brackets[i].RatePercent)
                    << rules.Name << " row " << i;
            }
        }
    }
}

}  // namespace
}  // namespace taxcalc
