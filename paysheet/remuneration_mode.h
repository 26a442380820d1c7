// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The prepayment withheld on one payment of labour, author or royalty remuneration
// (劳务报酬、稿酬、特许权使用费) to a resident.
#pragma once

#include <array>

#include "paysheet/mode_description.h"

namespace taxcalc {

RowOutcome RemunerationRow(const RowInput &input, RowFigures &figures);

inline constexpr std::array<InputColumn, 2> kRemunerationInputs{{
    {"收入", "income", ColumnDefault::Required},
    {"所得项目", "item", ColumnDefault::Optional, Applies::Always, Field::Text},
}};
inline constexpr std::array<AddedColumn, 6> kRemunerationAdded{{
    {.Header = "收入额", .Write = CentsCell<&RemunerationTax::Revenue>},
    {.Header = "应纳税所得额", .Write = CentsCell<&RemunerationTax::Taxable>},
    {.Header = "预扣率", .Write = PercentCell<&RemunerationTax::RatePercent>},
    {.Header = "速算扣除数", .Write = CentsCell<&RemunerationTax::QuickDeduction>},
    {.Header = "应预扣预缴税额", .Role = ColumnRole::Tax, .Write = CentsCell<&RemunerationTax::Tax>},
    {.Header = "税后收入", .Write = CentsCell<&RemunerationTax::AfterTax>},
}};

// Every amount is rounded to the cent and none may be negative; --rules is refused.
inline constexpr ModeDescription kRemunerationMode{
    .Mode = BatchMode::Remuneration,
    .Name = "remuneration",
    .Title = "劳务报酬预扣",
    .Rules = RulesUse::Fixed,
    .Inputs = kRemunerationInputs,
    .Added = kRemunerationAdded,
    .Compute = RemunerationRow,
    .FixedPeriod = PeriodId::Y2019,
};

}  // namespace taxcalc
