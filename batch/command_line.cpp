// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/command_line.h"

#include <algorithm>
#include <array>
#include <vector>

#include "engine/law_rules.h"

namespace taxcalc {
namespace {

std::string Lowered(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

// The values of --encoding and --delimiter; false, saying why, for any other.
bool TakeValue(CommandLine &line, bool encoding, std::string_view value, std::string &error) {
    const std::string lower = Lowered(value);
    if (encoding) {
        line.Encoding = lower == "utf-8" || lower == "utf8"                         ? TextEncoding::Utf8
                        : lower == "gb18030" || lower == "gbk" || lower == "gb2312" ? TextEncoding::Gb18030
                                                                                    : TextEncoding::Undecided;
        error = "未知的编码“" + std::string(value) + "”：应为 utf-8 或 gb18030";
        return line.Encoding != TextEncoding::Undecided;
    }
    line.Separator = lower == "," || lower == "comma"                    ? ','
                     : lower == ";" || lower == "semicolon"              ? ';'
                     : lower == "tab" || lower == "\t" || lower == "\\t" ? '\t'
                                                                         : '\0';
    error = "未知的分隔符“" + std::string(value) + "”：应为 , ; 或 tab";
    return line.Separator != '\0';
}

}  // namespace

namespace {

// What the options seen so far have set, for the ones that may be given only once.
struct Seen {
    bool Output = false;
    bool Rules = false;
};

bool TakeOutput(CommandLine &line, Seen &seen, std::string_view name, std::string &error) {
    if (seen.Output) {
        error = "输出文件只能指定一次";
        return false;
    }
    if (name.empty()) {
        error = "输出文件名是空的";
        return false;
    }
    line.Output = name;
    seen.Output = true;
    return true;
}

bool TakeRules(CommandLine &line, Seen &seen, std::string_view name, std::string &error) {
    if (seen.Rules) {
        error = "--rules 只能指定一次";
        return false;
    }
    line.Rules = FindPeriod(name);
    if (line.Rules == nullptr) {
        error = "未知的时期“" + std::string(name) + "”：--rules 应为 " + PeriodNames();
        return false;
    }
    seen.Rules = true;
    return true;
}

bool TakeEncoding(CommandLine &line, Seen & /*seen*/, std::string_view value, std::string &error) {
    return TakeValue(line, true, value, error);
}

bool TakeDelimiter(CommandLine &line, Seen & /*seen*/, std::string_view value, std::string &error) {
    return TakeValue(line, false, value, error);
}

bool TakeInPlace(CommandLine &line, Seen & /*seen*/, std::string_view /*value*/, std::string & /*error*/) {
    line.InPlace = true;
    return true;
}

std::string NoOutputName() {
    return "输出文件名";
}
std::string NoPeriod() {
    return "时期：" + PeriodNames();
}
std::string NoValue() {
    return "取值";
}

// Every option, each spelt once: a value follows as the next argument or after "=",
// and after a short name also attached to it ("-oOUT.csv").
struct Option {
    std::string_view Short;
    std::string_view Long;
    bool (*Take)(CommandLine &line, Seen &seen, std::string_view value, std::string &error);
    std::string (*Missing)() = nullptr;  // what a missing value is called; none for a flag
};

const std::array<Option, 5> kOptions{{
    {"-o", "--output", TakeOutput, NoOutputName},
    {"", "--rules", TakeRules, NoPeriod},
    {"", "--in-place", TakeInPlace},
    {"", "--encoding", TakeEncoding, NoValue},
    {"", "--delimiter", TakeDelimiter, NoValue},
}};

// The option an argument spells, and its value where it carries one; nullptr for
// an unknown option. `next` is the argument after it, which a value may be.
const Option *Spelt(std::string_view argument, std::optional<std::string_view> &value, bool &usesNext) {
    usesNext = false;
    for (const Option &option : kOptions) {
        const bool named = argument == option.Long || (!option.Short.empty() && argument == option.Short);
        if (named) {
            usesNext = option.Missing != nullptr;
            return &option;
        }
        if (option.Missing == nullptr) {
            continue;
        }
        if (argument.starts_with(option.Long) && argument.size() > option.Long.size() &&
            argument[option.Long.size()] == '=') {
            value = argument.substr(option.Long.size() + 1);
            return &option;
        }
        if (!option.Short.empty() && argument.starts_with(option.Short) && !argument.starts_with("--")) {
            value = argument.substr(option.Short.size());
            return &option;
        }
    }
    return nullptr;
}

// Why the mode cannot be computed under the period named, in the command line's words.
std::string RefusalOf(BatchMode mode, const PeriodRules *named, Computation::Refusal why) {
    const ModeDescription *described = nullptr;
    for (const ModeDescription &description : ModeDescriptions()) {
        if (description.Mode == mode && (described == nullptr || !description.PeriodRefusal.empty())) {
            described = &description;
        }
    }
    const std::string name(described->Name);
    if (why == Computation::Refusal::TakesNoPeriod) {
        return name + " 模式不接受 --rules；--rules 用于 " + ModeNamesTakingPeriods() + "，时期为 " +
               PeriodNames();
    }
    std::vector<std::string> fitting;
    for (const PeriodRules *period : Computation::ChoosablePeriods(mode)) {
        fitting.emplace_back(period->Name);
    }
    const std::string_view period = named != nullptr ? named->Name : Rules(PeriodId::Y2011).Name;
    return name + " 模式不适用于 " + std::string(period) + "：" + std::string(described->PeriodRefusal) +
           "；可用 --rules " + JoinedWithOr(fitting);
}

// rules [YEAR]: a year of four digits from the first of comprehensive income.
std::optional<CommandLine> ParseRules(std::span<const std::string_view> arguments, std::string &error) {
    CommandLine line;
    line.What = CommandLine::Action::Rules;
    if (arguments.size() > 1) {
        error = "多余的参数“" + std::string(arguments[1]) + "”：rules 后面只能写一个年度";
        return std::nullopt;
    }
    if (arguments.empty()) {
        return line;
    }
    const std::string_view year = arguments.front();
    if (year.size() != 4 ||
        !std::all_of(year.begin(), year.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        error = "年度“" + std::string(year) + "”应为四位数字（如 2026）";
        return std::nullopt;
    }
    line.RulesYear = std::stoi(std::string(year));
    if (*line.RulesYear < kFirstComprehensiveYear) {
        error = "综合所得的规定自 " + std::to_string(kFirstComprehensiveYear) + " 年度起施行，没有 " +
                std::string(year) + " 年度的规定可列";
        return std::nullopt;
    }
    return line;
}

}  // namespace

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
    // "help" or "help NAME": the general help or one command's.
    if (!arguments.empty() && arguments.front() == "help") {
        if (arguments.size() > 2) {
            error = "多余的参数“" + std::string(arguments[2]) + "”：taxcalc-batch help 只接受一个模式或命令";
            return std::nullopt;
        }
        line.What = Action::Help;
        if (arguments.size() == 2) {
            line.Topic = Command::Named(arguments[1]);
            if (line.Topic == nullptr) {
                error = "没有“" + std::string(arguments[1]) + "”这个模式或命令：taxcalc-batch help 后应为 " +
                        CommandNames();
                return std::nullopt;
            }
        }
        return line;
    }
    if (!arguments.empty() && arguments.front() == "rules") {
        return ParseRules(arguments.subspan(1), error);
    }
    bool haveMode = false;
    bool haveInput = false;
    bool optionsEnded = false;
    Seen seen;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            if (!haveMode) {
                const std::optional<BatchMode> mode = ModeNamed(argument);
                if (!mode) {
                    error = "未知的模式“" + std::string(argument) + "”：应为 " + ModeNames();
                    return std::nullopt;
                }
                line.Mode = *mode;
                haveMode = true;
            } else if (!haveInput) {
                line.Input = argument;
                haveInput = true;
            } else {
                error = "多余的参数“" + std::string(argument) + "”：只能读一个输入文件";
                return std::nullopt;
            }
        } else {
            std::optional<std::string_view> value;
            bool usesNext = false;
            const Option *option = Spelt(argument, value, usesNext);
            if (option == nullptr) {
                error = "未知的选项“" + std::string(argument) + "”";
                return std::nullopt;
            }
            if (usesNext) {
                if (i + 1 == arguments.size()) {
                    error = "选项 " + std::string(argument) + " 后面缺少" + option->Missing();
                    return std::nullopt;
                }
                value = arguments[++i];
            }
            if (!option->Take(line, seen, value.value_or(std::string_view{}), error)) {
                return std::nullopt;
            }
        }
    }
    if (!haveMode) {
        error = "缺少模式：" + ModeNames();
        return std::nullopt;
    }
    Computation::Refusal why{};
    line.Computing = Computation::Resolve(line.Mode, line.Rules, why);
    if (!line.Computing) {
        error = RefusalOf(line.Mode, line.Rules, why);
        return std::nullopt;
    }
    if (line.InPlace && (line.Input == "-" || seen.Output)) {
        error =
            line.Input == "-" ? "--in-place 需要输入文件名" : "--in-place 写回输入文件，不能再用 -o 指定输出";
        return std::nullopt;
    }
    if (line.InPlace) {
        line.Output = line.Input;
    }
    error.clear();
    return line;
}

}  // namespace taxcalc
