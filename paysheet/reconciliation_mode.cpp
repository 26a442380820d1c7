// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/reconciliation_mode.h"

#include <optional>
#include <string>

#include "engine/annual_reconciliation.h"
#include "engine/law_rules.h"
#include "engine/number_text.h"
#include "paysheet/column_map.h"
#include "paysheet/planning_modes.h"

namespace taxcalc {
namespace {

using namespace reconciliation;

// A row without a year is reconciled by the rules of the years in which the bonus
// may be taxed on its own.
constexpr int kYearUnsaid = LastYearOf(LawRuleId::BonusSeparateTaxation);

constexpr std::array<LawRuleId, 2> kEndingRules{LawRuleId::BonusSeparateTaxation,
                                                LawRuleId::ReconciliationWaiver};

constexpr std::array<Input, 5> kIncomes{kWages, kBonus, kLabour, kAuthor, kRoyalty};

}  // namespace

std::string_view SettlementName(Settlement settlement) noexcept {
    switch (settlement) {
        case Settlement::Payment:
            return "补税";
        case Settlement::Refund:
            return "退税";
        case Settlement::Waived:
            return "免予补税";
        case Settlement::Nothing:
            break;
    }
    return "无需补退";
}

namespace {

// What the rules that have ended before the year leave, for the run's notes: empty
// while they all hold.
std::string EndedNote(int year) {
    std::string note;
    for (const LawRuleId id : kEndingRules) {
        if (InForce(id, year)) {
            continue;
        }
        const LawRule &ended = LatestOf(id);
        note.append(note.empty() ? "" : "；")
            .append(ended.Name)
            .append("已于 ")
            .append(ended.LastDay)
            .append(" 到期（")
            .append(ended.Source)
            .append("），")
            .append(std::to_string(ended.LastYear() + 1))
            .append(" 年度起")
            .append(ended.Ended);
    }
    return note;
}

}  // namespace

namespace reconciliation {

void WriteBonusMethod(const ModeResult &result, std::string &cell) {
    // Written only for a year with a bonus, which has a method to choose.
    const ReconciliationFigures &figures = FiguresOf<ReconciliationFigures>(result);
    if (figures.Bonus > 0) {
        cell = MethodName(figures.Year.Method);
    }
}

void WriteSeparateTax(const ModeResult &result, std::string &cell) {
    // No separate tax in a year whose rules join the bonus to the year's income.
    const Reconciliation &year = FiguresOf<ReconciliationFigures>(result).Year;
    cell.clear();
    if (year.SeparateAllowed) {
        AppendCents(cell, year.SeparateTax);
    }
}

void WriteResult(const ModeResult &result, std::string &cell) {
    cell = SettlementName(FiguresOf<ReconciliationFigures>(result).Year.Result);
}

}  // namespace reconciliation

RowOutcome ReconcileRow(const RowInput &input, RowFigures &figures) {
    const int taxYear = input.Numbers[kYear].value_or(kYearUnsaid);
    if (taxYear < kFirstComprehensiveYear) {
        figures.Refuse("年度", std::to_string(kFirstComprehensiveYear) + " 年以前没有综合所得年度汇算");
        return RowOutcome::Refused;
    }
    // Every input column but the year is one of the year's amounts.
    constexpr std::array<Cents ReconciliationInput::*, kYear> kAmounts{
        &ReconciliationInput::Wages,
        &ReconciliationInput::Bonus,
        &ReconciliationInput::Labour,
        &ReconciliationInput::Author,
        &ReconciliationInput::Royalty,
        &ReconciliationInput::TaxFreeIncome,
        &ReconciliationInput::SpecialDeductions,
        &ReconciliationInput::SpecialAdditionalDeductions,
        &ReconciliationInput::OtherDeductions,
        &ReconciliationInput::Donations,
        &ReconciliationInput::TaxRelief,
        &ReconciliationInput::TaxPaid,
    };
    ReconciliationInput year{};
    for (std::size_t column = 0; column < kAmounts.size(); ++column) {
        year.*kAmounts[column] = input.InCents[column].value_or(0);
    }
    const std::optional<Reconciliation> settled = Reconcile(year, taxYear);
    if (!settled) {
        return RowOutcome::TooLarge;
    }
    figures.Result = ReconciliationFigures{*settled, year.Bonus, year.TaxPaid};
    figures.Waived = settled->Result == Settlement::Waived;
    figures.Note = EndedNote(taxYear);
    return RowOutcome::Computed;
}

bool CheckReconcileHeader(ColumnMap &columns, const CsvRecord & /*header*/, std::string &error) {
    for (const Input income : kIncomes) {
        if (columns.Column(income) != ColumnMap::kMissing) {
            return true;
        }
    }
    error = "表头中没有收入列（工资薪金收入、全年一次性奖金、劳务报酬收入、稿酬收入或特许权使用费收入）";
    return false;
}

}  // namespace taxcalc
