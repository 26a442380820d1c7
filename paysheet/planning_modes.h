// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The planning modes of taxcalc-batch: the gross bonus or wage that leaves a wanted
// net, and the best split of a year's pay between wages and the bonus. Each is one
// mode description's columns and compute function, all under a period's rules.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "paysheet/mode_description.h"

namespace taxcalc {

// "单独计税" or "并入综合所得", as the bonus mode writes the advised method too.
std::string_view MethodName(BonusMethod method) noexcept;

RowOutcome GrossBonusRow(const RowInput &input, RowFigures &figures);
RowOutcome GrossWageRow(const RowInput &input, RowFigures &figures);
RowOutcome SplitRow(const RowInput &input, RowFigures &figures);

inline constexpr std::array<InputColumn, 2> kGrossBonusInputs{{
    {"税后年终奖", "net_bonus", ColumnDefault::Required},
    {"当月工资", "wage", ColumnDefault::Allowance, Applies::WageRule},
}};
inline constexpr std::array<AddedColumn, 3> kGrossBonusAdded{{
    {.Header = "税前年终奖", .Write = CentsCell<&GrossBonus::Bonus>},
    {.Header = "年终奖个税", .Role = ColumnRole::Tax, .Write = CentsCell<&GrossBonus::Tax>},
    {.Header = "实得税后年终奖", .Write = CentsCell<&GrossBonus::AfterTax>},
}};

inline constexpr std::array<InputColumn, 2> kGrossWageInputs{{
    {"税后工资", "net_wage", ColumnDefault::Required},
    {"三险一金", "deductions", ColumnDefault::Zero},
}};
inline constexpr std::array<AddedColumn, 3> kGrossWageAdded{{
    {.Header = "税前工资", .Write = CentsCell<&GrossWage::Wage>},
    {.Header = "工资个税", .Role = ColumnRole::Tax, .Write = CentsCell<&GrossWage::Tax>},
    {.Header = "实得税后工资", .Write = CentsCell<&GrossWage::TakeHome>},
}};
inline constexpr std::string_view kGrossWageRefusal =
    "自 2019 年起工资按全年累计预扣预缴，没有单月的工资个税可以倒推";

inline constexpr std::array<InputColumn, 5> kSplitInputs{{
    {"月薪", "wage", ColumnDefault::Required},
    {"年终奖", "bonus", ColumnDefault::Required},
    {"三险一金", "deductions", ColumnDefault::Zero},
    {"最低月薪", "min_wage", ColumnDefault::Zero},
    // The year's special additional deductions.
    {"专项附加扣除", "special_deductions", ColumnDefault::Zero, Applies::ComprehensiveYear},
}};
void WriteSplitMethod(const ModeResult &result, std::string &cell);

inline constexpr std::array<AddedColumn, 6> kSplitAdded{{
    {.Header = "现全年个税", .Role = ColumnRole::Tax, .Write = CentsCell<&SplitPlan::Current, &YearTax::Tax>},
    {.Header = "建议月薪", .Role = ColumnRole::Advice, .Write = CentsCell<&SplitPlan::Wage>},
    {.Header = "建议年终奖", .Role = ColumnRole::Advice, .Write = CentsCell<&SplitPlan::Bonus>},
    {.Header = "建议全年个税",
     .Role = ColumnRole::AdvisedTax,
     .Write = CentsCell<&SplitPlan::Advised, &YearTax::Tax>},
    {.Header = "全年节省", .Role = ColumnRole::Saving, .Write = CentsCell<&SplitPlan::Saving>},
    // The method is written from 2019 only.
    {.Header = "计税方式", .When = Applies::ComprehensiveYear, .Write = WriteSplitMethod},
}};

// Every amount is rounded to the cent and none may be negative.
inline constexpr ModeDescription kGrossBonusMode{
    .Mode = BatchMode::GrossBonus,
    .Name = "gross-bonus",
    .Title = "税后反推年终奖",
    .Rules = RulesUse::Periods,
    .Inputs = kGrossBonusInputs,
    .Added = kGrossBonusAdded,
    .Compute = GrossBonusRow,
};
inline constexpr ModeDescription kGrossWageMode{
    .Mode = BatchMode::GrossWage,
    .Name = "gross-wage",
    .Title = "税后反推工资",
    .Rules = RulesUse::Periods,
    .Inputs = kGrossWageInputs,
    .Added = kGrossWageAdded,
    .Compute = GrossWageRow,
    .Periods = Applies::WageRule,
    .PeriodRefusal = kGrossWageRefusal,
};
inline constexpr ModeDescription kSplitMode{
    .Mode = BatchMode::Split,
    .Name = "split",
    .Title = "最优分配",
    .Rules = RulesUse::Periods,
    .Inputs = kSplitInputs,
    .Added = kSplitAdded,
    .Compute = SplitRow,
};

}  // namespace taxcalc
