// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Today's wage withholding, month by month (累计预扣): one row per employee per month,
// in the columns of the monthly payroll template, each month's figures carried from
// the employee's earlier months.
#pragma once

#include <array>
#include <atomic>
#include <string>
#include <vector>

#include "paysheet/mode_description.h"
#include "paysheet/person_columns.h"
#include "paysheet/row_links.h"

namespace taxcalc {
namespace withholding {

// The inputs by their place in kInputs.
enum Input : std::size_t {
    kIncome,
    kMonth,
    kIdNumber,
    kEmployeeId,
    kName,
    kTaxFree,
    kPension,
    kMedical,
    kUnemployment,
    kHousingFund,
    kInsurances,
    kChildren,
    kEducation,
    kMortgage,
    kRent,
    kElderly,
    kInfants,
    kSpecialAdditional,
    kPersonalPension,
    kAnnuity,
    kHealthInsurance,
    kDeferredPension,
    kOtherDeduction,
    kDonations,
    kRelief,
    kHireDate,
    kLeaveDate,
    kSixtyThousand,
    kFirstJob,
    kDeductsAllowance,
    kInputCount,
};

inline constexpr std::array<InputColumn, kInputCount> kInputs{{
    {"本期收入", "income", ColumnDefault::Required},
    {"所属月份", "month", ColumnDefault::Required, Applies::Always, Field::Month},
    kIdNumberColumn,
    kEmployeeIdColumn,
    kNameColumn,
    {"本期免税收入", "tax_free_income", ColumnDefault::Zero},
    {"基本养老保险费", "pension", ColumnDefault::Zero},
    {"基本医疗保险费", "medical", ColumnDefault::Zero},
    {"失业保险费", "unemployment", ColumnDefault::Zero},
    {"住房公积金", "housing_fund", ColumnDefault::Zero},
    {"三险一金", "deductions", ColumnDefault::Zero},
    {"累计子女教育", "children_education", ColumnDefault::Zero},
    {"累计继续教育", "continuing_education", ColumnDefault::Zero},
    {"累计住房贷款利息", "mortgage_interest", ColumnDefault::Zero},
    {"累计住房租金", "housing_rent", ColumnDefault::Zero},
    {"累计赡养老人", "elderly_support", ColumnDefault::Zero},
    {"累计3岁以下婴幼儿照护", "infant_care", ColumnDefault::Zero},
    {"累计专项附加扣除", "special_deductions", ColumnDefault::Zero},
    {"累计个人养老金", "personal_pension", ColumnDefault::Zero},
    {"企业(职业)年金", "annuity", ColumnDefault::Zero},
    {"商业健康保险", "health_insurance", ColumnDefault::Zero},
    {"税延养老保险", "deferred_pension", ColumnDefault::Zero},
    {"其他", "other_deductions", ColumnDefault::Zero},
    {"准予扣除的捐赠额", "donations", ColumnDefault::Zero},
    {"减免税额", "tax_relief", ColumnDefault::Zero},
    {"任职受雇从业日期", "hire_date", ColumnDefault::Optional, Applies::Always, Field::Date},
    {"离职日期", "leave_date", ColumnDefault::Optional, Applies::Always, Field::Date},
    {"按6万元减除", "sixty_thousand", ColumnDefault::Zero, Applies::Always, Field::YesNo},
    {"年内首次取得工资", "first_job", ColumnDefault::Zero, Applies::Always, Field::YesNo},
    {"是否扣除减除费用", "deduct_allowance", ColumnDefault::Yes, Applies::Always, Field::YesNo},
}};

inline constexpr std::array<Input, 4> kInsuranceParts{kPension, kMedical, kUnemployment, kHousingFund};
inline constexpr std::array<Input, 6> kSpecialAdditionalParts{kChildren, kEducation, kMortgage,
                                                              kRent,     kElderly,   kInfants};
inline constexpr std::array<Input, 4> kOtherParts{kAnnuity, kHealthInsurance, kDeferredPension,
                                                  kOtherDeduction};
// The employee is told by the first of these that the header has.
inline constexpr std::array<Input, 3> kKeys{kIdNumber, kEmployeeId, kName};
// What every row of one employee must say alike.
inline constexpr std::array<Input, 5> kPersonFields{kHireDate, kLeaveDate, kSixtyThousand, kFirstJob,
                                                    kDeductsAllowance};

inline constexpr std::array<AddedColumn, 15> kAdded{{
    {.Header = "累计收入", .Write = CentsCell<&WithheldMonth::Income>},
    {.Header = "累计免税收入", .Write = CentsCell<&WithheldMonth::TaxFreeIncome>},
    {.Header = "累计减除费用", .Write = CentsCell<&WithheldMonth::Allowance>},
    {.Header = "累计专项扣除", .Write = CentsCell<&WithheldMonth::SpecialDeductions>},
    {.Header = "累计专项附加扣除", .Write = CentsCell<&WithheldMonth::SpecialAdditionalDeductions>},
    {.Header = "累计其他扣除", .Write = CentsCell<&WithheldMonth::OtherDeductions>},
    {.Header = "累计准予扣除的捐赠额", .Write = CentsCell<&WithheldMonth::Donations>},
    {.Header = "累计应纳税所得额",
     .Role = ColumnRole::CumulativeTaxable,
     .Write = CentsCell<&WithheldMonth::Taxable>},
    {.Header = "预扣率", .Write = PercentCell<&WithheldMonth::RatePercent>},
    {.Header = "速算扣除数", .Write = CentsCell<&WithheldMonth::QuickDeduction>},
    {.Header = "累计应纳税额", .Write = CentsCell<&WithheldMonth::Tax>},
    {.Header = "累计减免税额", .Write = CentsCell<&WithheldMonth::TaxRelief>},
    {.Header = "累计已预扣预缴税额", .Write = CentsCell<&WithheldMonth::WithheldBefore>},
    {.Header = "本期应预扣预缴税额",
     .Role = ColumnRole::Withheld,
     .Write = CentsCell<&WithheldMonth::Withholding>},
    {.Header = "本期税后收入", .Write = CentsCell<&WithheldMonth::AfterTax>},
}};

inline constexpr std::array<Wording, 3> kNotes{{
    {"列同扣缴软件的工资薪金模板。整个文件读入后按员工逐月累计；员工由证件号码、工号或姓名中表头先有的一列区"
     "分。",
     "The columns of the withholding software's wage template. The file is read whole and each "
     "employee's months are added up in order; the employee is told by the first of 证件号码, 工号 "
     "or 姓名 that the header has."},
    {"基本养老保险费、基本医疗保险费、失业保险费、住房公积金四项可用其合计三险一金代替，六项累计专项附加扣除"
     "可用"
     "累计专项附加扣除代替，但不能既有合计又有分项。",
     "三险一金 may stand for the four insurances and the housing fund, 累计专项附加扣除 for the six "
     "cumulative special additional deductions, but a header may not have both a total and its parts."},
    {"本期应预扣预缴税额是累计应纳税额减去累计减免税额和累计已预扣预缴税额，不足时为 0：年度汇算以前不退税。",
     "This month's withholding is the cumulative tax less the cumulative relief and what the earlier "
     "months withheld, never below nought: nothing is refunded before the annual reconciliation."},
}};
inline constexpr std::array<Wording, 4> kRefusals{{
    {"区分员工的那一列是空的", "an empty cell in the column that tells the employee"},
    {"同一员工同一月份有两行，或各行的任职受雇从业日期、离职日期、按6万元减除等不一致",
     "two rows for one employee's month, or rows that say different things of the employee"},
    {"所属月份不在本表的纳税年度，或在任职受雇从业日期之前",
     "a month outside the file's tax year, or before the employee was hired"},
    {"某月未能计算时，该员工以后各月也不计算", "a refused month refuses the employee's later months"},
}};
inline constexpr ModeExample kExample{
    .Input =
        "工号,所属月份,本期收入,三险一金,累计子女教育\n"
        "7,2026-01,20000,2000,2000\n"
        "7,2026-02,20000,2000,4000\n",
    .Output =
        "工号,所属月份,本期收入,三险一金,累计子女教育,累计收入,累计免税收入,累计减除费用,累计专项扣除,"
        "累计专项附加扣除,累计其他扣除,累计准予扣除的捐赠额,累计应纳税所得额,预扣率,速算扣除数,"
        "累计应纳税额,累计减免税额,累计已预扣预缴税额,本期应预扣预缴税额,本期税后收入,错误\n"
        "7,2026-01,20000,2000,2000,20000.00,0.00,5000.00,2000.00,2000.00,0.00,0.00,11000.00,3%,0.00,"
        "330.00,0.00,0.00,330.00,17670.00,\n"
        "7,2026-02,20000,2000,4000,40000.00,0.00,10000.00,4000.00,4000.00,0.00,0.00,22000.00,3%,0.00,"
        "660.00,0.00,330.00,330.00,17670.00,\n",
};

}  // namespace withholding

RowOutcome WithholdRow(const RowInput &input, RowFigures &figures);
bool CheckWithholdHeader(ColumnMap &columns, const CsvRecord &header, std::string &error);
bool LinkWithholdMonths(std::size_t rows, const ColumnMap &columns, const RowLinks::CellText &cell,
                        const RowLinks::ReadRow &read, std::vector<RowContext> &contexts,
                        const std::atomic<bool> *cancel);

inline constexpr RowLinks kWithholdLinks{LinkWithholdMonths};

// Every amount is rounded to the cent and none may be negative; --rules is refused.
inline constexpr ModeDescription kWithholdMode{
    .Mode = BatchMode::Withhold,
    .Name = "withhold",
    .Title = "累计预扣",
    .Rules = RulesUse::Fixed,
    .Inputs = withholding::kInputs,
    .Added = withholding::kAdded,
    .Compute = WithholdRow,
    .FixedPeriod = PeriodId::Y2019,
    .Links = &kWithholdLinks,
    .CheckHeader = CheckWithholdHeader,
    .EnglishTitle = "cumulative withholding",
    .Summary = {"工资薪金按累计预扣法预扣预缴，每位员工每月一行",
                "wage withholding by the cumulative method, one row per employee per month"},
    .Notes = withholding::kNotes,
    .Refusals = withholding::kRefusals,
    .Example = withholding::kExample,
};

}  // namespace taxcalc
