// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "batch/batch_help.h"
#include "batch/command.h"
#include "batch/command_line.h"
#include "paysheet/computation.h"
#include "tests/batch/test_streams.h"

namespace taxcalc {
namespace {

bool Holds(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

std::string HelpOf(std::string_view name) {
    const Command *command = Command::Named(name);
    return command == nullptr ? std::string() : command->Help();
}

// The text with its lines run together, the indentation of each gone: what a Chinese
// sentence says whatever the width of its lines.
std::string RunTogether(std::string_view text) {
    std::string joined;
    bool lineStart = false;
    for (const char c : text) {
        if (c == '\n') {
            lineStart = true;
        } else if (!(lineStart && c == ' ')) {
            lineStart = false;
            joined += c;
        }
    }
    return joined;
}

// What the tool writes, as the examples give it: no byte order mark, LF line ends.
std::string Plain(std::string written) {
    if (written.starts_with("\xEF\xBB\xBF")) {
        written.erase(0, 3);
    }
    std::string plain;
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (written[i] == '\r' && i + 1 < written.size() && written[i + 1] == '\n') {
            continue;
        }
        plain += written[i];
    }
    return plain;
}

TEST(ModeHelp, EveryModeColumnAliasAndAddedHeaderIsInTheHelpAndInTheModesOwn) {
    const std::string_view help = BatchHelpText();
    for (const ModeDescription &mode : ModeDescriptions()) {
        const std::string own = HelpOf(mode.Name);
        ASSERT_FALSE(own.empty()) << mode.Name;
        EXPECT_TRUE(Holds(help, "taxcalc-batch " + std::string(mode.Name) + " [")) << mode.Name;
        EXPECT_TRUE(Holds(help, "  " + std::string(mode.Name) + "  ")) << mode.Name;
        for (const InputColumn &column : mode.Inputs) {
            const std::string named = std::string(column.Chinese) + " (" + std::string(column.English) + ")";
            EXPECT_TRUE(Holds(help, named)) << named;
            EXPECT_TRUE(Holds(own, named)) << mode.Name << ": " << named;
        }
        for (const AddedColumn &added : mode.Added) {
            EXPECT_TRUE(Holds(help, added.Header)) << added.Header;
            EXPECT_TRUE(Holds(own, added.Header)) << mode.Name << ": " << added.Header;
        }
        EXPECT_TRUE(Holds(own, mode.Summary.Chinese)) << mode.Name;
        EXPECT_TRUE(Holds(own, mode.Title)) << mode.Name;
    }
}

TEST(ModeHelp, UsageNamesEveryModeAndCommandInBothLanguages) {
    const std::string_view help = BatchHelpText();
    const std::vector<std::string> lines = {
        "用法：taxcalc-batch bonus [--rules 时期] [输入.csv] [-o 输出.csv] [选项]\n",
        "      taxcalc-batch wage [输入.csv] [-o 输出.csv] [选项]\n",
        "      taxcalc-batch gross-bonus [--rules 时期] [输入.csv] [-o 输出.csv] [选项]\n",
        "      taxcalc-batch gross-wage [--rules 时期] [输入.csv] [-o 输出.csv] [选项]\n",
        "      taxcalc-batch split [--rules 时期] [输入.csv] [-o 输出.csv] [选项]\n",
        "      taxcalc-batch withhold [输入.csv] [-o 输出.csv] [选项]\n",
        "      taxcalc-batch remuneration [输入.csv] [-o 输出.csv] [选项]\n",
        "      taxcalc-batch reconcile [输入.csv] [-o 输出.csv] [选项]\n",
        "      taxcalc-batch help [模式]\n",
        "      taxcalc-batch rules [年度]\n",
        "Usage: taxcalc-batch bonus [--rules PERIOD] [IN.csv] [-o OUT.csv] [options]\n",
        "       taxcalc-batch withhold [IN.csv] [-o OUT.csv] [options]\n",
        "       taxcalc-batch reconcile [IN.csv] [-o OUT.csv] [options]\n",
        "       taxcalc-batch help [MODE]\n",
        "       taxcalc-batch rules [YEAR]\n",
    };
    for (const std::string &line : lines) {
        EXPECT_TRUE(Holds(help, line)) << line;
    }
    // Chinese first, then English.
    EXPECT_LT(help.find("用法："), help.find("Usage: "));
    // Not every mode computes the way the calculator window does.
    EXPECT_FALSE(Holds(help, "the way the calculator window does"));
    EXPECT_FALSE(Holds(help, "按计算器窗口的算法批量计算"));
    // No rule's amount or year typed into the help: what it says of them comes from
    // the rules (the periods' dates) or from the modes' examples.
    for (const std::string_view typed : {"3500", "2019 至 2027", "2019 to 2027", " 800", "4000", "20%"}) {
        EXPECT_FALSE(Holds(help, typed)) << typed;
    }
}

// The withholding template's columns with their English names, typed from the
// template rather than taken from the description.
TEST(ModeHelp, WithholdListsEveryColumnOfTheTemplateAndItsEnglishName) {
    const std::vector<std::pair<std::string, std::string>> columns = {
        {"所属月份", "month"},
        {"本期收入", "income"},
        {"证件号码", "id_number"},
        {"工号", "employee_id"},
        {"姓名", "name"},
        {"本期免税收入", "tax_free_income"},
        {"基本养老保险费", "pension"},
        {"基本医疗保险费", "medical"},
        {"失业保险费", "unemployment"},
        {"住房公积金", "housing_fund"},
        {"三险一金", "deductions"},
        {"累计子女教育", "children_education"},
        {"累计继续教育", "continuing_education"},
        {"累计住房贷款利息", "mortgage_interest"},
        {"累计住房租金", "housing_rent"},
        {"累计赡养老人", "elderly_support"},
        {"累计3岁以下婴幼儿照护", "infant_care"},
        {"累计专项附加扣除", "special_deductions"},
        {"累计个人养老金", "personal_pension"},
        {"企业(职业)年金", "annuity"},
        {"商业健康保险", "health_insurance"},
        {"税延养老保险", "deferred_pension"},
        {"其他", "other_deductions"},
        {"准予扣除的捐赠额", "donations"},
        {"减免税额", "tax_relief"},
        {"任职受雇从业日期", "hire_date"},
        {"离职日期", "leave_date"},
        {"按6万元减除", "sixty_thousand"},
        {"年内首次取得工资", "first_job"},
        {"是否扣除减除费用", "deduct_allowance"},
    };
    const std::string help = HelpOf("withhold");
    for (const auto &[chinese, english] : columns) {
        EXPECT_TRUE(Holds(help, chinese + " (" + english + ")")) << chinese;
    }
    const std::vector<std::string> added = {
        "累计收入",
        "累计免税收入",
        "累计减除费用",
        "累计专项扣除",
        "累计专项附加扣除",
        "累计其他扣除",
        "累计准予扣除的捐赠额",
        "累计应纳税所得额",
        "预扣率",
        "速算扣除数",
        "累计应纳税额",
        "累计减免税额",
        "累计已预扣预缴税额",
        "本期应预扣预缴税额",
        "本期税后收入",
    };
    for (const std::string &header : added) {
        EXPECT_TRUE(Holds(help, header)) << header;
    }
    EXPECT_TRUE(Holds(help, "--rules：本模式不接受"));
    EXPECT_TRUE(Holds(help, "是 when empty"));
}

TEST(ModeHelp, DefaultsAndPeriodsComeFromTheRules) {
    const std::string bonus = RunTogether(HelpOf("bonus"));
    // The window's allowance, and each period's where a short wage lowers the bonus.
    EXPECT_TRUE(Holds(bonus, "空为 3500（每月减除费用）"));
    EXPECT_TRUE(Holds(bonus, "空为该时期的每月减除费用（2008 为 2000，2018 为 5000）；只用于 2008、2018"));
    EXPECT_TRUE(Holds(bonus, "--rules 2008、2018 或 2019 / with --rules 2008, 2018 or 2019:"));
    EXPECT_TRUE(Holds(bonus, "可无；只用于 2019"));
    const std::string grossWage = RunTogether(HelpOf("gross-wage"));
    EXPECT_TRUE(Holds(grossWage, "--rules 2019："));
    EXPECT_TRUE(Holds(grossWage, "不加 --rules（按 2011），或 --rules 2008、2011 或 2018"));
    EXPECT_TRUE(Holds(HelpOf("wage"), "--rules：本模式不接受"));
    EXPECT_TRUE(Holds(RunTogether(HelpOf("split")), "最低月薪高于全年收入的十二分之一"));
    EXPECT_TRUE(Holds(RunTogether(HelpOf("remuneration")), "劳务报酬、稿酬或特许权使用费，空为劳务报酬"));
}

TEST(ModeHelp, EachExampleIsWhatTheModeWrites) {
    std::size_t examples = 0;
    for (const ModeDescription &mode : ModeDescriptions()) {
        if (mode.Example.Input.empty()) {
            continue;
        }
        ++examples;
        const PeriodRules *rules = mode.Example.Rules ? &Rules(*mode.Example.Rules) : nullptr;
        // The example is computed by the description that shows it.
        const std::optional<Computation> computation = Computation::Resolve(mode.Mode, rules);
        ASSERT_TRUE(computation.has_value()) << mode.Name;
        EXPECT_EQ(&computation->Mode(), &mode) << mode.Name;
        const test::BatchRun run = test::RunBatch(mode.Mode, mode.Example.Input, rules);
        EXPECT_EQ(run.Status, kAllComputed) << mode.Name << run.Diagnostics;
        EXPECT_EQ(Plain(run.Output), mode.Example.Output) << mode.Name;
        // And the mode's help shows it, line by line.
        const std::string help = HelpOf(mode.Name);
        for (std::string_view text : {mode.Example.Input, mode.Example.Output}) {
            while (!text.empty()) {
                const std::size_t end = text.find('\n');
                EXPECT_TRUE(Holds(help, "    " + std::string(text.substr(0, end)) + "\n")) << mode.Name;
                text.remove_prefix(end + 1);
            }
        }
    }
    EXPECT_EQ(examples, 9u);
}

TEST(ModeHelp, HelpTakesOneModeOrCommand) {
    struct Case {
        std::vector<std::string_view> Arguments;
        std::string_view Topic;  // empty: the general help
        std::string Error;       // empty: accepted
    };
    const std::string names =
        "bonus、wage、gross-bonus、gross-wage、split、withhold、remuneration、reconcile、help 或 rules";
    const Case cases[] = {
        {{"help"}, "", ""},
        {{"help", "withhold"}, "withhold", ""},
        {{"help", "rules"}, "rules", ""},
        {{"help", "help"}, "help", ""},
        {{"help", "nosuchmode"}, "", "没有“nosuchmode”这个模式或命令：taxcalc-batch help 后应为 " + names},
        {{"help", "Bonus"}, "", "没有“Bonus”这个模式或命令：taxcalc-batch help 后应为 " + names},
        {{"help", "bonus", "wage"}, "", "多余的参数“wage”：taxcalc-batch help 只接受一个模式或命令"},
        {{"help", "nosuchmode", "--help"}, "", ""},
    };
    for (const Case &c : cases) {
        std::string error;
        const std::optional<CommandLine> line = CommandLine::Parse(c.Arguments, error);
        EXPECT_EQ(error, c.Error) << testing::PrintToString(c.Arguments);
        if (!c.Error.empty()) {
            EXPECT_FALSE(line.has_value());
            continue;
        }
        ASSERT_TRUE(line.has_value());
        EXPECT_EQ(line->What, CommandLine::Action::Help);
        EXPECT_EQ(line->Topic == nullptr ? "" : line->Topic->Name(), c.Topic);
    }
}

}  // namespace
}  // namespace taxcalc
