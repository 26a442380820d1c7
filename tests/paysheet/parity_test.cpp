// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The tool and the window must agree: the same entry texts run through the real
// panels on the in-memory surface and through the row calculator, and every caption
// is rebuilt from the row's cells.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "panels/bonus_panel.h"
#include "panels/wage_panel.h"
#include "paysheet/row_calculator.h"
#include "tests/panels/recording_surface.h"
#include "tests/paysheet/row_helpers.h"

namespace taxcalc {
namespace {

const std::string kHuge = "1" + std::string(308, '0');

// Amount texts as a clerk's sheet or a pasting user may hold them: whole yuan, cents,
// a third decimal, the edges of the blind zones and of the brackets, odd spellings and
// texts that hold no number.
class EntryTexts {
public:
    explicit EntryTexts(unsigned seed) : m_random(seed) {}

    std::string Next(double scale) {
        static const std::vector<std::string> odd = {
            "0",     ".5",       "12.",     "007",     "-5",         "+3",    "3500",      "2000",
            "18000", "19283.33", "60187.5", "1120000", "1119999.99", "0.125", "2.675",     "4999.995",
            "abc",   "1e5",      " 1",      ".",       "-",          kHuge,   "-" + kHuge,
        };
        static const double edges[] = {18000,  19283.33, 54000,  60187.5,   108000, 114600,
                                       420000, 447500,   660000, 706538.46, 960000, 1120000};
        char text[64];
        switch (m_random() % 6) {
            case 0:
                return odd[m_random() % odd.size()];
            case 1:
                std::snprintf(text, sizeof text, "%.0f", Uniform(scale));
                break;
            case 2:
                std::snprintf(text, sizeof text, "%.2f", Uniform(scale));
                break;
            case 3:
                std::snprintf(text, sizeof text, "%.3f", Uniform(scale));
                break;
            case 4:
                std::snprintf(
                    text, sizeof text, "%.2f",
                    edges[m_random() % std::size(edges)] + (static_cast<int>(m_random() % 5) - 2) * 0.01);
                break;
            default:
                std::snprintf(text, sizeof text, "%.2f", Uniform(5000) + 500);
                break;
        }
        return text;
    }

private:
    double Uniform(double scale) { return std::uniform_real_distribution<double>(0, scale)(m_random); }

    std::mt19937 m_random;
};

// The text without the blanks around it, as the batch tool reads a cell.
std::string Plain(const std::string &text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Line2010(const RowFigures &f) {
    return "2、以2010年九级税率计算，该年终奖需要纳税" + f.Cells[6] + " 元，节省" + f.Cells[7] + "元！";
}

void ExpectBonusParity(const std::string &bonus, const std::string &wage) {
    RecordingSurface surface;
    surface.Fill(Entry::Text2, bonus);
    surface.Fill(Entry::Text3, wage);
    BonusPanel(surface).Calculate();
    RowFigures f;
    const bool computed =
        test::ComputeRow(test::CalculatorFor(BatchMode::Bonus, {"年终奖", "当月工资"}), {bonus, wage}, f);
    SCOPED_TRACE("bonus \"" + bonus + "\", wage \"" + wage + "\"");
    if (computed && surface.MessageCount() != 0) {
        // A spreadsheet's form that the window's entries refuse gives its plain twin's figures.
        ASSERT_NE(Plain(bonus) + Plain(wage), bonus + wage);
        ExpectBonusParity(Plain(bonus), Plain(wage));
        return;
    }
    if (!computed && surface.MessageCount() == 0) {
        // The window takes a figure below nought or beyond the engine's exact range; a
        // payroll row refuses it.
        EXPECT_TRUE(f.Error.ends_with("不能为负数") || f.Error.ends_with("数额过大，无法计算")) << f.Error;
        return;
    }
    ASSERT_EQ(computed, surface.MessageCount() == 0);
    if (!computed) {
        return;
    }
    EXPECT_EQ(surface.Caption(Label::Label17), f.Cells[0] + " 元，税后 " + f.Cells[1] + "元");
    EXPECT_EQ(surface.Caption(Label::Label16), f.Cells[6] + " 元");
    if (f.Cells[2] == "是") {
        EXPECT_EQ(surface.Caption(Label::Label4), "评价：1、该年终奖建议修改为" + f.Cells[3] + "元！参考：");
        EXPECT_EQ(surface.Caption(Label::Label5),
                  "年终奖" + f.Cells[3] + "，税额" + f.Cells[4] + "，\r\n税后年终奖" + f.Cells[5]);
        EXPECT_EQ(surface.Caption(Label::Label6), Line2010(f));
    } else {
        EXPECT_EQ(f.Cells[2], "否");
        EXPECT_EQ(f.Cells[3] + f.Cells[4] + f.Cells[5], "");
        EXPECT_EQ(surface.Caption(Label::Label4), "评价：1、该年终奖合理，无需调整！");
        EXPECT_EQ(surface.Caption(Label::Label5), Line2010(f));
    }
}

void ExpectWageParity(const std::string &wage, const std::string &deductions) {
    RecordingSurface surface;
    surface.Fill(Entry::Text5, wage);
    surface.Fill(Entry::Text4, deductions);
    WagePanel(surface).Calculate();
    RowFigures f;
    const bool computed = test::ComputeRow(test::CalculatorFor(BatchMode::Wage, {"每月薪金", "三险一金"}),
                                           {wage, deductions}, f);
    SCOPED_TRACE("wage \"" + wage + "\", deductions \"" + deductions + "\"");
    if (computed && surface.MessageCount() != 0) {
        ASSERT_NE(Plain(wage) + Plain(deductions), wage + deductions);
        ExpectWageParity(Plain(wage), Plain(deductions));
        return;
    }
    if (!computed && surface.MessageCount() == 0) {
        // The window takes a figure below nought or beyond the engine's exact range; a
        // payroll row refuses it.
        EXPECT_TRUE(f.Error.ends_with("不能为负数") || f.Error.ends_with("数额过大，无法计算")) << f.Error;
        return;
    }
    ASSERT_EQ(computed, surface.MessageCount() == 0);
    if (!computed) {
        return;
    }
    EXPECT_EQ(surface.Caption(Label::Label29), f.Cells[0] + " 元");
    EXPECT_EQ(surface.Caption(Label::Label28), f.Cells[1] + " 元");
    EXPECT_EQ(surface.Caption(Label::Label34),
              f.Cells[2] == "少交" ? "恭喜！您少交个税 " : "调整使您多交个税 ");
    EXPECT_EQ(surface.Caption(Label::Label26), f.Cells[3]);
}

TEST(Parity, BonusRowsShowWhatTheBonusPanelShows) {
    EntryTexts texts(5);
    for (int i = 0; i < 20000 && !HasFatalFailure(); ++i) {
        ExpectBonusParity(texts.Next(1300000), texts.Next(10000));
    }
}

TEST(Parity, WageRowsShowWhatTheWagePanelShows) {
    EntryTexts texts(7);
    for (int i = 0; i < 20000 && !HasFatalFailure(); ++i) {
        ExpectWageParity(texts.Next(120000), texts.Next(6000));
    }
}

// An empty cell stands for what the panel's entry holds after a reset.
TEST(Parity, EmptySecondFiguresAreThePanelsResetTexts) {
    for (const std::string bonus : {"18001", "54001", "300", "0.125"}) {
        RowFigures empty;
        RowFigures typed;
        const RowCalculator calculator = test::CalculatorFor(BatchMode::Bonus, {"年终奖", "当月工资"});
        ASSERT_TRUE(test::ComputeRow(calculator, {bonus, ""}, empty));
        ASSERT_TRUE(test::ComputeRow(calculator, {bonus, "3500"}, typed));
        EXPECT_EQ(empty.Cells, typed.Cells);
    }
    for (const std::string wage : {"3500", "38600.01", "5000.56"}) {
        RowFigures empty;
        RowFigures typed;
        const RowCalculator calculator = test::CalculatorFor(BatchMode::Wage, {"每月薪金", "三险一金"});
        ASSERT_TRUE(test::ComputeRow(calculator, {wage, ""}, empty));
        ASSERT_TRUE(test::ComputeRow(calculator, {wage, "0"}, typed));
        EXPECT_EQ(empty.Cells, typed.Cells);
    }
}

}  // namespace
}  // namespace taxcalc
