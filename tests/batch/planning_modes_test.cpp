// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/planning_modes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/row_calculator.h"
#include "tests/batch/test_streams.h"

namespace taxcalc {
namespace {

using Cells = std::vector<std::string>;
using test::CalculatorFor;
using test::Computed;
using test::ComputeRow;

struct PlanningCase {
    BatchMode Mode;
    std::string_view Period;
    Cells Header;
    Cells Texts;    // in the order of the mode's inputs
    Cells Figures;  // the added cells, or empty for a refused row
    std::string Error = {};
};

void PrintTo(const PlanningCase &c, std::ostream *os) {
    *os << c.Period << " " << testing::PrintToString(c.Texts);
}

class PlanningRow : public testing::TestWithParam<PlanningCase> {};

TEST_P(PlanningRow, GivesTheHandWorkedFiguresOrTheReason) {
    const PlanningCase &c = GetParam();
    const RowCalculator calculator = CalculatorFor(c.Mode, c.Header, FindPeriod(c.Period));
    RowFigures figures;
    EXPECT_EQ(ComputeRow(calculator, c.Texts, figures), c.Error.empty());
    EXPECT_EQ(figures.Error, c.Error);
    EXPECT_EQ(Computed(calculator, figures), c.Error.empty() ? c.Figures : Cells(calculator.Width()));
}

const Cells kGrossBonusHeader{"税后年终奖", "当月工资"};
const Cells kGrossWageHeader{"税后工资", "三险一金"};
const Cells kSplitHeader{"月薪", "年终奖", "三险一金", "最低月薪", "专项附加扣除"};

INSTANTIATE_TEST_SUITE_P(
    GrossBonus, PlanningRow,
    testing::Values(
        PlanningCase{BatchMode::GrossBonus,
                     "2011",
                     kGrossBonusHeader,
                     {"17460", "3500"},
                     {"18000.00", "540.00", "17460.00"}},
        // One cent more leaves the zone's lower edge behind: its upper edge, and a cent.
        PlanningCase{BatchMode::GrossBonus,
                     "2011",
                     kGrossBonusHeader,
                     {"17460.01", ""},
                     {"19283.34", "1823.33", "17460.01"}},
        PlanningCase{BatchMode::GrossBonus,
                     "2011",
                     kGrossBonusHeader,
                     {"17460", "3000"},
                     {"17984.54", "524.54", "17460.00"}},
        // Read to the cent first, a half cent to even.
        PlanningCase{BatchMode::GrossBonus,
                     "2011",
                     kGrossBonusHeader,
                     {"17460.005", ""},
                     {"18000.00", "540.00", "17460.00"}},
        PlanningCase{
            BatchMode::GrossBonus, "2019", {"net_bonus"}, {"34920.01"}, {"38566.68", "3646.67", "34920.01"}},
        PlanningCase{BatchMode::GrossBonus,
                     "2008",
                     {"NET_BONUS", "Wage"},
                     {"5700", ""},
                     {"6000.00", "300.00", "5700.00"}},
        PlanningCase{
            BatchMode::GrossBonus, "2011", kGrossBonusHeader, {"-0.01", ""}, {}, "税后年终奖：不能为负数"},
        PlanningCase{BatchMode::GrossBonus,
                     "2011",
                     kGrossBonusHeader,
                     {"100000000000000", "3500"},
                     {},
                     "税后年终奖、当月工资：数额过大，无法计算"}));

INSTANTIATE_TEST_SUITE_P(
    GrossWage, PlanningRow,
    testing::Values(
        PlanningCase{
            BatchMode::GrossWage, "2011", kGrossWageHeader, {"5000", ""}, {"5050.00", "50.00", "5000.00"}},
        PlanningCase{BatchMode::GrossWage,
                     "2011",
                     {"net_wage", "deductions"},
                     {"5000", "1000"},
                     {"6050.00", "50.00", "5000.00"}},
        PlanningCase{BatchMode::GrossWage, "2008", {"税后工资"}, {"3000"}, {"3083.33", "83.33", "3000.00"}},
        PlanningCase{BatchMode::GrossWage,
                     "2018",
                     kGrossWageHeader,
                     {"10000", "0"},
                     {"10322.22", "322.22", "10000.00"}},
        PlanningCase{
            BatchMode::GrossWage, "2018", kGrossWageHeader, {"10000", "-1"}, {}, "三险一金：不能为负数"}));

INSTANTIATE_TEST_SUITE_P(
    Split, PlanningRow,
    testing::Values(
        // A bonus just inside the first zone: 0.14 a month more wage saves 1155.01.
        PlanningCase{BatchMode::Split,
                     "2011",
                     kSplitHeader,
                     {"5000", "18001.2", "", "", ""},
                     {"2235.12", "5000.14", "17999.52", "1080.11", "1155.01"}},
        PlanningCase{BatchMode::Split,
                     "2011",
                     {"wage", "bonus"},
                     {"3000", "6000"},
                     {"165.00", "3500.00", "0.00", "0.00", "165.00"}},
        PlanningCase{BatchMode::Split,
                     "2019",
                     kSplitHeader,
                     {"5000", "36001", "", "", ""},
                     {"1080.10", "8000.00", "1.00", "1080.03", "0.07", "单独计税"}},
        // Nothing taxed however split: kept, and joined with the year's income.
        PlanningCase{BatchMode::Split,
                     "2019",
                     kSplitHeader,
                     {"3000", "6000", "", "", ""},
                     {"0.00", "3000.00", "6000.00", "0.00", "0.00", "并入综合所得"}},
        // The special deductions take the year's 30000 out of reach of any tax.
        PlanningCase{BatchMode::Split,
                     "2019",
                     {"wage", "bonus", "special_deductions"},
                     {"5000", "30000", "30000"},
                     {"0.00", "5000.00", "30000.00", "0.00", "0.00", "并入综合所得"}},
        // The minimum wage is the only wage left, dearer than the current split: the
        // saving is negative. 12 x (1501 x 10 % - 105) against 12 x 45 + 0.36.
        PlanningCase{BatchMode::Split,
                     "2011",
                     kSplitHeader,
                     {"5000", "12", "", "5001", ""},
                     {"540.36", "5001.00", "0.00", "541.20", "-0.84"}},
        PlanningCase{BatchMode::Split,
                     "2011",
                     kSplitHeader,
                     {"5000", "11.99", "", "5001", ""},
                     {},
                     "最低月薪高于全年收入的十二分之一"},
        PlanningCase{BatchMode::Split, "2011", kSplitHeader, {"5000", "", "", "", ""}, {}, "年终奖：空白"},
        PlanningCase{BatchMode::Split,
                     "2011",
                     kSplitHeader,
                     {"5000", "1", "", "-3", ""},
                     {},
                     "最低月薪：不能为负数"}));

TEST(PlanningModes, AddTheirColumnsUnderEachPeriod) {
    struct Case {
        BatchMode Mode;
        std::string_view Period;
        Cells Header;
        std::vector<std::string_view> Added;
    };
    const Case cases[] = {
        {BatchMode::GrossBonus, "2011", {"税后年终奖"}, {"税前年终奖", "年终奖个税", "实得税后年终奖"}},
        {BatchMode::GrossWage, "2018", {"税后工资"}, {"税前工资", "工资个税", "实得税后工资"}},
        {BatchMode::Split,
         "2011",
         {"月薪", "年终奖"},
         {"现全年个税", "建议月薪", "建议年终奖", "建议全年个税", "全年节省"}},
        {BatchMode::Split,
         "2019",
         {"月薪", "年终奖"},
         {"现全年个税", "建议月薪", "建议年终奖", "建议全年个税", "全年节省", "计税方式"}},
    };
    for (const Case &c : cases) {
        const RowCalculator calculator = CalculatorFor(c.Mode, c.Header, FindPeriod(c.Period));
        EXPECT_EQ(std::vector<std::string_view>(calculator.Headers().begin(), calculator.Headers().end()),
                  c.Added)
            << c.Period;
    }
}

TEST(PlanningModes, GrossWageIsRefusedFrom2019AndSplitNeedsBothFigures) {
    std::string error;
    EXPECT_FALSE(RowCalculator::ForHeader(BatchMode::GrossWage, FindPeriod("2019"),
                                          test::RecordOf({"税后工资"}), error));
    EXPECT_NE(error.find("累计预扣"), std::string::npos) << error;
    EXPECT_FALSE(
        RowCalculator::ForHeader(BatchMode::Split, FindPeriod("2011"), test::RecordOf({"月薪"}), error));
    EXPECT_EQ(error, "表头中没有年终奖列（列名“年终奖”或“bonus”）");
}

}  // namespace
}  // namespace taxcalc
