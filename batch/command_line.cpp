// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/command_line.h"

namespace taxcalc {
namespace {

constexpr std::string_view kHelp =
    R"(用法：taxcalc-batch bonus [输入.csv] [-o 输出.csv]
      taxcalc-batch wage  [输入.csv] [-o 输出.csv]

按计算器窗口的算法批量计算一个 CSV 文件的每一行。
  bonus  年终奖：列“年终奖”（或 bonus），可选列“当月工资”（或 wage，缺省 3500）；
         添加 2011年终奖个税、税后年终奖、是否盲区、建议年终奖、建议税额、
         建议税后年终奖、2010方法个税、节省 各列。
  wage   工资：列“每月薪金”（或 wage），可选列“三险一金”（或 deductions，缺省 0）；
         添加 调整前需纳税、调整后需纳税、结果、差额 各列。
其余各列原样保留；最后一列“错误”说明未能计算的行。
输入可为 UTF-8（带或不带 BOM）或 GB18030/GBK（Excel 在中文 Windows 上另存的 CSV）；
输出为带 BOM 的 UTF-8，CRLF 换行。不写文件名或写“-”时读标准输入、写标准输出。
  -o, --output 文件   写入该文件（先写临时文件，成功后再改名）
  -h, --help          显示本说明
      --version       显示版本
退出码：0 每行都已计算；1 有的行未能计算；2 参数错误、文件无法读写或缺少所需的表头。

Usage: taxcalc-batch bonus [IN.csv] [-o OUT.csv]
       taxcalc-batch wage  [IN.csv] [-o OUT.csv]

Computes every row of a CSV file the way the calculator window does.
  bonus  year-end bonus: column 年终奖 (or bonus), optional 当月工资 (or wage,
         3500 when missing or empty); adds the 2011 tax, the bonus after tax, the
         blind-zone verdict and advice, the 2010-method tax and the saving.
  wage   monthly wage: column 每月薪金 (or wage), optional 三险一金 (or
         deductions, 0 when missing or empty); adds the taxes before and after the
         2011 reform, less/more (少交/多交) and the difference.
Every other column is kept as it is; a last column 错误 says why a row was not
computed. Input in UTF-8 (with or without a BOM) or GB18030/GBK, as Excel saves CSV
on Chinese Windows; output in UTF-8 with a BOM and CRLF line ends. Standard input
and output where no file is named or the name is "-".
  -o, --output FILE   write FILE (through a temporary file, renamed when complete)
  -h, --help          show this help
      --version       show the version
Exit status: 0 every row computed; 1 some rows refused; 2 unusable arguments, an
unreadable or unwritable file, or no usable header.
)";

}  // namespace

std::string_view CommandLine::HelpText() noexcept {
    return kHelp;
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
            if (argument != "bonus" && argument != "wage") {
                error = "未知的模式“" + std::string(argument) + "”：应为 bonus 或 wage";
                return false;
            }
            line.Mode = argument == "bonus" ? BatchMode::Bonus : BatchMode::Wage;
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
        error = "缺少模式：bonus 或 wage";
        return std::nullopt;
    }
    return line;
}

}  // namespace taxcalc
