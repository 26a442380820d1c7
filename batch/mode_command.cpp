// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/mode_command.h"

#include <algorithm>

#include "engine/number_text.h"
#include "paysheet/help_lines.h"
#include "paysheet/row_evaluator.h"

namespace taxcalc {
namespace {

constexpr std::size_t kColumnIndent = 4;

std::string Text(Wording wording, Language language) {
    return std::string(language == Language::Chinese ? wording.Chinese : wording.English);
}

// "2008、2018 或 2019" or "2008, 2018 or 2019"; with `every`, "2008、2018" or
// "2008 and 2018".
std::string PeriodList(const std::vector<const PeriodRules *> &periods, Language language,
                       bool every = false) {
    std::vector<std::string> names;
    for (const PeriodRules *period : periods) {
        names.emplace_back(period->Name);
    }
    if (language == Language::Chinese && !every) {
        return JoinedWithOr(names);
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            text += language == Language::Chinese
                        ? "、"
                        : (i + 1 < names.size() ? ", " : (every ? " and " : " or "));
        }
        text += names[i];
    }
    return text;
}

// The periods among the use's computations under which a column marked `when` is
// read or written.
std::vector<const PeriodRules *> PeriodsWhere(const std::vector<Computation> &computations, Applies when) {
    std::vector<const PeriodRules *> periods;
    for (const Computation &computation : computations) {
        if (computation.Applies(when)) {
            periods.push_back(&computation.Period());
        }
    }
    return periods;
}

std::string Yuan(Cents cents) {
    return CentsForm(cents, CentsStyle::Plain);
}

// What an empty cell stands for, in the help's words; the allowance as the periods
// of the use have it.
std::string DefaultText(const InputColumn &column, const std::vector<const PeriodRules *> &periods,
                        Language language) {
    const bool zh = language == Language::Chinese;
    switch (column.Default) {
        case ColumnDefault::Required:
            return zh ? "必需" : "required";
        case ColumnDefault::Zero:
            if (column.Kind == Field::YesNo) {
                return zh ? "空为“否”" : "否 when empty";
            }
            return zh ? "空为 0" : "0 when empty";
        case ColumnDefault::Optional:
            return zh ? "可无" : "may be left out";
        case ColumnDefault::Yes:
            return zh ? "空为“是”" : "是 when empty";
        case ColumnDefault::Allowance:
            break;
    }
    const bool same = std::all_of(periods.begin(), periods.end(), [&](const PeriodRules *period) {
        return period->Allowance == periods.front()->Allowance;
    });
    if (same) {
        const std::string amount = Yuan(periods.front()->Allowance);
        return zh ? "空为 " + amount + "（每月减除费用）" : amount + " (the monthly allowance) when empty";
    }
    std::string each;
    for (const PeriodRules *period : periods) {
        each += each.empty() ? "" : (zh ? "，" : ", ");
        each += std::string(period->Name) + (zh ? " 为 " : ": ") + Yuan(period->Allowance);
    }
    return zh ? "空为该时期的每月减除费用（" + each + "）"
              : "the period's monthly allowance when empty (" + each + ")";
}

std::string KindText(Field kind, Language language) {
    const bool zh = language == Language::Chinese;
    switch (kind) {
        case Field::Amount:
            break;
        case Field::Text:
            return zh ? "文字" : "text";
        case Field::Month:
            return zh ? "年月，如 2026-03" : "a month, e.g. 2026-03";
        case Field::Date:
            return zh ? "日期，如 2026-01-31" : "a day, e.g. 2026-01-31";
        case Field::YesNo:
            return zh ? "是或否" : "是 or 否";
        case Field::Year:
            return zh ? "四位数的年份" : "a year of four digits";
    }
    return {};
}

// "只用于 2008、2018" where the column is not read under every period of the use.
std::string WhenText(const std::vector<Computation> &computations, Applies when, Language language) {
    const std::vector<const PeriodRules *> periods = PeriodsWhere(computations, when);
    if (periods.size() == computations.size()) {
        return {};
    }
    return (language == Language::Chinese ? "只用于 " : "under ") + PeriodList(periods, language, true) +
           (language == Language::Chinese ? "" : " only");
}

// The parts joined: "a；b" or "a; b".
std::string Joined(const std::vector<std::string> &parts, Language language) {
    std::string text;
    for (const std::string &part : parts) {
        if (part.empty()) {
            continue;
        }
        text += text.empty() ? "" : (language == Language::Chinese ? "；" : "; ");
        text += part;
    }
    return text;
}

std::string NameWithAlias(const InputColumn &column) {
    return std::string(column.Chinese) + " (" + std::string(column.English) + ")";
}

bool ReadsAmounts(const ModeDescription &mode) {
    return std::any_of(mode.Inputs.begin(), mode.Inputs.end(),
                       [](const InputColumn &column) { return column.Kind == Field::Amount; });
}

// How the use rounds: the window's own methods, or each period's half-cent rule.
std::string RoundingText(const std::vector<Computation> &computations, Language language) {
    const bool zh = language == Language::Chinese;
    if (computations.front().WindowMethods()) {
        return zh ? "按计算器窗口的算法和数字格式计算"
                  : "computed by the calculator window's methods, in its number forms";
    }
    std::vector<const PeriodRules *> windowRounding;
    for (const Computation &computation : computations) {
        if (computation.Period().Rounding != HalfRule::AwayFromZero) {
            windowRounding.push_back(&computation.Period());
        }
    }
    if (windowRounding.empty()) {
        return zh ? "金额和税额都四舍五入到分"
                  : "amounts and taxes rounded to the cent, a half away from nought";
    }
    return zh ? "金额和税额舍入到分，" + PeriodList(windowRounding, language) +
                    " 与计算器窗口相同，其余四舍五入"
              : "amounts and taxes rounded to the cent, under " + PeriodList(windowRounding, language) +
                    " as the calculator window rounds, else a half away from nought";
}

}  // namespace

ModeCommand::ModeCommand(BatchMode mode) : m_mode(mode) {
    for (const ModeDescription &description : ModeDescriptions()) {
        if (description.Mode == mode) {
            m_descriptions.push_back(&description);
            m_uses.push_back({&description, {}, {}, false});
        }
    }
    // Where each choice of period goes: no --rules first, then every period in order.
    const auto place = [&](const PeriodRules *named) {
        const std::optional<Computation> computation = Computation::Resolve(mode, named);
        if (!computation) {
            return;
        }
        for (Use &use : m_uses) {
            if (use.Description != &computation->Mode()) {
                continue;
            }
            if (named == nullptr) {
                use.Unnamed = true;
            } else {
                use.Named.push_back(named);
            }
            if (std::find(use.Computations.begin(), use.Computations.end(), *computation) ==
                use.Computations.end()) {
                use.Computations.push_back(*computation);
            }
        }
    };
    place(nullptr);
    for (const PeriodRules &period : AllPeriods()) {
        place(&period);
    }
    std::erase_if(m_uses, [](const Use &use) { return use.Computations.empty(); });
}

std::string ModeCommand::Arguments(Language language) const {
    const bool zh = language == Language::Chinese;
    return std::string(TakesPeriods() ? (zh ? "[--rules 时期] " : "[--rules PERIOD] ") : "") +
           (zh ? "[输入.csv] [-o 输出.csv] [选项]" : "[IN.csv] [-o OUT.csv] [options]");
}

std::string_view ModeCommand::Summary(Language language) const noexcept {
    const Wording &summary = m_descriptions.front()->Summary;
    return language == Language::Chinese ? summary.Chinese : summary.English;
}

std::string ModeCommand::UseHeading(const Use &use, Language language) const {
    const bool zh = language == Language::Chinese;
    std::string heading;
    if (use.Unnamed) {
        const std::string period(use.Computations.front().Period().Name);
        heading = zh ? "不加 --rules（按 " + period + "）" : "without --rules (" + period + ")";
    }
    if (!use.Named.empty()) {
        heading += heading.empty() ? "" : (zh ? "，或 " : ", or ");
        heading += (zh ? "--rules " : "with --rules ") + PeriodList(use.Named, language);
    }
    return heading;
}

std::string ModeCommand::Columns(const Use &use) const {
    const ModeDescription &mode = *use.Description;
    std::size_t width = 0;
    for (const InputColumn &column : mode.Inputs) {
        width = std::max(width, DisplayWidth(NameWithAlias(column)) + 2);
    }
    width = std::min<std::size_t>(width, 36);
    std::string text;
    for (const InputColumn &column : mode.Inputs) {
        const std::vector<const PeriodRules *> periods = PeriodsWhere(use.Computations, column.When);
        if (periods.empty()) {
            continue;
        }
        const std::string lead = std::string(kColumnIndent, ' ') + Padded(NameWithAlias(column), width);
        const std::size_t indent = kColumnIndent + width;
        for (const Language language : {Language::Chinese, Language::English}) {
            const std::string said =
                Joined({DefaultText(column, periods, language), KindText(column.Kind, language),
                        WhenText(use.Computations, column.When, language), Text(column.Note, language)},
                       language);
            text += Wrapped(language == Language::Chinese ? lead : std::string(indent, ' '), said, indent);
        }
    }
    return text;
}

std::string ModeCommand::Added(const Use &use) const {
    const ModeDescription &mode = *use.Description;
    std::string always;
    std::string text;
    for (const AddedColumn &added : mode.Added) {
        const std::vector<const PeriodRules *> periods = PeriodsWhere(use.Computations, added.When);
        if (periods.empty()) {
            continue;
        }
        std::vector<std::string> zh;
        std::vector<std::string> en;
        if (periods.size() != use.Computations.size()) {
            zh.push_back(WhenText(use.Computations, added.When, Language::Chinese));
            en.push_back(WhenText(use.Computations, added.When, Language::English));
        }
        if (added.NeedsInput) {
            const std::string_view needed = mode.Inputs[*added.NeedsInput].Chinese;
            zh.push_back("表头有" + std::string(needed) + "列时");
            en.push_back("where the header has " + std::string(needed));
        }
        if (zh.empty()) {
            always += always.empty() ? "" : "、";
            always += added.Header;
            continue;
        }
        text += Wrapped(std::string(kColumnIndent, ' ') + std::string(added.Header) + "（",
                        Joined(zh, Language::Chinese) + " / " + Joined(en, Language::English) + "）",
                        kColumnIndent + 2);
    }
    return Wrapped(std::string(kColumnIndent, ' '), always, kColumnIndent, true) + text;
}

std::string ModeCommand::Refusals() const {
    std::vector<Wording> owned;
    std::vector<std::pair<std::string, std::string>> lines;
    if (std::any_of(m_descriptions.begin(), m_descriptions.end(),
                    [](const ModeDescription *mode) { return ReadsAmounts(*mode); })) {
        lines.emplace_back("负数（舍入到分后小于 0）",
                           "negative amounts (below nought once rounded to the cent)");
    }
    if (!TakesPeriods()) {
        lines.emplace_back("--rules：本模式不接受", "--rules: the mode takes none");
    }
    for (const PeriodRules &period : AllPeriods()) {
        Computation::Refusal why{};
        if (Computation::Resolve(m_mode, &period, why) || why != Computation::Refusal::PeriodRefused) {
            continue;
        }
        for (const ModeDescription *mode : m_descriptions) {
            if (!mode->PeriodRefusal.empty()) {
                const std::string name(period.Name);
                lines.emplace_back("--rules " + name + "：" + std::string(mode->PeriodRefusal),
                                   "--rules " + name + ": " + std::string(mode->PeriodRefusalEnglish));
                break;
            }
        }
    }
    for (const ModeDescription *mode : m_descriptions) {
        for (const Wording &refusal : mode->Refusals) {
            lines.emplace_back(refusal.Chinese, refusal.English);
        }
    }
    std::string text;
    for (const auto &[zh, en] : lines) {
        text += Wrapped("  ", zh, 4);
        text += Wrapped("    ", en, 4);
    }
    return text;
}

std::string ModeCommand::Examples() const {
    std::string text;
    for (const ModeDescription *mode : m_descriptions) {
        const ModeExample &example = mode->Example;
        if (example.Input.empty()) {
            continue;
        }
        std::string rules;
        if (example.Rules) {
            rules = " --rules " + std::string(Rules(*example.Rules).Name);
        }
        text += text.empty() ? "" : "\n";
        text += "  taxcalc-batch " + std::string(mode->Name) + rules + " 输入.csv\n";
        text += "  输入.csv / IN.csv:\n";
        for (std::string_view rest = example.Input; !rest.empty();) {
            const std::size_t end = rest.find('\n');
            text += "    " + std::string(rest.substr(0, end)) + "\n";
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        }
        text += "  输出 / output:\n";
        for (std::string_view rest = example.Output; !rest.empty();) {
            const std::size_t end = rest.find('\n');
            text += "    " + std::string(rest.substr(0, end)) + "\n";
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        }
    }
    return text;
}

std::string ModeCommand::Help() const {
    const ModeDescription &first = *m_descriptions.front();
    std::string text = "taxcalc-batch " + std::string(Name()) + " — " + std::string(first.Title) + " / " +
                       std::string(first.EnglishTitle) + "\n";
    text += Wrapped("", AsSentence(Summary(Language::Chinese), Language::Chinese), 0);
    text += Wrapped("", AsSentence(Summary(Language::English), Language::English), 0);
    text += "\n" + UsageLine(Language::Chinese) + "\n" + UsageLine(Language::English) + "\n";
    for (const Use &use : m_uses) {
        text += "\n";
        const std::string zh = UseHeading(use, Language::Chinese);
        if (m_uses.size() > 1 || TakesPeriods()) {
            text += Wrapped("", zh + " / " + UseHeading(use, Language::English) + ":", 2);
        }
        text += Wrapped("  ", RoundingText(use.Computations, Language::Chinese) + "。", 2);
        text += Wrapped("  ",
                        AsSentence(RoundingText(use.Computations, Language::English), Language::English), 2);
        for (const Wording &note : use.Description->Notes) {
            text += Wrapped("  ", note.Chinese, 2);
            text += Wrapped("  ", note.English, 2);
        }
        text += "  读取的列（括号内为同样认得的英文列名）/ columns read (the English names match too):\n";
        text += Columns(use);
        text += "  添加的列 / columns added:\n";
        text += Added(use);
    }
    text += "\n不予计算 / refused:\n" + Refusals();
    text += "\n例 / example:\n" + Examples();
    const std::string error(RowEvaluator::kErrorHeader);
    text += "\n" + Wrapped("",
                           "其余各列原样保留，最后一列“" + error +
                               "”说明未能计算的行；通用的选项和说明见 taxcalc-batch --help。",
                           0);
    text += Wrapped("",
                    "Every other column is kept; a last column " + error +
                        " says why a row was not computed. The options and the rest: taxcalc-batch --help.",
                    0);
    return text;
}

std::string ModeCommand::Overview() const {
    const std::string name(Name());
    constexpr std::size_t indent = 16;
    std::string text;
    bool first = true;
    for (const Use &use : m_uses) {
        std::string lead = first ? "  " + Padded(name, indent - 2) : std::string(indent, ' ');
        if (m_uses.size() > 1) {
            text += Wrapped(lead, UseHeading(use, Language::Chinese) + "：", indent);
            lead = std::string(indent, ' ');
        }
        first = false;
        std::string read;
        for (const InputColumn &column : use.Description->Inputs) {
            if (!PeriodsWhere(use.Computations, column.When).empty()) {
                read += read.empty() ? "" : "、";
                read += NameWithAlias(column);
            }
        }
        text += Wrapped(lead, "读取 " + read, indent, true);
        std::string added;
        for (const AddedColumn &column : use.Description->Added) {
            if (!PeriodsWhere(use.Computations, column.When).empty()) {
                added += added.empty() ? "" : "、";
                added += column.Header;
            }
        }
        text += Wrapped(std::string(indent, ' '), "添加 " + added, indent, true);
    }
    return text;
}

}  // namespace taxcalc
