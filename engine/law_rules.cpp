// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// What the table of rules must be for the lookups to be sound, checked once when the
// engine is compiled.
#include "engine/law_rules.h"

namespace taxcalc {
namespace {

constexpr bool IsDay(std::string_view day) {
    if (day.size() != 10 || day[4] != '-' || day[7] != '-') {
        return false;
    }
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (day[i] < '0' || day[i] > '9') {
            return false;
        }
    }
    return true;
}

// Rows in LawRuleId order, every rule present, a rule's rows one after the other
// without overlap: LawRuleIn finds at most one row for a year, the one that holds.
constexpr bool RulesInOrder() {
    std::size_t expected = 0;
    for (std::size_t i = 0; i < kLawRules.size(); ++i) {
        const LawRule &rule = kLawRules[i];
        const auto id = static_cast<std::size_t>(rule.Id);
        if (!IsDay(rule.FirstDay) || !(rule.LastDay.empty() || IsDay(rule.LastDay)) ||
            (!rule.LastDay.empty() && rule.LastDay < rule.FirstDay) || rule.Name.empty() ||
            rule.Source.empty()) {
            return false;
        }
        // A rule that ends says what holds after it.
        const bool latest = i + 1 == kLawRules.size() || kLawRules[i + 1].Id != rule.Id;
        if (latest && rule.LastDay.empty() != rule.Ended.empty()) {
            return false;
        }
        if (id == expected) {
            ++expected;
            continue;
        }
        const LawRule &before = kLawRules[i - 1];
        // A later row of the same rule starts the year after the earlier one ends.
        if (id + 1 != expected || before.LastDay.empty() || before.LastYear() + 1 != rule.FirstYear() ||
            before.Name != rule.Name) {
            return false;
        }
    }
    return expected == kLawRuleIds;
}
static_assert(RulesInOrder());

// A quick deduction is what makes a table's tax continuous at its bounds: each row's
// is the one before plus the bound below it times the rise of the rate.
template <std::size_t N>
constexpr bool QuickDeductionsContinuous(const std::array<CentsBracket, N> &table) {
    if (table[0].QuickDeduction != 0) {
        return false;
    }
    for (std::size_t i = 1; i < N; ++i) {
        const Cents rise = table[i - 1].UpperBound * (table[i].RatePercent - table[i - 1].RatePercent);
        if (rise % 100 != 0 || table[i].QuickDeduction != table[i - 1].QuickDeduction + rise / 100) {
            return false;
        }
    }
    return table[N - 1].UpperBound == kNoBoundCents;
}
static_assert(QuickDeductionsContinuous(law::kComprehensiveYearTable));
static_assert(QuickDeductionsContinuous(law::kComprehensiveMonthTable));
static_assert(QuickDeductionsContinuous(law::kLabourPrepaymentTable));

// The month table is the year table converted exactly: no bound or quick deduction
// loses a cent to the division.
constexpr bool MonthTableExact() {
    for (std::size_t i = 0; i < law::kComprehensiveYearTable.size(); ++i) {
        const CentsBracket &year = law::kComprehensiveYearTable[i];
        const CentsBracket &month = law::kComprehensiveMonthTable[i];
        const bool last = i + 1 == law::kComprehensiveYearTable.size();
        if (month.RatePercent != year.RatePercent ||
            month.QuickDeduction * kMonthsPerYear != year.QuickDeduction ||
            (!last && month.UpperBound * kMonthsPerYear != year.UpperBound)) {
            return false;
        }
    }
    return true;
}
static_assert(MonthTableExact());
static_assert(law::kComprehensiveMonthTable[0].UpperBound == 300'000 &&
              law::kComprehensiveMonthTable[6].QuickDeduction == 1'516'000);

// The rules that end, end together with the bonus period of 2019.
static_assert(LastYearOf(LawRuleId::BonusSeparateTaxation) == 2027 &&
              LastYearOf(LawRuleId::ReconciliationWaiver) == 2027);
static_assert(kFirstComprehensiveYear == 2019 && FirstYearOf(LawRuleId::SixtyThousand) == 2021);
static_assert(LawRuleIn(LawRuleId::ChildEducation, 2022)->Values[0].Value == 100'000 &&
              LawRuleIn(LawRuleId::ChildEducation, 2023)->Values[0].Value == 200'000);
static_assert(!InForce(LawRuleId::InfantCare, 2021) && InForce(LawRuleId::InfantCare, 2022));

}  // namespace
}  // namespace taxcalc
