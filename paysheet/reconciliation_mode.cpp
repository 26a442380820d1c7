// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/reconciliation_mode.h"

#include <optional>

#include "engine/annual_reconciliation.h"
#include "engine/number_text.h"
#include "paysheet/column_map.h"
#include "paysheet/planning_modes.h"

namespace taxcalc {
namespace {

using namespace reconciliation;

// The years whose rules the reconciliation knows: from the first year of the
// comprehensive income to the last in which the bonus may be taxed on its own.
constexpr int kFirstYear = 2019;
constexpr int kLastYear = 2027;

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

namespace reconciliation {

void WriteBonusMethod(const ModeResult &result, std::string &cell) {
    // Written only for a year with a bonus, which has a method to choose.
    const ReconciliationFigures &figures = FiguresOf<ReconciliationFigures>(result);
    if (figures.Bonus > 0) {
        cell = MethodName(figures.Year.Method);
    }
}

void WriteResult(const ModeResult &result, std::string &cell) {
    cell = SettlementName(FiguresOf<ReconciliationFigures>(result).Year.Result);
}

}  // namespace reconciliation

RowOutcome ReconcileRow(const RowInput &input, RowFigures &figures) {
    if (const std::optional<std::int32_t> year = input.Numbers[kYear];
        year && (*year < kFirstYear || *year > kLastYear)) {
        figures.Refuse("年度", "只能计算 2019 至 2027 年度");
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
    const std::optional<Reconciliation> settled = Reconcile(year);
    if (!settled) {
        return RowOutcome::TooLarge;
    }
    figures.Result = ReconciliationFigures{*settled, year.Bonus, year.TaxPaid};
    figures.Waived = settled->Result == Settlement::Waived;
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
