// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// What the window's charts and summary are drawn from: an employee's year of
// withholding, a reconciliation's settlement, the payments and refunds, the latest
// month withheld. The figures are worked by hand; none is read from a cell.
#include "paysheet/payroll_outcomes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "paysheet/mode_description.h"
#include "tests/sheet/sheet_streams.h"

namespace taxcalc {
namespace {

PayrollOutcomes Computed(const std::string &csv, BatchMode mode) {
    auto table = std::make_shared<PayrollTable>();
    const test::FilePtr file = test::FileWith(csv);
    std::string error;
    EXPECT_EQ(table->Read(file.get(), error), PayrollTable::Status::Done) << error;
    std::optional<PayrollOutcomes> outcomes;
    EXPECT_EQ(PayrollOutcomes::Compute(table, *Computation::Resolve(mode), outcomes, error),
              PayrollOutcomes::Status::Done)
        << error;
    return std::move(*outcomes);
}

// Employee 7 earns 20000 a month: 15000 taxable a month, 45000 by March, where the 10%
// row begins: 450, 450, then 4500 - 2520 - 900 = 1080, then 6000 - 2520 - 1980 = 1500.
// Employee 8 earns 10000: 150 a month. Employee 9's March is no number, and takes
// April with it. The rows come shuffled.
const std::string kMonths =
    "工号,所属月份,本期收入\n"
    "7,2026-03,20000\n"  // 0
    "8,2026-01,10000\n"  // 1
    "7,2026-01,20000\n"  // 2
    "9,2026-04,20000\n"  // 3
    "7,2026-04,20000\n"  // 4
    "9,2026-03,abc\n"    // 5
    "8,2026-02,10000\n"  // 6
    "9,2026-01,20000\n"  // 7
    "7,2026-02,20000\n"  // 8
    "9,2026-02,20000\n"  // 9
    ",2026-02,20000\n";  // 10: no employee

TEST(PayrollOutcomes, YearOfAnEmployeeInMonthOrder) {
    const PayrollOutcomes outcomes = Computed(kMonths, BatchMode::Withhold);
    using Month = PayrollOutcomes::YearMonth;
    const auto same = [](const std::vector<Month> &got, const std::vector<Month> &expected) {
        ASSERT_EQ(got.size(), expected.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].Month, expected[i].Month) << i;
            EXPECT_EQ(got[i].Row, expected[i].Row) << i;
            EXPECT_EQ(got[i].Computed, expected[i].Computed) << i;
            EXPECT_EQ(got[i].Withheld, expected[i].Withheld) << i;
            EXPECT_EQ(got[i].Taxable, expected[i].Taxable) << i;
        }
    };
    const std::vector<Month> seven{{1, 2, true, 45000, 1500000},
                                   {2, 8, true, 45000, 3000000},
                                   {3, 0, true, 108000, 4500000},
                                   {4, 4, true, 150000, 6000000}};
    // Any of the employee's rows gives the same year.
    for (const std::size_t row : {0, 2, 4, 8}) {
        const auto year = outcomes.Year(row);
        ASSERT_TRUE(year) << row;
        same(year->Months, seven);
        EXPECT_EQ(year->Bounds,
                  (std::vector<Cents>{3600000, 14400000, 30000000, 42000000, 66000000, 96000000}));
    }
    // A refused month and the month it takes with it show as refused, with no figures.
    same(outcomes.Year(9)->Months, {{1, 7, true, 45000, 1500000},
                                    {2, 9, true, 45000, 3000000},
                                    {3, 5, false, 0, 0},
                                    {4, 3, false, 0, 0}});
    same(outcomes.Year(1)->Months, {{1, 1, true, 15000, 500000}, {2, 6, true, 15000, 1000000}});
    // A row without an employee has no year.
    EXPECT_FALSE(outcomes.Year(10));
    // Nor has a row of a mode that does not withhold month by month.
    EXPECT_FALSE(Computed("年终奖\n18000\n", BatchMode::Bonus).Year(0));
}

TEST(PayrollOutcomes, LatestMonthWithheldAndTheYearsTotal) {
    const PayrollOutcomes outcomes = Computed(kMonths, BatchMode::Withhold);
    const PayrollSummary &s = outcomes.Summary();
    // April: employee 7's 1500; employee 9's April is refused.
    EXPECT_EQ(s.LatestMonth, 202604);
    EXPECT_EQ(s.LatestWithheld, 150000);
    // Every month withheld: 7's 3480, 8's 300, 9's 900.
    EXPECT_EQ(s.Tax, 348000 + 30000 + 90000);
    EXPECT_EQ(s.Refused, 3U);
    EXPECT_EQ(s.Payments, 0);
    EXPECT_EQ(s.Refunds, 0);
    // A later month alone starts the total again.
    // Employee 10 starts in May: 10000 less May's 5000 at 3%.
    const PayrollOutcomes later = Computed(kMonths + "10,2026-05,10000\n", BatchMode::Withhold);
    EXPECT_EQ(later.Summary().LatestMonth, 202605);
    EXPECT_EQ(later.Summary().LatestWithheld, 15000);
}

// The cases of the reconciliation's own test, as one file.
const std::string kYears =
    "工资薪金收入,全年一次性奖金,已缴税额\n"
    "200000,36000,12000\n"  // 560 to pay, the bonus alone
    "50000,20000,600\n"     // 300 refunded, the bonus joined
    "200000,,11100\n"       // 380 waived
    "80000,,1000\n"         // 400 refunded
    "x,,\n"                 // refused
    "80000,,600\n";         // nothing

TEST(PayrollOutcomes, SettlementOfEachYear) {
    const PayrollOutcomes outcomes = Computed(kYears, BatchMode::Reconcile);
    ASSERT_TRUE(outcomes.Settles());
    struct Case {
        std::size_t Row;
        PayrollOutcomes::Settled Settled;
    };
    const Case cases[] = {
        {0, {1256000, 1828000, false, 1256000, 1200000, 56000, "补税"}},
        {1, {60000, 30000, true, 30000, 60000, -30000, "退税"}},
        {2, {1148000, 1148000, false, 1148000, 1110000, 38000, "免予补税"}},
        {3, {60000, 60000, false, 60000, 100000, -40000, "退税"}},
        {5, {60000, 60000, false, 60000, 60000, 0, "无需补退"}},
    };
    for (const Case &c : cases) {
        const std::optional<PayrollOutcomes::Settled> settled = outcomes.Settlement(c.Row);
        ASSERT_TRUE(settled) << c.Row;
        EXPECT_EQ(settled->SeparateTax, c.Settled.SeparateTax) << c.Row;
        EXPECT_EQ(settled->CombinedTax, c.Settled.CombinedTax) << c.Row;
        EXPECT_EQ(settled->Joined, c.Settled.Joined) << c.Row;
        EXPECT_EQ(settled->Tax, c.Settled.Tax) << c.Row;
        EXPECT_EQ(settled->Paid, c.Settled.Paid) << c.Row;
        EXPECT_EQ(settled->Balance, c.Settled.Balance) << c.Row;
        EXPECT_EQ(settled->Result, c.Settled.Result) << c.Row;
    }
    EXPECT_FALSE(outcomes.Settlement(4));
    EXPECT_FALSE(Computed("年终奖\n18000\n", BatchMode::Bonus).Settlement(0));

    // Payments leave out the waived one; refunds add up as amounts refunded.
    const PayrollSummary &s = outcomes.Summary();
    EXPECT_EQ(s.Payments, 56000);
    EXPECT_EQ(s.Refunds, 30000 + 40000);
    EXPECT_EQ(s.Tax, 1256000 + 30000 + 1148000 + 60000 + 60000);
    EXPECT_EQ(s.Refused, 1U);
    EXPECT_EQ(s.LatestMonth, 0);
}

TEST(PayrollOutcomes, SettlementAfterTheBonusRuleEndedHasNoSeparateTax) {
    // 2028: the bonus joins the year's income, (100000 + 20000 - 60000) x 10% - 2520 =
    // 3480; the 280 left to pay is no longer waived. 2027 still chooses and waives.
    const PayrollOutcomes outcomes = Computed(
        "工资薪金收入,全年一次性奖金,已缴税额,年度\n100000,20000,3200,2028\n100000,20000,3200,2027\n",
        BatchMode::Reconcile);
    const std::optional<PayrollOutcomes::Settled> after = outcomes.Settlement(0);
    ASSERT_TRUE(after);
    EXPECT_FALSE(after->SeparateAllowed);
    EXPECT_TRUE(after->Joined);
    EXPECT_EQ(after->Tax, 348000);
    EXPECT_EQ(after->Balance, 28000);
    EXPECT_EQ(after->Result, "补税");
    const std::optional<PayrollOutcomes::Settled> before = outcomes.Settlement(1);
    ASSERT_TRUE(before);
    EXPECT_TRUE(before->SeparateAllowed);
    // On its own: 100000 - 60000 = 40000 x 10% - 2520 = 1480, and 20000 / 12 at 3%: 600.
    EXPECT_EQ(before->SeparateTax, 208000);
    EXPECT_EQ(before->Tax, 208000);
    EXPECT_EQ(before->Result, "退税");
}

TEST(PayrollOutcomes, SettlementReadsTheYearWhateverTheColumnsAreCalled) {
    // The English names, in another order, give the same year.
    const PayrollOutcomes outcomes =
        Computed("tax_paid,BONUS,wages\n12000,36000,200000\n", BatchMode::Reconcile);
    const std::optional<PayrollOutcomes::Settled> settled = outcomes.Settlement(0);
    ASSERT_TRUE(settled);
    EXPECT_EQ(settled->Paid, 1200000);
    EXPECT_EQ(settled->Tax, 1256000);
    EXPECT_EQ(settled->Balance, 56000);
}

// What the window and the summary look for by role, each mode must declare: a
// figure the window reads cannot go missing under another header.
TEST(PayrollOutcomes, EveryModeDeclaresTheRolesItsWindowReads) {
    const auto has = [](const ModeDescription &mode, ColumnRole role) {
        return std::any_of(mode.Added.begin(), mode.Added.end(),
                           [role](const AddedColumn &column) { return column.Role == role; });
    };
    for (const ModeDescription &mode : ModeDescriptions()) {
        SCOPED_TRACE(std::string(mode.Name));
        for (const AddedColumn &column : mode.Added) {
            EXPECT_NE(column.Write, nullptr) << column.Header;
        }
        // The summary's tax: a month's withholding where the mode withholds monthly.
        EXPECT_NE(has(mode, ColumnRole::Tax), has(mode, ColumnRole::Withheld));
        const bool advises = mode.Mode == BatchMode::Bonus || mode.Mode == BatchMode::Split;
        EXPECT_EQ(has(mode, ColumnRole::AdvisedTax), advises);
        EXPECT_EQ(has(mode, ColumnRole::Advice), advises);
        EXPECT_EQ(has(mode, ColumnRole::Settlement), mode.Mode == BatchMode::Reconcile);
        EXPECT_EQ(has(mode, ColumnRole::CumulativeTaxable), mode.Mode == BatchMode::Withhold);
        EXPECT_EQ(has(mode, ColumnRole::Saving), mode.Mode == BatchMode::Split);
    }
}

// The advice the window shows beside a row in a blind zone: the cells of the advice
// roles, found by role among the columns this file gets.
TEST(PayrollOutcomes, AdviceCellsAreFoundByRole) {
    const PayrollOutcomes bonus = Computed("年终奖\n18001\n", BatchMode::Bonus);
    std::vector<std::string_view> advice;
    for (std::size_t k = 0; k < bonus.AddedHeaders().size(); ++k) {
        if (bonus.AddedRole(k) == ColumnRole::Advice || bonus.AddedRole(k) == ColumnRole::AdvisedTax) {
            advice.push_back(bonus.AddedHeaders()[k]);
        }
    }
    EXPECT_EQ(advice, (std::vector<std::string_view>{"建议年终奖", "建议税额", "建议税后年终奖"}));
    ASSERT_TRUE(bonus.AddedCell(ColumnRole::Tax));
    RowFigures figures;
    bonus.Figures(0, figures);
    EXPECT_EQ(figures.Cells[*bonus.AddedCell(ColumnRole::Tax)], "1695.10");
    EXPECT_EQ(figures.Cells[*bonus.AddedCell(ColumnRole::AdvisedTax)], "540.00");
}

}  // namespace
}  // namespace taxcalc
