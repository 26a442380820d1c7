// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "panels/wage_panel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/panels/recording_surface.h"

namespace taxcalc {
namespace {

using Op = RecordingSurface::Op;
using Call = RecordingSurface::Call;

constexpr const char *kLess = "恭喜！您少交个税 ";
constexpr const char *kMore = "调整使您多交个税 ";
constexpr const char *kRefusal = "请输入正确的每月薪金及三险一金！";

struct WageCase {
    std::string Wage;
    std::string Deductions;
    std::string Tax2010;
    std::string Tax2011;
    const char *Message;
    std::string Difference;
};

TEST(WagePanel, CalculateWritesTheFourResultsInOrder) {
    const WageCase cases[] = {
        {"3500", "0", "125.00 元", "0.00 元", kLess, "125.00"},
        {"5000", "0", "325.00 元", "45.00 元", kLess, "280.00"},
        {"2000", "0", "0.00 元", "0.00 元", kLess, "0.00"},
        {"3000", "5000", "0.00 元", "0.00 元", kLess, "0.00"},
        {"38600", "0", "7775.00 元", "7775.00 元", kLess, "0.00"},
        {"38600.01", "0", "7775.00 元", "7775.00 元", kMore, "0.00"},
        {"100000", "0", "28825.00 元", "29920.00 元", kMore, "1095.00"},
        {"1000000", "0", "433725.00 元", "434920.00 元", kMore, "1195.00"},
        {"10000", "1234.56", "978.09 元", "498.09 元", kLess, "480.00"},
        {"5000.56", "0", "325.08 元", "45.06 元", kLess, "280.03"},
        // A Difference of -0.0 shows without a sign.
        {"2000", "0.001", "0.00 元", "0.00 元", kLess, "0.00"},
        {"5000.", ".0", "325.00 元", "45.00 元", kLess, "280.00"},
        // Pasted negative figures reach the button unguarded; they still compute.
        {"-5000", "0", "0.00 元", "0.00 元", kLess, "0.00"},
        {"6000", "-1000", "625.00 元", "245.00 元", kLess, "380.00"},
    };
    for (const auto &c : cases) {
        RecordingSurface surface;
        surface.Fill(Entry::Text5, c.Wage);
        surface.Fill(Entry::Text4, c.Deductions);
        WagePanel(surface).Calculate();
        const std::vector<Call> expected = {
            {Op::ReadEntry, "Text5", c.Wage},         {Op::ReadEntry, "Text4", c.Deductions},
            {Op::SetCaption, "Label29", c.Tax2010},   {Op::SetCaption, "Label28", c.Tax2011},
            {Op::SetCaption, "Label34", c.Message},   {Op::SetCaption, "Label26", c.Difference},
            {Op::SetForeColour, "Label19", "FF0000"},
        };
        EXPECT_EQ(surface.Log(), expected) << c.Wage << " / " << c.Deductions;
    }
}

TEST(WagePanel, RefusedAttemptShowsOnlyTheMessage) {
    const std::string huge = "1" + std::string(308, '0');
    const std::pair<std::string, std::string> refused[] = {
        {"", "0"},
        {"5000", ""},
        {"", ""},
        {".", "0"},
        {"5000", "."},
        {"5,000", "0"},
        {"1e5", "0"},
        {"inf", "0"},
        {"5000", "nan"},
        {"-", "0"},
        {" 5000", "0"},
        {"1" + std::string(309, '0'), "0"},
        // Both figures fit a double, but the taxable income does not.
        {huge, "-" + huge},
    };
    for (const auto &[wage, deductions] : refused) {
        RecordingSurface surface;
        surface.Fill(Entry::Text5, "5000");
        surface.Fill(Entry::Text4, "0");
        WagePanel panel(surface);
        panel.Calculate();
        surface.SetForeColour(Label::Label19, kRed);  // the mouse passed over it
        surface.Fill(Entry::Text5, wage);
        surface.Fill(Entry::Text4, deductions);
        surface.ClearLog();
        panel.Calculate();
        const std::vector<Call> onlyMessage = {{Op::ShowMessage, "", kRefusal}};
        EXPECT_EQ(surface.Changes(), onlyMessage) << wage << " / " << deductions;
        EXPECT_EQ(surface.Caption(Label::Label29), "325.00 元");
        EXPECT_EQ(surface.Caption(Label::Label26), "280.00");
        EXPECT_EQ(surface.ForeColour(Label::Label19), kRed);
        EXPECT_EQ(surface.Text(Entry::Text5), wage);
    }
}

TEST(WagePanel, ResetClearsInOrderAndTouchesNothingElse) {
    RecordingSurface surface;
    surface.Fill(Entry::Text5, "5000");
    surface.Fill(Entry::Text4, "100");
    WagePanel panel(surface);
    panel.Calculate();
    surface.SetForeColour(Label::Label19, kRed);
    surface.ClearLog();
    panel.Reset();
    const std::vector<Call> expected = {
        {Op::SetEntryText, "Text5", ""},          {Op::SetEntryText, "Text4", "0"},
        {Op::SetCaption, "Label29", ""},          {Op::SetCaption, "Label28", ""},
        {Op::SetCaption, "Label34", ""},          {Op::SetCaption, "Label26", ""},
        {Op::SetForeColour, "Label19", "FF0000"},
    };
    EXPECT_EQ(surface.Log(), expected);
    EXPECT_EQ(surface.ForeColour(Label::Label19), kBlue);
}

TEST(WagePanel, CalculatingTwiceGivesTheSameCaptions) {
    RecordingSurface surface;
    surface.Fill(Entry::Text5, "10000");
    surface.Fill(Entry::Text4, "1234.56");
    WagePanel panel(surface);
    panel.Calculate();
    const std::vector<Call> first = surface.Changes();
    surface.ClearLog();
    panel.Calculate();
    EXPECT_EQ(surface.Changes(), first);
}

}  // namespace
}  // namespace taxcalc
