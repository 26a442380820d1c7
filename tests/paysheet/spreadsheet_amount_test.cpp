// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/spreadsheet_amount.h"

#include <gtest/gtest.h>

#include <string>

namespace taxcalc {
namespace {

using Verdict = SpreadsheetAmount::Verdict;

TEST(SpreadsheetAmount, TakesWhatSpreadsheetsWrite) {
    struct Case {
        std::string Text;
        Amount Expected;
    };
    const Case cases[] = {
        {"108,001.00", 108001},
        {"1,234,567.89", 1234567.89},
        {"-1,000", -1000},
        {"+999,999", 999999},
        {"1,000.", 1000},
        {" 18001", 18001},
        {"18001\t", 18001},
        {"\u00A018001\u00A0", 18001},
        {"\u300018001\u3000", 18001},
        {"１８００１", 18001},
        {"１８，", -1},  // a full-width comma is no separator
        {"－５．５", -5.5},
        {"＋５", 5},
        {"18001元", 18001},
        {"18,001 元", 18001},
        {" １,８００.５０ 元 ", 1800.5},
        {"0", 0},
        {".5", 0.5},
        {"-0.00", 0},
        {"1" + std::string(30, '0'), 1e30},
    };
    for (const Case &c : cases) {
        Amount amount = -12345;
        const Verdict verdict = SpreadsheetAmount::Read(c.Text, amount);
        if (c.Expected == -1) {
            EXPECT_EQ(verdict, Verdict::NotANumber) << c.Text;
            continue;
        }
        EXPECT_EQ(verdict, Verdict::Number) << c.Text;
        EXPECT_EQ(amount, c.Expected) << c.Text;
    }
}

TEST(SpreadsheetAmount, RefusesEachDoubtfulFormForItsOwnReason) {
    struct Case {
        std::string Text;
        Verdict Expected;
    };
    const Case cases[] = {
        {"", Verdict::Empty},
        {" \t\u3000\u00A0", Verdict::Empty},
        {"18001,50", Verdict::Grouping},
        {"1,23", Verdict::Grouping},
        {"1234,567", Verdict::Grouping},
        {",123", Verdict::Grouping},
        {"1,,234", Verdict::Grouping},
        {"1,234,", Verdict::Grouping},
        {"1.234,56", Verdict::Grouping},
        {"1,234.567,8", Verdict::Grouping},
        {"1.8E+04", Verdict::Exponent},
        {"1e5", Verdict::Exponent},
        {"2.5e-3", Verdict::Exponent},
        {"1,234E2", Verdict::Exponent},
        {"１E５", Verdict::Exponent},
        {"1" + std::string(400, '0'), Verdict::TooLarge},
        {"-1" + std::string(400, '0') + ".5", Verdict::TooLarge},
        {"1,000" + std::string(400, '0'), Verdict::Grouping},
        {"abc", Verdict::NotANumber},
        {"e5", Verdict::NotANumber},
        {"1e", Verdict::NotANumber},
        {"元", Verdict::NotANumber},
        {"18001元元", Verdict::NotANumber},
        {"元18001", Verdict::NotANumber},
        {"1 000", Verdict::NotANumber},
        {"--5", Verdict::NotANumber},
        {"1.2.3", Verdict::NotANumber},
        {"inf", Verdict::NotANumber},
        {"nan", Verdict::NotANumber},
        {"0x10", Verdict::NotANumber},
        {"(100)", Verdict::NotANumber},
        {"¥100", Verdict::NotANumber},
        {std::string("\xEF\xBC"), Verdict::NotANumber},
    };
    for (const Case &c : cases) {
        Amount amount = 7;
        EXPECT_EQ(SpreadsheetAmount::Read(c.Text, amount), c.Expected) << c.Text;
        EXPECT_EQ(amount, 7) << c.Text;
    }
}

// Every grouping of every digit string up to seven digits: the separators are taken
// exactly where an independent rule (groups of three from the point) puts them.
TEST(SpreadsheetAmount, GroupsAreWholeThreesCountedFromThePoint) {
    for (int length = 1; length <= 7; ++length) {
        const std::string digits = std::string("9876543").substr(0, static_cast<std::size_t>(length));
        for (unsigned mask = 0; mask < (1U << (length - 1)); ++mask) {
            std::string text(1, digits[0]);
            bool proper = mask != 0;
            for (int i = 1; i < length; ++i) {
                const bool separated = (mask >> (i - 1) & 1U) != 0;
                const bool due = (length - i) % 3 == 0;
                proper = proper && separated == due;
                text += separated ? "," : "";
                text += digits[static_cast<std::size_t>(i)];
            }
            Amount amount = 0;
            const Verdict verdict = SpreadsheetAmount::Read(text, amount);
            if (mask == 0) {
                EXPECT_EQ(verdict, Verdict::Number) << text;
            } else if (proper) {
                EXPECT_EQ(verdict, Verdict::Number) << text;
                EXPECT_EQ(amount, std::stod(digits)) << text;
            } else {
                EXPECT_EQ(verdict, Verdict::Grouping) << text;
            }
        }
    }
}

}  // namespace
}  // namespace taxcalc
