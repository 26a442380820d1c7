// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <string_view>

#include "engine/best_split.h"
#include "engine/pay_planner.h"

// Amounts are written as yuan'cents: 5000'14 is 5000.14 yuan.
namespace taxcalc {
namespace {

struct SplitCase {
    std::string_view Period;
    SplitInput Input;
};

void PrintTo(const SplitCase &c, std::ostream *os) {
    *os << c.Period << " wage " << c.Input.Wage << " bonus " << c.Input.Bonus << " less "
        << c.Input.Deductions << " minimum " << c.Input.MinimumWage << " special "
        << c.Input.SpecialDeductions;
}

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
void ExpectTheExhaustiveAnswer(const SplitCase &c) {
    const PeriodRules &rules = *FindPeriod(c.Period);
    const SplitInput &in = c.Input;
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

    const std::optional<SplitPlan> plan = BestSplit(rules, in);
    ASSERT_TRUE(plan);
    ASSERT_EQ(plan->Outcome, SplitOutcome::Planned);
    EXPECT_EQ(plan->Advised.Tax, least);
    EXPECT_EQ(plan->Wage, wage);
    EXPECT_EQ(plan->Bonus, total - 12 * wage);
    EXPECT_EQ(plan->KeepsCurrent, keep);
    EXPECT_EQ(plan->Advised.Method, advised.Method);
    EXPECT_EQ(plan->Current.Tax, current.Tax);
    EXPECT_EQ(plan->Current.Method, current.Method);
    EXPECT_EQ(plan->Saving, current.Tax - least);
}

class ExhaustiveSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(ExhaustiveSplit, FindsTheLeastOfEveryCentAndTheLargestWageReachingIt) {
    ExpectTheExhaustiveAnswer(GetParam());
}

// Totals with odd cents, short wages, deductions and minimum wages chosen so that the
// wages searched cross the short-wage rule and rows of both taxes.
INSTANTIATE_TEST_SUITE_P(Periods, ExhaustiveSplit,
                         testing::Values(SplitCase{"2011", {5000'00, 18001'20, 0, 3000'00, 0}},
                                         SplitCase{"2011", {4200'37, 19500'55, 612'30, 3800'00, 0}},
                                         SplitCase{"2011", {2000'00, 30000'07, 0, 2000'00, 0}},
                                         SplitCase{"2011", {9000'00, 60000'01, 1000'00, 12000'00, 0}},
                                         SplitCase{"2011", {40000'00, 500000'03, 2000'00, 79500'00, 0}},
                                         SplitCase{"2008", {2500'55, 6000'30, 100'00, 1800'00, 0}},
                                         SplitCase{"2008", {6000'00, 25000'11, 0, 5000'00, 0}},
                                         SplitCase{"2018", {8000'00, 36000'05, 1500'00, 7000'00, 0}},
                                         SplitCase{"2018", {4000'00, 20000'99, 0, 3000'00, 0}},
                                         SplitCase{"2019", {5000'00, 36001'00, 0, 4000'00, 0}},
                                         SplitCase{"2019", {9000'00, 50000'07, 1200'00, 8000'00, 24000'00}},
                                         SplitCase{"2019", {5000'00, 100'03, 0, 4990'00, 0}},
                                         SplitCase{"2019", {30000'00, 200000'00, 0, 40000'00, 36000'00}},
                                         SplitCase{"2019", {4000'00, 12000'00, 0, 4500'00, 0}}));

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
            ExpectTheExhaustiveAnswer({rules.Name, in});
            if (HasFailure()) {
                return;
            }
        }
    }
}

TEST(BestSplit, GivesTheHandWorkedAdvice) {
    // 2011, a bonus of 18001.20 just inside the first zone, 5000 a month: 2235.12 a
    // year (12 x 45 + 1800.12 - 105). Moving 0.14 a month into the wage leaves a
    // bonus of 17999.52 at 3 % (539.99) and a wage taxed 45.014 a month (45.01):
    // 1080.11. At 5000.15 the monthly tax rounds up to 45.02.
    const SplitPlan zone = *BestSplit(*FindPeriod("2011"), {5000'00, 18001'20, 0, 0, 0});
    EXPECT_EQ(zone.Current.Tax, 2235'12);
    EXPECT_EQ(zone.Wage, 5000'14);
    EXPECT_EQ(zone.Bonus, 17999'52);
    EXPECT_EQ(zone.Advised.Tax, 1080'11);
    EXPECT_EQ(zone.Saving, 1155'01);
    EXPECT_FALSE(zone.KeepsCurrent);

    // 2011, 3000 a month and 6000 of bonus: the short 500 lowers the base to 5500
    // (165.00). All of it as wages, 3500 a month, owes nothing.
    const SplitPlan shortWage = *BestSplit(*FindPeriod("2011"), {3000'00, 6000'00, 0, 0, 0});
    EXPECT_EQ(shortWage.Current.Tax, 165'00);
    EXPECT_EQ(shortWage.Wage, 3500'00);
    EXPECT_EQ(shortWage.Bonus, 0);
    EXPECT_EQ(shortWage.Advised.Tax, 0);
    EXPECT_EQ(shortWage.Saving, 165'00);

    // 2019, 5000 a month and 36001 of bonus: together 36001 taxable at 10 %, 1080.10,
    // beats the bonus alone (3390.10). Separately, a wage of 8000 (36000 a year at
    // 3 %, 1080.00) leaves a bonus of 1.00 (0.03): 1080.03, the least, as both parts
    // at 3 % always round to 1080.03 together.
    const SplitPlan from2019 = *BestSplit(*FindPeriod("2019"), {5000'00, 36001'00, 0, 0, 0});
    EXPECT_EQ(from2019.Current.Tax, 1080'10);
    EXPECT_EQ(from2019.Current.Method, BonusMethod::Combined);
    EXPECT_EQ(from2019.Wage, 8000'00);
    EXPECT_EQ(from2019.Bonus, 1'00);
    EXPECT_EQ(from2019.Advised.Tax, 1080'03);
    EXPECT_EQ(from2019.Advised.Method, BonusMethod::Separate);

    // 2019, 60000 a year owes nothing however split: the current split is kept...
    const SplitPlan untaxed = *BestSplit(*FindPeriod("2019"), {4000'00, 12000'00, 0, 0, 0});
    EXPECT_TRUE(untaxed.KeepsCurrent);
    EXPECT_EQ(untaxed.Wage, 4000'00);
    EXPECT_EQ(untaxed.Saving, 0);
    // ...unless its wage is below the minimum: then the largest wage.
    const SplitPlan raised = *BestSplit(*FindPeriod("2019"), {4000'00, 12000'00, 0, 4500'00, 0});
    EXPECT_FALSE(raised.KeepsCurrent);
    EXPECT_EQ(raised.Wage, 5000'00);
    EXPECT_EQ(raised.Bonus, 0);
}

TEST(BestSplit, RefusesAMinimumWageAboveATwelfthAndAmountsOutOfRange) {
    const PeriodRules &rules = *FindPeriod("2011");
    // 12 x 5000 + 12 = 60012: a twelfth is 5001.00 exactly.
    EXPECT_EQ(BestSplit(rules, {5000'00, 12'00, 0, 5001'00, 0})->Outcome, SplitOutcome::Planned);
    EXPECT_EQ(BestSplit(rules, {5000'00, 12'00, 0, 5001'00, 0})->Wage, 5001'00);
    EXPECT_EQ(BestSplit(rules, {5000'00, 11'99, 0, 5001'00, 0})->Outcome,
              SplitOutcome::MinimumWageAboveShare);
    EXPECT_FALSE(BestSplit(rules, {-1, 0, 0, 0, 0}));
    EXPECT_FALSE(BestSplit(rules, {0, -1, 0, 0, 0}));
    EXPECT_FALSE(BestSplit(rules, {0, 0, -1, 0, 0}));
    EXPECT_FALSE(BestSplit(rules, {0, 0, 0, -1, 0}));
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
