// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/rules_command.h"

#include "paysheet/help_lines.h"

namespace taxcalc {

std::string RulesCommand::Arguments(Language language) const {
    return language == Language::Chinese ? "[年度]" : "[YEAR]";
}

std::string_view RulesCommand::Summary(Language language) const noexcept {
    return language == Language::Chinese
               ? "按一个纳税年度列出个税规则：各项的数额或税率表、起止日期和出处；不写年度时为本纳税年度"
               : "lists a tax year's rules: each one's amount or table, the dates it holds between and "
                 "its source; the current tax year when none is named";
}

std::string RulesCommand::Help() const {
    return UsageLine(Language::Chinese) + "\n" +
           Wrapped("", AsSentence(Summary(Language::Chinese), Language::Chinese), 0) + "\n" +
           UsageLine(Language::English) + "\n" +
           Wrapped("", AsSentence(Summary(Language::English), Language::English), 0);
}

}  // namespace taxcalc
