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
    {.Chinese = "工资薪金收入",
     .English = "wages",
     .Default = ColumnDefault::Zero,
     .Note = {"不含年终奖", "without the year-end bonus"}},
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
    {.Chinese = "年度",
     .English = "year",
     .Default = ColumnDefault::Optional,
     .Kind = Field::Year,
     .Note = {"汇算的纳税年度", "the tax year reconciled"}},
}};

void WriteBonusMethod(const ModeResult &result, std::string &cell);
void WriteSeparateTax(const ModeResult &result, std::string &cell);
void WriteResult(const ModeResult &result, std::string &cell);

inline constexpr std::array<AddedColumn, 8> kAdded{{
    {.Header = "综合所得收入额", .Write = CentsCell<&ReconciliationFigures::Year, &Reconciliation::Revenue>},
    {.Header = "应纳税所得额", .Write = CentsCell<&ReconciliationFigures::Year, &Reconciliation::Taxable>},
    {.Header = "单独计税应纳税额", .Write = WriteSeparateTax},
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

inline constexpr std::array<Wording, 2> kNotes{{
    {"每人每年一行，表头至少要有一个收入列。全年一次性奖金单独计税或并入综合所得，取税少的一种。",
     "One row per person and year; the header has at least one income column. The bonus is taxed on its "
     "own or joined to the comprehensive income, whichever costs less."},
    {"应补退税额为正时补税，为负时退税；符合免予补税条件的写免予补税。",
     "A positive balance is to pay (补税), a negative one to refund (退税); a payment the law waives "
     "is written 免予补税."},
}};
inline constexpr std::array<Wording, 2> kRefusals{{
    {"表头没有任何收入列时，整个文件", "the whole file, where its header has no income column"},
    {"规则未及的年度", "a year that the rules do not reach"},
}};
inline constexpr ModeExample kExample{
    .Input =
        "姓名,工资薪金收入,全年一次性奖金,专项扣除,专项附加扣除,已缴税额\n"
        "张三,240000,36000,24000,24000,5000\n",
    .Output =
        "姓名,工资薪金收入,全年一次性奖金,专项扣除,专项附加扣除,已缴税额,综合所得收入额,应纳税所得额,"
        "单独计税应纳税额,并入综合所得应纳税额,年终奖计税方式,应纳税额,应补退税额,结果,错误\n"
        "张三,240000,36000,24000,24000,5000,240000.00,132000.00,11760.00,16680.00,单独计税,11760.00,"
        "6760.00,补税,\n",
};

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
    .EnglishTitle = "annual reconciliation",
    .Summary = {"综合所得年度汇算，每人每年一行：应纳税额和应补退税额",
                "the annual reconciliation of the comprehensive income, one row per person and year: the "
                "year's tax and what is left to pay or refund"},
    .Notes = reconciliation::kNotes,
    .Refusals = reconciliation::kRefusals,
    .Example = reconciliation::kExample,
};

}  // namespace taxcalc
