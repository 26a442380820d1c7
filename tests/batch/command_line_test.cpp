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
        {{}, "缺少模式：bonus 或 wage"},
        {{"in.csv"}, "未知的模式“in.csv”：应为 bonus 或 wage"},
        {{"Bonus"}, "未知的模式“Bonus”：应为 bonus 或 wage"},
        {{"bonus", "a.csv", "b.csv"}, "多余的参数“b.csv”：只能读一个输入文件"},
        {{"bonus", "-o"}, "选项 -o 后面缺少输出文件名"},
        {{"bonus", "-o", "a", "-o", "b"}, "输出文件只能指定一次"},
        {{"bonus", "--output="}, "输出文件名是空的"},
        {{"bonus", "-x"}, "未知的选项“-x”"},
        {{"bonus", "--out=a"}, "未知的选项“--out=a”"},
        {{"-o", "a"}, "缺少模式：bonus 或 wage"},
    };
    for (const Case &c : cases) {
        std::string error;
        EXPECT_FALSE(Parse(c.Arguments, error).has_value()) << testing::PrintToString(c.Arguments);
        EXPECT_EQ(error, c.Error);
    }
}

}  // namespace
}  // namespace taxcalc
