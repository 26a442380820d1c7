// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// One payment of remuneration as a row: the costs (800 up to 4000, else 20%), the
// author's 70%, the labour table's three rows and their edges, worked by hand.
#include "paysheet/remuneration_mode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/paysheet/row_helpers.h"

namespace taxcalc {
namespace {

using Cells = std::vector<std::string>;

TEST(RemunerationMode, WritesEachPaymentsPrepaymentWorkedByHand) {
    struct Case {
        std::string Income;
        std::string Item;
        Cells Figures;  // 收入额, 应纳税所得额, 预扣率, 速算扣除数, 应预扣预缴税额, 税后收入
    };
    const Case cases[] = {
        // 3000 - 800 = 2200 at 20%.
        {"3000", "劳务报酬", {"2200.00", "2200.00", "20%", "0.00", "440.00", "2560.00"}},
        // An empty item is labour, the usual payment.
        {"3000", "", {"2200.00", "2200.00", "20%", "0.00", "440.00", "2560.00"}},
        {"800", "", {"0.00", "0.00", "20%", "0.00", "0.00", "800.00"}},
        {"500", "", {"0.00", "0.00", "20%", "0.00", "0.00", "500.00"}},
        // 4000 is the last income with the 800 of costs; above it the costs are 20%.
        {"4000", "", {"3200.00", "3200.00", "20%", "0.00", "640.00", "3360.00"}},
        {"4000.01", "", {"3200.01", "3200.01", "20%", "0.00", "640.00", "3360.01"}},
        // 25000 x 80% = 20000, the top of the 20% row; 31250 x 80% = 25000 at 30% - 2000.
        {"25000", "", {"20000.00", "20000.00", "20%", "0.00", "4000.00", "21000.00"}},
        {"31250", "", {"25000.00", "25000.00", "30%", "2000.00", "5500.00", "25750.00"}},
        // 62500 x 80% = 50000 at 30%: 13000; 100000 x 80% = 80000 at 40% - 7000: 25000.
        {"62500", "", {"50000.00", "50000.00", "30%", "2000.00", "13000.00", "49500.00"}},
        {"100000", "劳务报酬", {"80000.00", "80000.00", "40%", "7000.00", "25000.00", "75000.00"}},
        // 稿酬: 10000 - 20% = 8000, of which 70% = 5600 is taxed at 20%.
        {"10000", "稿酬", {"8000.00", "5600.00", "20%", "0.00", "1120.00", "8880.00"}},
        {"4000", "稿酬", {"3200.00", "2240.00", "20%", "0.00", "448.00", "3552.00"}},
        // A royalty is taxed at 20% of its 收入额 whatever its size.
        {"10000", "特许权使用费", {"8000.00", "8000.00", "20%", "0.00", "1600.00", "8400.00"}},
        {"1000000", "特许权使用费", {"800000.00", "800000.00", "20%", "0.00", "160000.00", "840000.00"}},
    };
    const RowCalculator calculator = test::CalculatorFor(BatchMode::Remuneration, {"收入", "所得项目"});
    for (const Case &c : cases) {
        RowFigures figures;
        EXPECT_TRUE(test::ComputeRow(calculator, {c.Income, c.Item}, figures)) << figures.Error;
        EXPECT_EQ(test::Computed(calculator, figures), c.Figures) << c.Income << " " << c.Item;
    }
}

TEST(RemunerationMode, RefusesWhatIsNoRemuneration) {
    const RowCalculator calculator = test::CalculatorFor(BatchMode::Remuneration, {"收入", "所得项目"});
    struct Case {
        std::string Income;
        std::string Item;
        std::string Error;
    };
    const Case cases[] = {
        {"3000", "工资", "所得项目：应为劳务报酬、稿酬或特许权使用费"},
        {"", "", "收入：空白"},
        {"-1", "", "收入：不能为负数"},
    };
    for (const Case &c : cases) {
        RowFigures figures;
        EXPECT_FALSE(test::ComputeRow(calculator, {c.Income, c.Item}, figures));
        EXPECT_EQ(figures.Error, c.Error);
        EXPECT_EQ(test::Computed(calculator, figures), Cells(calculator.Width()));
    }
    // Without the item column every payment is labour.
    const RowCalculator alone = test::CalculatorFor(BatchMode::Remuneration, {"income"});
    RowFigures figures;
    EXPECT_TRUE(test::ComputeRow(alone, {"3000"}, figures));
    EXPECT_EQ(figures.Cells[4], "440.00");
}

}  // namespace
}  // namespace taxcalc
