// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/command_line.h"

namespace taxcalc {
namespace {

constexpr std::string_view kHelp =
    R"(用法：taxcalc-batch bonus [--rules 时期] [输入.csv] [-o 输出.csv]
      taxcalc-batch wage  [输入.csv] [-o 输出.csv]

按计算器窗口的算法批量计算一个 CSV 文件的每一行。
  bonus  年终奖：列“年终奖”（或 bonus），可选列“当月工资”（或 wage，缺省 3500）；
         添加 2011年终奖个税、税后年终奖、是否盲区、建议年终奖、建议税额、
         建议税后年终奖、2010方法个税、节省 各列。
         加 --rules 2008、2018 或 2019 时按该时期的规则计算（金额先四舍五入到分，
         半分取偶），当月工资缺省为该时期的费用扣除标准，2019 起不需要当月工资；
         添加 年终奖个税、税后年终奖、是否盲区、建议年终奖、建议税额、建议税后年终奖
         各列；2019 时如有列“全年应纳税所得额”（或 annual_taxable，不含年终奖），
         再添加 并入综合所得增加个税、建议计税方式（单独计税 或 并入综合所得）。
         --rules 2011 与不加 --rules 相同。
  wage   工资：列“每月薪金”（或 wage），可选列“三险一金”（或 deductions，缺省 0）；
         添加 调整前需纳税、调整后需纳税、结果、差额 各列。
其余各列原样保留；最后一列“错误”说明未能计算的行。
输入可为 UTF-8（带或不带 BOM）或 GB18030/GBK（Excel 在中文 Windows 上另存的 CSV）；
输出为带 BOM 的 UTF-8，CRLF 换行。不写文件名或写“-”时读标准输入、写标准输出。
  -o, --output 文件   写入该文件（先写临时文件，成功后再改名）
      --rules 时期    按发放日所在时期的年终奖规则：
                      @PERIODS@
  -h, --help          显示本说明
      --version       显示版本
退出码：0 每行都已计算；1 有的行未能计算；2 参数错误、文件无法读写或缺少所需的表头。

Usage: taxcalc-batch bonus [--rules PERIOD] [IN.csv] [-o OUT.csv]
       taxcalc-batch wage  [IN.csv] [-o OUT.csv]

Computes every row of a CSV file the way the calculator window does.
  bonus  year-end bonus: column 年终奖 (or bonus), optional 当月工资 (or wage,
         3500 when missing or empty); adds the 2011 tax, the bonus after tax, the
         blind-zone verdict and advice, the 2010-method tax and the saving.
         With --rules 2008, 2018 or 2019 the rules of that period, every amount
         first rounded to the cent (a half cent to even); the wage defaults to the
         period's monthly allowance and is not needed from 2019; adds the bonus tax,
         the bonus after tax, the blind-zone verdict and advice (年终奖个税 ...
         建议税后年终奖), and from 2019, given a column 全年应纳税所得额 (or
         annual_taxable: the year's comprehensive taxable income without the bonus),
         what joining that income adds to its tax and the better method
         (并入综合所得增加个税, 建议计税方式). --rules 2011 is the same as no --rules.
  wage   monthly wage: column 每月薪金 (or wage), optional 三险一金 (or
         deductions, 0 when missing or empty); adds the taxes before and after the
         2011 reform, less/more (少交/多交) and the difference.
Every other column is kept as it is; a last column 错误 says why a row was not
computed. Input in UTF-8 (with or without a BOM) or GB18030/GBK, as Excel saves CSV
on Chinese Windows; output in UTF-8 with a BOM and CRLF line ends. Standard input
and output where no file is named or the name is "-".
  -o, --output FILE   write FILE (through a temporary file, renamed when complete)
      --rules PERIOD  the year-end bonus rules of the period of the pay date:
                      @PERIODS@
  -h, --help          show this help
      --version       show the version
Exit status: 0 every row computed; 1 some rows refused; 2 unusable arguments, an
unreadable or unwritable file, or no usable header.
)";

constexpr std::string_view kPeriodIndent = "                      ";

// The periods as the engine lists them, so that the help can never disagree with it.
std::string PeriodLines(std::string_view indent) {
    std::string lines;
    for (const PeriodRules &rules : AllPeriods()) {
        if (!lines.empty()) {
            lines.append("\n").append(indent);
        }
        lines.append(rules.Name).append("  ").append(rules.FirstDay).append(" … ").append(rules.LastDay);
    }
    return lines;
}

std::string Substituted(std::string text, std::string_view placeholder, const std::string &value) {
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + value.size())) {
        text.replace(at, placeholder.size(), value);
    }
    return text;
}

}  // namespace

std::string_view CommandLine::HelpText() noexcept {
    static const std::string text = Substituted(std::string(kHelp), "@PERIODS@", PeriodLines(kPeriodIndent));
    return text;
}

std::optional<CommandLine> CommandLine::Parse(std::span<const std::string_view> arguments,
                                              std::string &error) {
    CommandLine line;
    // A request for help wins over whatever else is wrong with the line.
    for (const std::string_view argument : arguments) {
        if (argument == "--") {
            break;
        }
        if (argument == "-h" || argument == "--help") {
            line.What = Action::Help;
            return line;
        }
        if (argument == "--version") {
            line.What = Action::Version;
            return line;
        }
    }
    bool haveMode = false;
    bool haveInput = false;
    bool haveOutput = false;
    bool optionsEnded = false;
    const auto positional = [&](std::string_view argument) {
        if (!haveMode) {
            const std::optional<BatchMode> mode = ModeNamed(argument);
            if (!mode) {
                error = "未知的模式“" + std::string(argument) + "”：应为 " + ModeNames();
                return false;
            }
            line.Mode = *mode;
            haveMode = true;
        } else if (!haveInput) {
            line.Input = argument;
            haveInput = true;
        } else {
            error = "多余的参数“" + std::string(argument) + "”：只能读一个输入文件";
            return false;
        }
        return true;
    };
    const auto output = [&](std::string_view name) {
        if (haveOutput) {
            error = "输出文件只能指定一次";
            return false;
        }
        if (name.empty()) {
            error = "输出文件名是空的";
            return false;
        }
        line.Output = name;
        haveOutput = true;
        return true;
    };
    bool haveRules = false;
    const auto rules = [&](std::string_view name) {
        if (haveRules) {
            error = "--rules 只能指定一次";
            return false;
        }
        line.Rules = FindPeriod(name);
        if (line.Rules == nullptr) {
            error = "未知的时期“" + std::string(name) + "”：--rules 应为 " + PeriodNames();
            return false;
        }
        haveRules = true;
        return true;
    };

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            if (!positional(argument)) {
                return std::nullopt;
            }
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-o" || argument == "--output") {
            if (i + 1 == arguments.size()) {
                error = "选项 " + std::string(argument) + " 后面缺少输出文件名";
                return std::nullopt;
            }
            if (!output(arguments[++i])) {
                return std::nullopt;
            }
        } else if (argument == "--rules") {
            if (i + 1 == arguments.size()) {
                error = "选项 --rules 后面缺少时期：" + PeriodNames();
                return std::nullopt;
            }
            if (!rules(arguments[++i])) {
                return std::nullopt;
            }
        } else if (argument.starts_with("--rules=")) {
            if (!rules(argument.substr(8))) {
                return std::nullopt;
            }
        } else if (argument.starts_with("--output=") ||
                   (argument.starts_with("-o") && !argument.starts_with("--"))) {
            if (!output(argument.substr(argument.starts_with("-o") ? 2 : 9))) {
                return std::nullopt;
            }
        } else {
            error = "未知的选项“" + std::string(argument) + "”";
            return std::nullopt;
        }
    }
    if (!haveMode) {
        error = "缺少模式：" + ModeNames();
        return std::nullopt;
    }
    if (Describe(line.Mode, line.Rules, error) == nullptr) {
        return std::nullopt;
    }
    return line;
}

}  // namespace taxcalc
