// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/command_line.h"

#include <gtest/gtest.h>

namespace taxcalc {
namespace {

using Action = CommandLine::Action;

std::optional<CommandLine> Parse(std::vector<std::string_view> arguments, std::string &error) {
    return CommandLine::Parse(arguments, error);
}

TEST(CommandLine, ReadsModeFilesAndOptions) {
    struct Case {
        std::vector<std::string_view> Arguments;
        Action What;
        BatchMode Mode;
        std::string Input;
        std::string Output;
    };
    const Case cases[] = {
        {{"bonus"}, Action::Run, BatchMode::Bonus, "-", "-"},
        {{"wage", "in.csv"}, Action::Run, BatchMode::Wage, "in.csv", "-"},
        {{"bonus", "in.csv", "-o", "out.csv"}, Action::Run, BatchMode::Bonus, "in.csv", "out.csv"},
        {{"-o", "out.csv", "wage", "-"}, Action::Run, BatchMode::Wage, "-", "out.csv"},
        {{"bonus", "--output=o.csv", "i.csv"}, Action::Run, BatchMode::Bonus, "i.csv", "o.csv"},
        {{"bonus", "--output", "o.csv"}, Action::Run, BatchMode::Bonus, "-", "o.csv"},
        {{"bonus", "-oo.csv"}, Action::Run, BatchMode::Bonus, "-", "o.csv"},
        {{"bonus", "--", "-odd.csv"}, Action::Run, BatchMode::Bonus, "-odd.csv", "-"},
        {{"bonus", "-o", "-"}, Action::Run, BatchMode::Bonus, "-", "-"},
        {{"--help"}, Action::Help, BatchMode::Bonus, "-", "-"},
        {{"nonsense", "-h"}, Action::Help, BatchMode::Bonus, "-", "-"},
        {{"wage", "--version", "--bogus"}, Action::Version, BatchMode::Bonus, "-", "-"},
    };
    for (const Case &c : cases) {
        std::string error;
        const std::optional<CommandLine> line = Parse(c.Arguments, error);
        ASSERT_TRUE(line.has_value()) << testing::PrintToString(c.Arguments) << error;
        EXPECT_EQ(line->What, c.What);
        if (c.What == Action::Run) {
            EXPECT_EQ(line->Mode, c.Mode);
            EXPECT_EQ(line->Input, c.Input);
            EXPECT_EQ(line->Output, c.Output);
        }
    }
}

TEST(CommandLine, RefusesWhatItCannotRun) {
    struct Case {
        std::vector<std::string_view> Arguments;
        std::string Error;
    };
    const Case cases[] = {
        {{}, "缺少模式：bonus、wage、gross-bonus、gross-wage、split、withhold、remuneration 或 reconcile"},
        {{"in.csv"},
         "未知的模式“in.csv”：应为 bonus、wage、gross-bonus、gross-wage、split、withhold、remuneration 或 "
         "reconcile"},
        {{"Bonus"},
         "未知的模式“Bonus”：应为 bonus、wage、gross-bonus、gross-wage、split、withhold、remuneration 或 "
         "reconcile"},
        {{"bonus", "a.csv", "b.csv"}, "多余的参数“b.csv”：只能读一个输入文件"},
        {{"bonus", "-o"}, "选项 -o 后面缺少输出文件名"},
        {{"bonus", "-o", "a", "-o", "b"}, "输出文件只能指定一次"},
        {{"bonus", "--output="}, "输出文件名是空的"},
        {{"bonus", "-x"}, "未知的选项“-x”"},
        {{"bonus", "--out=a"}, "未知的选项“--out=a”"},
        {{"-o", "a"},
         "缺少模式：bonus、wage、gross-bonus、gross-wage、split、withhold、remuneration 或 reconcile"},
    };
    for (const Case &c : cases) {
        std::string error;
        EXPECT_FALSE(Parse(c.Arguments, error).has_value()) << testing::PrintToString(c.Arguments);
        EXPECT_EQ(error, c.Error);
    }
}

TEST(CommandLine, ReadsThePeriodAndRefusesOneTheModeCannotTake) {
    struct Case {
        std::vector<std::string_view> Arguments;
        std::string_view Period;  // empty: none named
        std::string Error;        // empty: accepted
    };
    const std::string periods = PeriodNames();
    const Case cases[] = {
        {{"bonus"}, "", ""},
        {{"bonus", "--rules", "2019", "in.csv"}, "2019", ""},
        {{"--rules=2008", "bonus"}, "2008", ""},
        {{"bonus", "--rules", "2011"}, "2011", ""},
        {{"bonus", "--rules", "2010"}, "", "未知的时期“2010”：--rules 应为 " + periods},
        {{"bonus", "--rules="}, "", "未知的时期“”：--rules 应为 " + periods},
        {{"bonus", "--rules"}, "", "选项 --rules 后面缺少时期：" + periods},
        {{"bonus", "--rules", "2018", "--rules", "2018"}, "", "--rules 只能指定一次"},
        {{"wage", "--rules", "2011"},
         "",
         "wage 模式不接受 --rules；--rules 用于 bonus、gross-bonus、gross-wage 或 split，时期为 " + periods},
        {{"split", "--rules", "2019"}, "2019", ""},
        {{"gross-wage"}, "", ""},
        {{"gross-wage", "--rules", "2018"}, "2018", ""},
        {{"gross-wage", "--rules", "2019"},
         "",
         "gross-wage 模式不适用于 2019：自 2019 年起工资按全年累计预扣预缴，没有单月的工资个税可以倒推；"
         "可用 --rules 2008、2011 或 2018"},
    };
    for (const Case &c : cases) {
        std::string error;
        const std::optional<CommandLine> line = Parse(c.Arguments, error);
        EXPECT_EQ(error, c.Error) << testing::PrintToString(c.Arguments);
        if (c.Error.empty()) {
            ASSERT_TRUE(line.has_value());
            EXPECT_EQ(line->Rules == nullptr ? "" : line->Rules->Name, c.Period);
        } else {
            EXPECT_FALSE(line.has_value());
        }
    }
    EXPECT_EQ(periods,
              "2008（发放日 2008-03-01 至 2011-08-31）、2011（发放日 2011-09-01 至 2018-09-30）、"
              "2018（发放日 2018-10-01 至 2018-12-31） 或 2019（发放日 2019-01-01 至 2027-12-31）");
}

TEST(CommandLine, ReadsTheRulesAndTheirYear) {
    std::string error;
    const std::optional<CommandLine> current = Parse({"rules"}, error);
    ASSERT_TRUE(current.has_value()) << error;
    EXPECT_EQ(current->What, Action::Rules);
    EXPECT_FALSE(current->RulesYear.has_value());
    for (const int year : {2019, 2026, 2028, 9999}) {
        const std::optional<CommandLine> line = Parse({"rules", std::to_string(year)}, error);
        ASSERT_TRUE(line.has_value()) << error;
        EXPECT_EQ(line->What, Action::Rules);
        EXPECT_EQ(line->RulesYear, year);
    }
    const std::pair<std::vector<std::string_view>, std::string> refused[] = {
        {{"rules", "2018"}, "综合所得的规定自 2019 年度起施行，没有 2018 年度的规定可列"},
        {{"rules", "0001"}, "综合所得的规定自 2019 年度起施行，没有 0001 年度的规定可列"},
        {{"rules", "abcd"}, "年度“abcd”应为四位数字（如 2026）"},
        {{"rules", "202"}, "年度“202”应为四位数字（如 2026）"},
        {{"rules", "20260"}, "年度“20260”应为四位数字（如 2026）"},
        {{"rules", "-2026"}, "年度“-2026”应为四位数字（如 2026）"},
        {{"rules", "+2026"}, "年度“+2026”应为四位数字（如 2026）"},
        {{"rules", ""}, "年度“”应为四位数字（如 2026）"},
        {{"rules", "2026", "2027"}, "多余的参数“2027”：rules 后面只能写一个年度"},
    };
    for (const auto &[arguments, message] : refused) {
        EXPECT_FALSE(Parse(arguments, error).has_value()) << testing::PrintToString(arguments);
        EXPECT_EQ(error, message);
    }
    // Help still wins.
    const std::optional<CommandLine> help = Parse({"rules", "--help"}, error);
    ASSERT_TRUE(help.has_value());
    EXPECT_EQ(help->What, Action::Help);
}

}  // namespace
}  // namespace taxcalc
