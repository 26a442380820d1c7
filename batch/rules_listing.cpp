// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/rules_listing.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "engine/law_rules.h"

namespace taxcalc {
namespace {

// Whole yuan as "5000", else with the cents: "1234.50".
std::string YuanText(Cents cents) {
    std::string text = std::to_string(cents / kCentsPerYuan);
    if (const Cents rest = cents % kCentsPerYuan; rest != 0) {
        text.append(rest < 10 ? ".0" : ".").append(std::to_string(rest));
    }
    return text;
}

std::string ValueText(const LawValue &value) {
    return value.Kind == LawValue::Unit::Percent ? std::to_string(value.Value) + "%"
                                                 : YuanText(value.Value) + " 元";
}

std::string RightAligned(const std::string &text, std::size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string DaysText(const LawRule &rule) {
    return rule.LastDay.empty() ? std::string(rule.FirstDay) + " 起"
                                : std::string(rule.FirstDay) + " 至 " + std::string(rule.LastDay);
}

std::string ValuesText(const LawRule &rule) {
    std::string text;
    for (const LawValue &value : rule.Values) {
        text.append(text.empty() ? "" : "；").append(value.What).append(" ").append(ValueText(value));
    }
    return text;
}

// "  不超过  36000 元   3%  速算扣除数      0", one line a row, the columns aligned.
void AppendTable(std::string &out, const LawRule &rule) {
    const std::span<const CentsBracket> rows = rule.Table;
    std::size_t boundWidth = 0;
    std::size_t rateWidth = 0;
    std::size_t quickWidth = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Cents bound = i + 1 < rows.size() ? rows[i].UpperBound : rows[i - 1].UpperBound;
        boundWidth = std::max(boundWidth, YuanText(bound).size());
        rateWidth = std::max(rateWidth, std::to_string(rows[i].RatePercent).size() + 1);
        quickWidth = std::max(quickWidth, YuanText(rows[i].QuickDeduction).size());
    }
    out.append("  ").append(rule.TableOf).append("：\n");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool last = i + 1 == rows.size();
        const Cents bound = last ? rows[i - 1].UpperBound : rows[i].UpperBound;
        // 超过 is two columns narrower than 不超过.
        out.append(last ? "  超过   " : "  不超过 ")
            .append(RightAligned(YuanText(bound), boundWidth))
            .append(" 元  ")
            .append(RightAligned(std::to_string(rows[i].RatePercent) + "%", rateWidth))
            .append("  速算扣除数 ")
            .append(RightAligned(YuanText(rows[i].QuickDeduction), quickWidth))
            .append("\n");
    }
}

void AppendRule(std::string &out, const LawRule &rule) {
    out.append("\n").append(rule.Name).append("\n");
    for (const LawValue &value : rule.Values) {
        out.append("  ").append(value.What).append(" ").append(ValueText(value)).append("\n");
    }
    if (!rule.Table.empty()) {
        AppendTable(out, rule);
    }
    if (!rule.Note.empty()) {
        out.append("  ").append(rule.Note).append("\n");
    }
    out.append("  施行：").append(DaysText(rule)).append("\n");
    out.append("  依据：").append(rule.Source).append("\n");
}

// The rows of the rule before the one that holds in the year.
void AppendEarlier(std::string &out, LawRuleId id, int year) {
    for (const LawRule &rule : LawRules()) {
        if (rule.Id == id && rule.LastYear() < year) {
            out.append("  此前 ").append(DaysText(rule)).append("：").append(ValuesText(rule));
            out.append("（").append(rule.Source).append("）\n");
        }
    }
}

}  // namespace

std::string RulesListing(int year) {
    if (year < kFirstComprehensiveYear) {
        return "综合所得的规定自 " + std::to_string(kFirstComprehensiveYear) + " 年度起施行，" +
               std::to_string(year) + " 年度没有综合所得\n";
    }
    std::string out = std::to_string(year) + " 年度个人所得税综合所得的规定\n";
    std::string ended;
    std::string coming;
    for (std::size_t i = 0; i < kLawRuleIds; ++i) {
        const auto id = static_cast<LawRuleId>(i);
        if (const LawRule *rule = LawRuleIn(id, year)) {
            AppendRule(out, *rule);
            AppendEarlier(out, id, year);
        } else if (LastYearOf(id) < year) {
            const LawRule &rule = LatestOf(id);
            ended.append("\n").append(rule.Name).append("\n");
            ended.append("  已于 ").append(rule.LastDay).append(" 到期（施行：").append(DaysText(rule));
            ended.append("）\n  到期后：").append(rule.Ended).append("\n");
            ended.append("  依据：").append(rule.Source).append("\n");
        } else {
            for (const LawRule &rule : LawRules()) {
                if (rule.Id == id) {
                    coming.append("\n").append(rule.Name).append("\n");
                    coming.append("  自 ").append(rule.FirstDay).append(" 起施行\n");
                    coming.append("  依据：").append(rule.Source).append("\n");
                    break;
                }
            }
        }
    }
    if (!ended.empty()) {
        out.append("\n—— 已到期的规定 ——\n").append(ended);
    }
    if (!coming.empty()) {
        out.append("\n—— 本年度以后施行的规定 ——\n").append(coming);
    }
    return out;
}

}  // namespace taxcalc
