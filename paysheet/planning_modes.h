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
inline constexpr std::string_view kMinimumWageReason = "最低月薪高于全年收入的十二分之一";
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

inline constexpr std::array<Wording, 1> kGrossBonusNotes{{
    {"税前年终奖是税后不少于所需金额的最小年终奖，不会落在盲区。",
     "The bonus is the smallest that leaves at least the amount wanted after tax; it never falls in a "
     "blind zone."},
}};
inline constexpr ModeExample kGrossBonusExample{
    .Rules = PeriodId::Y2019,
    .Input =
        "姓名,税后年终奖\n"
        "张三,10000\n",
    .Output =
        "姓名,税后年终奖,税前年终奖,年终奖个税,实得税后年终奖,错误\n"
        "张三,10000,10309.28,309.28,10000.00,\n",
};
inline constexpr std::array<Wording, 1> kGrossWageNotes{{
    {"税前工资是税后不少于所需金额的最低月薪。",
     "The wage is the lowest that leaves at least the take-home pay wanted."},
}};
inline constexpr ModeExample kGrossWageExample{
    .Rules = PeriodId::Y2018,
    .Input =
        "姓名,税后工资,三险一金\n"
        "张三,8000,1000\n",
    .Output =
        "姓名,税后工资,三险一金,税前工资,工资个税,实得税后工资,错误\n"
        "张三,8000,1000,9100.00,100.00,8000.00,\n",
};
inline constexpr std::array<Wording, 2> kSplitNotes{{
    {"全年收入是十二个月的月薪加年终奖；逐分比较每一种月薪，专项附加扣除是全年的合计。",
     "The year's pay is twelve monthly wages and the bonus; every wage is tried to the cent, and the "
     "special additional deductions are the year's."},
    {"现在的分配已经最省时保持不变，否则取最省的分配中月薪最高的一种。",
     "The current split is kept when no other saves more, else the largest wage among the cheapest."},
}};
inline constexpr std::array<Wording, 1> kSplitRefusals{{
    {kMinimumWageReason, "a minimum wage above a twelfth of the year's pay"},
}};
inline constexpr ModeExample kSplitExample{
    .Rules = PeriodId::Y2019,
    .Input =
        "姓名,月薪,年终奖,三险一金\n"
        "张三,10000,60000,1000\n",
    .Output =
        "姓名,月薪,年终奖,三险一金,现全年个税,建议月薪,建议年终奖,建议全年个税,全年节省,计税方式,错误\n"
        "张三,10000,60000,1000,8070.00,12000.00,36000.00,5760.00,2310.00,单独计税,\n",
};

// Every amount is rounded to the cent and none may be negative.
inline constexpr ModeDescription kGrossBonusMode{
    .Mode = BatchMode::GrossBonus,
    .Name = "gross-bonus",
    .Title = "税后反推年终奖",
    .Rules = RulesUse::Periods,
    .Inputs = kGrossBonusInputs,
    .Added = kGrossBonusAdded,
    .Compute = GrossBonusRow,
    .EnglishTitle = "gross bonus for a net",
    .Summary = {"要发多少年终奖，员工才能实得某个税后金额", "the bonus to pay for a wanted amount after tax"},
    .Notes = kGrossBonusNotes,
    .Example = kGrossBonusExample,
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
    .PeriodRefusalEnglish = "wages within the year's comprehensive income are withheld cumulatively: no month has "
                            "a wage tax of its own to work back from",
    .EnglishTitle = "gross wage for a net",
    .Summary = {"要发多少月薪，员工才能实得某个税后工资",
                "the monthly wage to pay for a wanted take-home pay"},
    .Notes = kGrossWageNotes,
    .Example = kGrossWageExample,
};
inline constexpr ModeDescription kSplitMode{
    .Mode = BatchMode::Split,
    .Name = "split",
    .Title = "最优分配",
    .Rules = RulesUse::Periods,
    .Inputs = kSplitInputs,
    .Added = kSplitAdded,
    .Compute = SplitRow,
    .EnglishTitle = "best split",
    .Summary = {"全年收入不变，怎样分配月薪和年终奖全年个税最少",
                "the split of a year's pay between monthly wages and the bonus that pays the least tax"},
    .Notes = kSplitNotes,
    .Refusals = kSplitRefusals,
    .Example = kSplitExample,
};

}  // namespace taxcalc
