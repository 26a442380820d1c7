// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The annual reconciliation (年度汇算) of one person's year: the year's tax with the
// bonus taxed the cheaper way, and what is left to pay or to refund.
#pragma once

#include <array>
#include <string>

#include "paysheet/mode_description.h"

namespace taxcalc {
namespace reconciliation {

enum Input : std::size_t {
    kWages,
    kBonus,
    kLabour,
    kAuthor,
    kRoyalty,
    kTaxFree,
    kSpecial,
    kSpecialAdditional,
    kOther,
    kDonations,
    kRelief,
    kPaid,
    kYear,
    kInputCount,
};

inline constexpr std::array<InputColumn, kInputCount> kInputs{{
    {"工资薪金收入", "wages", ColumnDefault::Zero},
    {"全年一次性奖金", "bonus", ColumnDefault::Zero},
    {"劳务报酬收入", "labour_income", ColumnDefault::Zero},
    {"稿酬收入", "author_income", ColumnDefault::Zero},
    {"特许权使用费收入", "royalty_income", ColumnDefault::Zero},
    {"免税收入", "tax_free_income", ColumnDefault::Zero},
    {"专项扣除", "deductions", ColumnDefault::Zero},
    {"专项附加扣除", "special_deductions", ColumnDefault::Zero},
    {"其他扣除", "other_deductions", ColumnDefault::Zero},
    {"准予扣除的捐赠额", "donations", ColumnDefault::Zero},
    {"减免税额", "tax_relief", ColumnDefault::Zero},
    {"已缴税额", "tax_paid", ColumnDefault::Zero},
    {"年度", "year", ColumnDefault::Optional, Applies::Always, Field::Year},
}};

void WriteBonusMethod(const ModeResult &result, std::string &cell);
void WriteResult(const ModeResult &result, std::string &cell);

inline constexpr std::array<AddedColumn, 8> kAdded{{
    {.Header = "综合所得收入额", .Write = CentsCell<&ReconciliationFigures::Year, &Reconciliation::Revenue>},
    {.Header = "应纳税所得额", .Write = CentsCell<&ReconciliationFigures::Year, &Reconciliation::Taxable>},
    {.Header = "单独计税应纳税额",
     .Write = CentsCell<&ReconciliationFigures::Year, &Reconciliation::SeparateTax>},
    {.Header = "并入综合所得应纳税额",
     .Write = CentsCell<&ReconciliationFigures::Year, &Reconciliation::CombinedTax>},
    {.Header = "年终奖计税方式", .Write = WriteBonusMethod},
    {.Header = "应纳税额",
     .Role = ColumnRole::Tax,
     .Write = CentsCell<&ReconciliationFigures::Year, &Reconciliation::Tax>},
    {.Header = "应补退税额",
     .Role = ColumnRole::Settlement,
     .Write = CentsCell<&ReconciliationFigures::Year, &Reconciliation::Balance>},
    {.Header = "结果", .Write = WriteResult},
}};

}  // namespace reconciliation

// "补税", "退税", "免予补税" or "无需补退", as the 结果 column writes it.
std::string_view SettlementName(Settlement settlement) noexcept;

RowOutcome ReconcileRow(const RowInput &input, RowFigures &figures);
bool CheckReconcileHeader(ColumnMap &columns, const CsvRecord &header, std::string &error);

// Every amount is rounded to the cent and none may be negative; --rules is refused.
inline constexpr ModeDescription kReconcileMode{
    .Mode = BatchMode::Reconcile,
    .Name = "reconcile",
    .Title = "年度汇算",
    .Rules = RulesUse::Fixed,
    .Inputs = reconciliation::kInputs,
    .Added = reconciliation::kAdded,
    .Compute = ReconcileRow,
    .FixedPeriod = PeriodId::Y2019,
    .CheckHeader = CheckReconcileHeader,
};

}  // namespace taxcalc
