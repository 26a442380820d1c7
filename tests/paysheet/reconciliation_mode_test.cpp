// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// A year reconciled as a row: the bonus taxed the cheaper way, either way round, and
// what is left to pay, to refund or waived. Every figure is worked by hand from the
// year table (3% to 36000, 10% - 2520 to 144000, 20% - 16920 to 300000) and the
// monthly table for the bonus taxed alone (3% to 3000 a month, 10% - 210 to 12000).
#include "paysheet/reconciliation_mode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/paysheet/row_helpers.h"

namespace taxcalc {
namespace {

using Cells = std::vector<std::string>;

const Cells kHeader{"工资薪金收入", "全年一次性奖金", "劳务报酬收入", "稿酬收入", "专项附加扣除", "已缴税额"};

// The mode's input texts from texts in kHeader's order.
Cells Texts(const Cells &given) {
    Cells texts(reconciliation::kInputCount);
    texts[reconciliation::kWages] = given[0];
    texts[reconciliation::kBonus] = given[1];
    texts[reconciliation::kLabour] = given[2];
    texts[reconciliation::kAuthor] = given[3];
    texts[reconciliation::kSpecialAdditional] = given[4];
    texts[reconciliation::kPaid] = given[5];
    return texts;
}

TEST(ReconciliationMode, TaxesTheBonusTheCheaperWayAndSettles) {
    struct Case {
        const char *What;
        Cells Given;  // in kHeader's order
        Cells Figures;  // 综合所得收入额, 应纳税所得额, 单独, 并入, 方式, 应纳税额, 应补退税额, 结果
    };
    const Case cases[] = {
        // 200000 - 60000 = 140000 pays 11480; the bonus alone 36000 / 12 = 3000 at 3%:
        // 1080, 12560 in all. Joined, 176000 pays 35200 - 16920 = 18280. 12560 - 12000.
        {"bonus alone",
         {"200000", "36000", "", "", "", "12000"},
         {"200000.00", "140000.00", "12560.00", "18280.00", "单独计税", "12560.00", "560.00", "补税"}},
        // 50000 leaves nothing to tax, the bonus alone 20000 / 12 at 3%: 600; joined,
        // 10000 at 3%: 300. 300 - 600 is refunded.
        {"bonus joined",
         {"50000", "20000", "", "", "", "600"},
         {"50000.00", "10000.00", "600.00", "300.00", "并入综合所得", "300.00", "-300.00", "退税"}},
        // No bonus: no method; 140000 pays 11480. 380 to pay is waived (at most 400).
        {"waived under 400",
         {"200000", "", "", "", "", "11100"},
         {"200000.00", "140000.00", "11480.00", "11480.00", "", "11480.00", "380.00", "免予补税"}},
        {"waived at 400",
         {"200000", "", "", "", "", "11080"},
         {"200000.00", "140000.00", "11480.00", "11480.00", "", "11480.00", "400.00", "免予补税"}},
        {"paid just above 400",
         {"200000", "", "", "", "", "11079.99"},
         {"200000.00", "140000.00", "11480.00", "11480.00", "", "11480.00", "400.01", "补税"}},
        // An income of 120000 at most is waived whatever it has to pay: 60000 pays 3480.
        {"waived by income",
         {"120000", "", "", "", "", ""},
         {"120000.00", "60000.00", "3480.00", "3480.00", "", "3480.00", "3480.00", "免予补税"}},
        // A refund is never waived: 80000 pays 600 of 1000 paid.
        {"refund",
         {"80000", "", "", "", "", "1000"},
         {"80000.00", "20000.00", "600.00", "600.00", "", "600.00", "-400.00", "退税"}},
        {"nothing",
         {"80000", "", "", "", "", "600"},
         {"80000.00", "20000.00", "600.00", "600.00", "", "600.00", "0.00", "无需补退"}},
        // Labour 10000 x 80% = 8000; author 10000 x 80% x 70% = 5600; less 60000 and
        // 12000 of special additional deductions: 13600 at 3% = 408.
        {"remuneration in the year",
         {"72000", "", "10000", "10000", "12000", "408"},
         {"85600.00", "13600.00", "408.00", "408.00", "", "408.00", "0.00", "无需补退"}},
    };
    const RowCalculator calculator = test::CalculatorFor(BatchMode::Reconcile, kHeader);
    for (const Case &c : cases) {
        RowFigures figures;
        EXPECT_TRUE(test::ComputeRow(calculator, Texts(c.Given), figures)) << c.What << figures.Error;
        EXPECT_EQ(test::Computed(calculator, figures), c.Figures) << c.What;
        EXPECT_EQ(figures.Waived, c.Figures[7] == "免予补税") << c.What;
    }
}

TEST(ReconciliationMode, NeedsAnIncomeColumn) {
    std::string error;
    EXPECT_FALSE(RowCalculator::ForHeader(*Computation::Resolve(BatchMode::Reconcile),
                                          test::RecordOf({"已缴税额", "专项附加扣除"}), error));
    EXPECT_NE(error.find("表头中没有收入列"), std::string::npos) << error;
}

}  // namespace
}  // namespace taxcalc
