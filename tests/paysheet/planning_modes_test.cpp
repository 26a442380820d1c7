// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/planning_modes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "paysheet/row_calculator.h"
#include "tests/paysheet/row_helpers.h"

namespace taxcalc {
namespace {

using Cells = std::vector<std::string>;

struct PlanningCase {
    BatchMode Mode;
    std::string_view Period;
    Cells Header;
    Cells Texts;    // in the order of the mode's inputs
    Cells Figures;  // the added cells, or empty for a refused row
    std::string Error = {};
};

// The figures are the engine's hand-worked examples; here they are read from the
// columns the header names, with their defaults, and written to the cent.
TEST(PlanningModes, ReadTheirColumnsAndWriteTheirFigures) {
    const Cells split{"月薪", "年终奖", "三险一金", "最低月薪", "专项附加扣除"};
    const PlanningCase cases[] = {
        {BatchMode::GrossBonus,
         "2011",
         {"税后年终奖", "当月工资"},
         {"17460.01", ""},
         {"19283.34", "1823.33", "17460.01"}},
        {BatchMode::GrossBonus,
         "2011",
         {"net_bonus", "WAGE"},
         {"17460", "3000"},
         {"17984.54", "524.54", "17460.00"}},
        // Read to the cent first, a half cent away from zero: 34920.01 is one cent more
        // than 36000 leaves, so the bonus climbs out of the zone to 38566.68, whose tax
        // 3646.668 leaves 34920.01; from 2019 no wage is read.
        {BatchMode::GrossBonus, "2019", {"税后年终奖"}, {"34920.005"}, {"38566.68", "3646.67", "34920.01"}},
        {BatchMode::GrossWage,
         "2011",
         {"net_wage", "deductions"},
         {"5000", "1000"},
         {"6050.00", "50.00", "5000.00"}},
        {BatchMode::GrossWage, "2008", {"税后工资"}, {"3000"}, {"3083.33", "83.33", "3000.00"}},
        {BatchMode::Split,
         "2011",
         {"wage", "bonus"},
         {"5000", "18001.2"},
         {"2235.12", "5000.14", "17999.52", "1080.11", "1155.01"}},
        {BatchMode::Split,
         "2019",
         split,
         {"5000", "36001", "", "", ""},
         {"1080.10", "8000.00", "1.00", "1080.03", "0.07", "单独计税"}},
        // The special deductions leave nothing taxed when joined: the split is kept.
        {BatchMode::Split,
         "2019",
         {"wage", "bonus", "special_deductions"},
         {"5000", "30000", "30000"},
         {"0.00", "5000.00", "30000.00", "0.00", "0.00", "并入综合所得"}},
        // The minimum wage is the only wage left, dearer than now: a negative saving.
        {BatchMode::Split,
         "2011",
         split,
         {"5000", "12", "", "5001", ""},
         {"540.36", "5001.00", "0.00", "541.20", "-0.84"}},
        {BatchMode::Split,
         "2011",
         split,
         {"5000", "11.99", "", "5001", ""},
         {},
         "最低月薪高于全年收入的十二分之一"},
        {BatchMode::Split, "2011", split, {"5000", "1", "", "-3", ""}, {}, "最低月薪：不能为负数"},
        {BatchMode::GrossBonus, "2011", {"税后年终奖"}, {"-0.01"}, {}, "税后年终奖：不能为负数"},
        {BatchMode::GrossWage, "2011", {"税后工资"}, {"100000000000000"}, {}, "税后工资：数额过大，无法计算"},
        // An empty wage plays no part in a net too large.
        {BatchMode::GrossBonus,
         "2019",
         {"税后年终奖", "当月工资"},
         {"20000000000000", ""},
         {},
         "税后年终奖：数额过大，无法计算"},
    };
    for (const PlanningCase &c : cases) {
        const RowCalculator calculator = test::CalculatorFor(c.Mode, c.Header, FindPeriod(c.Period));
        RowFigures figures;
        EXPECT_EQ(test::ComputeRow(calculator, c.Texts, figures), c.Error.empty()) << c.Texts[0];
        EXPECT_EQ(figures.Error, c.Error);
        EXPECT_EQ(test::Computed(calculator, figures),
                  c.Error.empty() ? c.Figures : Cells(calculator.Width()))
            << c.Period << " " << c.Texts[0];
    }
}

TEST(PlanningModes, AddTheMethodColumnOnlyFrom2019) {
    for (const std::string_view period : {"2011", "2019"}) {
        const RowCalculator calculator =
            test::CalculatorFor(BatchMode::Split, {"月薪", "年终奖"}, FindPeriod(period));
        std::vector<std::string_view> expected{"现全年个税", "建议月薪", "建议年终奖", "建议全年个税",
                                               "全年节省"};
        if (period == "2019") {
            expected.push_back("计税方式");
        }
        EXPECT_EQ(std::vector<std::string_view>(calculator.Headers().begin(), calculator.Headers().end()),
                  expected);
    }
}

}  // namespace
}  // namespace taxcalc
