// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/row_calculator.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/paysheet/row_helpers.h"

namespace taxcalc {
namespace {

using Cells = std::vector<std::string>;
using test::CalculatorFor;
using test::Computed;
using test::ComputeRow;

TEST(RowCalculator, BonusRowsCarryThePanelsFigures) {
    const RowCalculator calculator = CalculatorFor(BatchMode::Bonus, {"年终奖", "当月工资"});
    struct Case {
        std::string Bonus;
        std::string Wage;
        Cells Figures;  // 2011 tax, after tax, zone, advice (bonus, tax, after tax), 2010 tax, saving
    };
    const Case cases[] = {
        {"18000", "3500", {"540.00", "17460.00", "否", "", "", "", "1775.00", "1235.00"}},
        {"18001", "3500", {"1695.10", "16305.90", "是", "18000", "540.00", "17460.00", "1775.10", "80.00"}},
        {"18001", "", {"1695.10", "16305.90", "是", "18000", "540.00", "17460.00", "1775.10", "80.00"}},
        {"18600", "3000", {"1705.00", "16895.00", "是", "18500", "540.00", "17960.00", "1835.00", "130.00"}},
        {"18100",
         "3456.78",
         {"1700.68", "16399.32", "是", "18043.22", "540.00", "17503.22", "1785.00", "84.32"}},
        {"54001",
         "3500",
         {"10245.20", "43755.80", "是", "54000", "5295.00", "48705.00", "7975.15", "-2270.05"}},
        {"19283.33", "3500", {"1823.33", "17460.00", "否", "", "", "", "1903.33", "80.00"}},
        {"300", "3000", {"0.00", "300.00", "否", "", "", "", "15.00", "15.00"}},
        {"100", "1500", {"0.00", "100.00", "否", "", "", "", "0.00", "0.00"}},
        // A 2010 monthly average on a bound stays in the lower bracket.
        {"6000", "3500", {"180.00", "5820.00", "否", "", "", "", "300.00", "120.00"}},
        {"24000", "", {"2295.00", "21705.00", "否", "", "", "", "2375.00", "80.00"}},
        {"60000",
         "3500",
         {"11445.00", "48555.00", "是", "54000", "5295.00", "48705.00", "8875.00", "-2570.00"}},
        // The after-tax bonus shows 0.125 rounded away from zero; the engine rounds bases to even.
        {"0.125", "3500", {"0.00", "0.13", "否", "", "", "", "0.01", "0.01"}},
        {"+18000.", "3500.0", {"540.00", "17460.00", "否", "", "", "", "1775.00", "1235.00"}},
    };
    RowFigures figures;
    for (const Case &c : cases) {
        EXPECT_TRUE(ComputeRow(calculator, {c.Bonus, c.Wage}, figures)) << c.Bonus << "/" << c.Wage;
        EXPECT_EQ(Computed(calculator, figures), c.Figures) << c.Bonus << "/" << c.Wage;
        EXPECT_EQ(figures.Error, "");
    }
}

TEST(RowCalculator, WageRowsCarryThePanelsFigures) {
    const RowCalculator calculator = CalculatorFor(BatchMode::Wage, {"每月薪金", "三险一金"});
    struct Case {
        std::string Wage;
        std::string Deductions;
        Cells Figures;  // 2010 tax, 2011 tax, less or more, difference
    };
    const Case cases[] = {
        {"3500", "0", {"125.00", "0.00", "少交", "125.00"}},
        {"5000", "", {"325.00", "45.00", "少交", "280.00"}},
        {"2000", "0", {"0.00", "0.00", "少交", "0.00"}},
        {"3000", "5000", {"0.00", "0.00", "少交", "0.00"}},
        {"38600", "0", {"7775.00", "7775.00", "少交", "0.00"}},
        {"38600.01", "0", {"7775.00", "7775.00", "多交", "0.00"}},
        {"100000", "0", {"28825.00", "29920.00", "多交", "1095.00"}},
        {"1000000", "", {"433725.00", "434920.00", "多交", "1195.00"}},
        {"10000", "1234.56", {"978.09", "498.09", "少交", "480.00"}},
        {"5000.56", "0", {"325.08", "45.06", "少交", "280.03"}},
        // The difference is -0.0 here; a zero never shows a sign.
        {"2000", "0.001", {"0.00", "0.00", "少交", "0.00"}},
    };
    RowFigures figures;
    for (const Case &c : cases) {
        EXPECT_TRUE(ComputeRow(calculator, {c.Wage, c.Deductions}, figures)) << c.Wage << "/" << c.Deductions;
        EXPECT_EQ(Computed(calculator, figures), c.Figures) << c.Wage << "/" << c.Deductions;
    }
}

TEST(RowCalculator, RefusedRowsNameTheFieldAndTheReasonAndShowNoFigure) {
    const std::string huge = "1" + std::string(308, '0');
    struct Case {
        BatchMode Mode;
        std::string First;
        std::string Second;
        std::string Error;
    };
    const Case cases[] = {
        {BatchMode::Bonus, "", "3500", "年终奖：空白"},
        {BatchMode::Bonus, "abc", "", "年终奖：不是数字"},
        {BatchMode::Bonus, "1e5", "3500",
         "年终奖：是科学计数法，表格可能已丢掉了部分数位（请把单元格设为数值格式后重新导出）"},
        {BatchMode::Bonus, "18001,50", "3500",
         "年终奖：千位分隔符的位置不对，无法确定数额（应每三位一组，如 1,234,567.89）"},
        {BatchMode::Bonus, " ", "3500", "年终奖：空白"},
        {BatchMode::Bonus, ".", "3500", "年终奖：不是数字"},
        {BatchMode::Bonus, "inf", "3500", "年终奖：不是数字"},
        {BatchMode::Bonus, "18000", "3500美元", "当月工资：不是数字"},
        {BatchMode::Bonus, "", "-", "年终奖：空白；当月工资：不是数字"},
        {BatchMode::Wage, "", "", "每月薪金：空白"},
        {BatchMode::Wage, "1" + std::string(400, '0'), "0", "每月薪金：数额过大，无法计算"},
        {BatchMode::Wage, huge, "-" + huge, "每月薪金：数额过大，无法计算；三险一金：数额过大，无法计算"},
        // Below nought or beyond 10^13 yuan, in the window's modes as in every other.
        {BatchMode::Bonus, "-5000", "", "年终奖：不能为负数"},
        {BatchMode::Bonus, "18000", "-0.01", "当月工资：不能为负数"},
        {BatchMode::Bonus, "10000000000000.01", "", "年终奖：数额过大，无法计算"},
        {BatchMode::Wage, "123000000000000000", "", "每月薪金：数额过大，无法计算"},
        {BatchMode::Wage, "-1,000.00", "", "每月薪金：不能为负数"},
    };
    for (const Case &c : cases) {
        const bool bonus = c.Mode == BatchMode::Bonus;
        const RowCalculator calculator =
            CalculatorFor(c.Mode, bonus ? Cells{"年终奖", "当月工资"} : Cells{"每月薪金", "三险一金"});
        RowFigures figures;
        ASSERT_TRUE(ComputeRow(calculator, {"18001", "3500"}, figures));
        EXPECT_FALSE(ComputeRow(calculator, {c.First, c.Second}, figures)) << c.First << "/" << c.Second;
        EXPECT_EQ(figures.Error, c.Error);
        EXPECT_EQ(Computed(calculator, figures), Cells(calculator.Width())) << c.Error;
    }
}

// An amount is rounded to the cent as the period rounds before its sign is judged:
// what rounds to nought is nought, whatever its sign; 10^13 yuan is the largest amount
// taken.
TEST(RowCalculator, AmountsAreRoundedToTheCentBeforeTheirSignAndSizeAreJudged) {
    struct Case {
        std::string Period;  // "" for the window's methods
        std::string Bonus;
        std::string Tax;  // empty where the row is refused
    };
    const Case cases[] = {
        {"", "-0", "0.00"},
        {"", "-0.001", "0.00"},
        {"", "-0.005", "0.00"},  // the window rounds half to even: -0.00
        {"", "-0.006", ""},
        {"2019", "-0.004", "0.00"},
        {"2019", "-0.005", ""},  // half away from zero: -0.01
        {"2008", "-0.00", "0.00"},
        {"2019", "9999999999999.99", "4499999984840.00"},
        {"2019", "10000000000000", "4499999984840.00"},
        {"2019", "10000000000000.005", ""},
        {"", "9999999999999.99", "4499999986495.00"},
    };
    for (const Case &c : cases) {
        const RowCalculator calculator =
            c.Period.empty() ? CalculatorFor(BatchMode::Bonus, Cells{"年终奖"})
                             : CalculatorFor(BatchMode::Bonus, Cells{"年终奖"}, FindPeriod(c.Period));
        RowFigures figures;
        EXPECT_EQ(ComputeRow(calculator, {c.Bonus}, figures), !c.Tax.empty()) << c.Period << " " << c.Bonus;
        EXPECT_EQ(figures.Cells[0], c.Tax) << c.Period << " " << c.Bonus;
        if (c.Tax.empty()) {
            EXPECT_TRUE(figures.Error == "年终奖：不能为负数" ||
                        figures.Error == "年终奖：数额过大，无法计算")
                << figures.Error;
        }
    }
}

}  // namespace
}  // namespace taxcalc
