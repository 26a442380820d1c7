// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/payroll_help.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace taxcalc {
namespace {

bool Holds(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// The window's modes as its mode box offers them, typed from the window.
TEST(PayrollHelp, ListsEveryModeOfTheWindowAndEveryFormatItOpens) {
    const std::string_view help = PayrollHelpText();
    const std::size_t english = help.find("Usage: taxcalc-payroll");
    ASSERT_NE(english, std::string_view::npos);
    const std::string_view chinese = help.substr(0, english);
    const std::string_view rest = help.substr(english);
    const std::vector<std::string> titles = {"年终奖",   "工资",     "税后反推年终奖", "税后反推工资",
                                             "最优分配", "累计预扣", "劳务报酬预扣",   "年度汇算"};
    for (const std::string &title : titles) {
        EXPECT_TRUE(Holds(chinese, "  " + title + " ")) << title;
    }
    const std::vector<std::string> englishTitles = {
        "year-end bonus", "monthly wage",           "gross bonus for a net",    "gross wage for a net",
        "best split",     "cumulative withholding", "remuneration withholding", "annual reconciliation",
    };
    for (const std::string &title : englishTitles) {
        EXPECT_TRUE(Holds(rest, "  " + title + " ")) << title;
    }
    for (const std::string_view half : {chinese, rest}) {
        EXPECT_TRUE(Holds(half, "CSV"));
        EXPECT_TRUE(Holds(half, ".xlsx"));
        EXPECT_TRUE(Holds(half, ".xls ") || Holds(half, ".xls workbook") || Holds(half, ".xls 工作簿"));
        EXPECT_TRUE(Holds(half, "--help"));
        EXPECT_TRUE(Holds(half, "--version"));
    }
    EXPECT_FALSE(Holds(help, "CSV 或 .xlsx）"));
}

}  // namespace
}  // namespace taxcalc
