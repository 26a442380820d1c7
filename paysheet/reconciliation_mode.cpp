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

std::string_view ResultName(Settlement settlement) noexcept {
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

}  // namespace

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
    auto &cells = figures.Cells;
    cells[0] = CentsForm(settled->Revenue);
    cells[1] = CentsForm(settled->Taxable);
    cells[2] = CentsForm(settled->SeparateTax);
    cells[3] = CentsForm(settled->CombinedTax);
    if (year.Bonus > 0) {
        cells[4] = MethodName(settled->Method);
    }
    cells[5] = CentsForm(settled->Tax);
    cells[6] = CentsForm(settled->Balance);
    cells[7] = ResultName(settled->Result);
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
