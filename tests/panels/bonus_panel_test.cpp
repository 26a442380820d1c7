// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "panels/bonus_panel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/panels/recording_surface.h"

namespace taxcalc {
namespace {

using Op = RecordingSurface::Op;
using Call = RecordingSurface::Call;

constexpr const char *kReasonable = "评价：1、该年终奖合理，无需调整！";
constexpr const char *kRefusal = "请输入正确的年终奖及当月工资！";

std::string Line2010(const std::string &tax, const std::string &saving) {
    return "2、以2010年九级税率计算，该年终奖需要纳税" + tax + " 元，节省" + saving + "元！";
}
std::string Advice(const std::string &bonus) {
    return "评价：1、该年终奖建议修改为" + bonus + "元！参考：";
}
std::string Recommended(const std::string &bonus, const std::string &tax, const std::string &after) {
    return "年终奖" + bonus + "，税额" + tax + "，\r\n税后年终奖" + after;
}

struct BonusCase {
    std::string Bonus;
    std::string Wage;
    std::string Label16;
    std::string Label17;
    std::string Label20;
    std::string Label4;
    std::string Label5;  // the 2010 line here means the reasonable outcome
    std::string Label6;  // "" in the reasonable outcome
};

TEST(BonusPanel, CalculateComposesEveryCaptionInOrder) {
    const BonusCase cases[] = {
        {"18000", "3500", "1775.00 元", "540.00 元，税后 17460.00元", "540.00 元", kReasonable,
         Line2010("1775.00", "1235.00"), ""},
        {"18001", "3500", "1775.10 元", "1695.10 元，税后 16305.90元", "540.10 元", Advice("18000"),
         Recommended("18000", "540.00", "17460.00"), Line2010("1775.10", "80.00")},
        {"18600", "3000", "1835.00 元", "1705.00 元，税后 16895.00元", "550.00 元", Advice("18500"),
         Recommended("18500", "540.00", "17960.00"), Line2010("1835.00", "130.00")},
        {"18100", "3456.78", "1785.00 元", "1700.68 元，税后 16399.32元", "545.68 元", Advice("18043.22"),
         Recommended("18043.22", "540.00", "17503.22"), Line2010("1785.00", "84.32")},
        {"54001", "3500", "7975.15 元", "10245.20 元，税后 43755.80元", "4140.20 元", Advice("54000"),
         Recommended("54000", "5295.00", "48705.00"), Line2010("7975.15", "-2270.05")},
        {"300", "3000", "15.00 元", "0.00 元，税后 300.00元", "0.00 元", kReasonable,
         Line2010("15.00", "15.00"), ""},
        {"100", "1500", "0.00 元", "0.00 元，税后 100.00元", "0.00 元", kReasonable, Line2010("0.00", "0.00"),
         ""},
        // The 2010 method keeps a monthly average of exactly 500 in its 5 % row.
        {"6000", "3500", "300.00 元", "180.00 元，税后 5820.00元", "180.00 元", kReasonable,
         Line2010("300.00", "120.00"), ""},
        {"19283.33", "3500", "1903.33 元", "1823.33 元，税后 17460.00元", "668.33 元", kReasonable,
         Line2010("1903.33", "80.00"), ""},
    };
    for (const auto &c : cases) {
        RecordingSurface surface;
        surface.Fill(Entry::Text2, c.Bonus);
        surface.Fill(Entry::Text3, c.Wage);
        BonusPanel(surface).Calculate();
        std::vector<Call> expected = {
            {Op::ReadEntry, "Text2", c.Bonus},      {Op::ReadEntry, "Text3", c.Wage},
            {Op::SetCaption, "Label16", c.Label16}, {Op::SetCaption, "Label17", c.Label17},
            {Op::SetCaption, "Label20", c.Label20}, {Op::SetForeColour, "Label23", "FF0000"},
            {Op::SetCaption, "Label4", c.Label4},   {Op::SetCaption, "Label5", c.Label5},
        };
        if (c.Label6.empty()) {
            expected.push_back({Op::SetForeColour, "Label5", "000000"});
            expected.push_back({Op::SetCaption, "Label6", ""});
        } else {
            expected.push_back({Op::SetForeColour, "Label5", "0000FF"});
            expected.push_back({Op::SetCaption, "Label6", c.Label6});
            expected.push_back({Op::SetForeColour, "Label6", "000000"});
        }
        EXPECT_EQ(surface.Log(), expected) << c.Bonus << " / " << c.Wage;
    }
}

TEST(BonusPanel, RecommendsTheLowerEdgeOfEachZone) {
    struct ZoneCase {
        const char *Bonus;
        const char *Label4;  // null: no advice
        const char *Label5;
    };
    const ZoneCase cases[] = {
        {"18000.01", "18000", "年终奖18000，税额540.00，\r\n税后年终奖17460.00"},
        {"19283.32", "18000", "年终奖18000，税额540.00，\r\n税后年终奖17460.00"},
        {"60187.49", "54000", "年终奖54000，税额5295.00，\r\n税后年终奖48705.00"},
        {"60187.5", nullptr, nullptr},
        {"110000", "108000", "年终奖108000，税额21045.00，\r\n税后年终奖86955.00"},
        {"430000", "420000", "年终奖420000，税额103995.00，\r\n税后年终奖316005.00"},
        {"700000", "660000", "年终奖660000，税额195245.00，\r\n税后年终奖464755.00"},
        {"1000000", "960000", "年终奖960000，税额330495.00，\r\n税后年终奖629505.00"},
        {"1119999.99", "960000", "年终奖960000，税额330495.00，\r\n税后年终奖629505.00"},
        {"1120000", nullptr, nullptr},
    };
    for (const auto &c : cases) {
        RecordingSurface surface;
        surface.Fill(Entry::Text2, c.Bonus);
        surface.Fill(Entry::Text3, "3500");
        BonusPanel(surface).Calculate();
        if (c.Label4 == nullptr) {
            EXPECT_EQ(surface.Caption(Label::Label4), kReasonable) << c.Bonus;
            EXPECT_EQ(surface.Caption(Label::Label6), "") << c.Bonus;
        } else {
            EXPECT_EQ(surface.Caption(Label::Label4), Advice(c.Label4)) << c.Bonus;
            EXPECT_EQ(surface.Caption(Label::Label5), c.Label5) << c.Bonus;
            EXPECT_EQ(surface.ForeColour(Label::Label5), kRed) << c.Bonus;
        }
    }
}

TEST(BonusPanel, ReasonableAfterBlindZoneTurnsLabel5BlackAndKeepsLabel6Colour) {
    RecordingSurface surface;
    BonusPanel panel(surface);
    surface.Fill(Entry::Text3, "3500");
    surface.SetForeColour(Label::Label6, kRed);
    surface.Fill(Entry::Text2, "18000");
    panel.Calculate();
    EXPECT_EQ(surface.ForeColour(Label::Label6), kRed);  // only the blind-zone outcome sets it
    surface.Fill(Entry::Text2, "18001");
    panel.Calculate();
    EXPECT_EQ(surface.ForeColour(Label::Label5), kRed);
    EXPECT_EQ(surface.ForeColour(Label::Label6), kBlack);
    surface.Fill(Entry::Text2, "18000");
    panel.Calculate();
    EXPECT_EQ(surface.ForeColour(Label::Label5), kBlack);
    EXPECT_EQ(surface.Caption(Label::Label6), "");
    EXPECT_EQ(surface.ForeColour(Label::Label6), kBlack);
}

TEST(BonusPanel, RefusedAttemptShowsOnlyTheMessage) {
    const std::pair<std::string, std::string> refused[] = {
        {"", "3500"},       {"1000", ""},
        {"", ""},           {".", "3500"},
        {"1000", "."},      {"-", "3500"},
        {"12a", "3500"},    {"1e4", "3500"},
        {"18000", "3,500"}, {"1" + std::string(309, '0'), "3500"},
    };
    for (const auto &[bonus, wage] : refused) {
        RecordingSurface surface;
        BonusPanel panel(surface);
        surface.Fill(Entry::Text2, "18001");
        surface.Fill(Entry::Text3, "3500");
        panel.Calculate();
        surface.SetForeColour(Label::Label23, kRed);
        surface.Fill(Entry::Text2, bonus);
        surface.Fill(Entry::Text3, wage);
        surface.ClearLog();
        panel.Calculate();
        const std::vector<Call> onlyMessage = {{Op::ShowMessage, "", kRefusal}};
        EXPECT_EQ(surface.Changes(), onlyMessage) << bonus << " / " << wage;
        EXPECT_EQ(surface.Caption(Label::Label17), "1695.10 元，税后 16305.90元");
        EXPECT_EQ(surface.ForeColour(Label::Label23), kRed);
    }
}

TEST(BonusPanel, FiguresAtTheEdgeOfTheDoubleRangeStayFinite) {
    const std::string huge = "1" + std::string(308, '0');
    RecordingSurface surface;
    surface.Fill(Entry::Text2, "-" + huge);
    surface.Fill(Entry::Text3, "-" + huge);
    BonusPanel(surface).Calculate();
    EXPECT_EQ(surface.MessageCount(), 0);
    EXPECT_EQ(surface.Caption(Label::Label17), "0.00 元，税后 -" + huge + ".00元");
    EXPECT_EQ(surface.Caption(Label::Label5), Line2010("0.00", "0.00"));
}

TEST(BonusPanel, ResetClearsInOrder) {
    RecordingSurface surface;
    BonusPanel panel(surface);
    surface.Fill(Entry::Text2, "18001");
    surface.Fill(Entry::Text3, "3500");
    panel.Calculate();
    surface.ClearLog();
    panel.Reset();
    const std::vector<Call> expected = {
        {Op::SetEntryText, "Text2", ""},          {Op::SetEntryText, "Text3", "3500"},
        {Op::SetCaption, "Label16", ""},          {Op::SetCaption, "Label17", ""},
        {Op::SetCaption, "Label20", ""},          {Op::SetForeColour, "Label23", "FF0000"},
        {Op::SetForeColour, "Label19", "FF0000"}, {Op::SetVisible, "Label14", "hidden"},
        {Op::SetVisible, "Label16", "hidden"},    {Op::SetVisible, "Label18", "hidden"},
        {Op::SetVisible, "Label20", "hidden"},    {Op::SetCaption, "Label4", ""},
        {Op::SetCaption, "Label5", ""},           {Op::SetCaption, "Label6", ""},
    };
    EXPECT_EQ(surface.Log(), expected);
    EXPECT_EQ(surface.ForeColour(Label::Label5), kRed);  // the reset leaves the colours of the lines
}

}  // namespace
}  // namespace taxcalc
