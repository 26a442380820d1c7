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
    {.Chinese = "所得项目",
     .English = "item",
     .Default = ColumnDefault::Optional,
     .Kind = Field::Text,
     .Note = {"劳务报酬、稿酬或特许权使用费，空为劳务报酬",
              "劳务报酬 (labour), 稿酬 (author) or 特许权使用费 (royalty); empty is 劳务报酬"}},
}};
inline constexpr std::array<AddedColumn, 6> kRemunerationAdded{{
    {.Header = "收入额", .Write = CentsCell<&RemunerationTax::Revenue>},
    {.Header = "应纳税所得额", .Write = CentsCell<&RemunerationTax::Taxable>},
    {.Header = "预扣率", .Write = PercentCell<&RemunerationTax::RatePercent>},
    {.Header = "速算扣除数", .Write = CentsCell<&RemunerationTax::QuickDeduction>},
    {.Header = "应预扣预缴税额", .Role = ColumnRole::Tax, .Write = CentsCell<&RemunerationTax::Tax>},
    {.Header = "税后收入", .Write = CentsCell<&RemunerationTax::AfterTax>},
}};

inline constexpr std::array<Wording, 1> kRemunerationNotes{{
    {"每次支付一行。收入减除费用后为收入额，稿酬的收入额再按规定减计；应纳税所得额按预扣率表预扣预缴。",
     "One row per payment. The revenue is the income less the costs, an author's further reduced as the "
     "law says; the taxable amount is withheld at the prepayment rates."},
}};
inline constexpr std::array<Wording, 1> kRemunerationRefusals{{
    {"所得项目不是上述三种之一", "an item other than those three"},
}};
inline constexpr ModeExample kRemunerationExample{
    .Input =
        "编号,收入,所得项目\n"
        "1,3000,劳务报酬\n"
        "2,5000,稿酬\n",
    .Output =
        "编号,收入,所得项目,收入额,应纳税所得额,预扣率,速算扣除数,应预扣预缴税额,税后收入,错误\n"
        "1,3000,劳务报酬,2200.00,2200.00,20%,0.00,440.00,2560.00,\n"
        "2,5000,稿酬,4000.00,2800.00,20%,0.00,560.00,4440.00,\n",
};

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
    .EnglishTitle = "remuneration withholding",
    .Summary = {"劳务报酬、稿酬、特许权使用费的预扣预缴，每次支付一行",
                "the prepayment withheld on labour, author or royalty remuneration, one row per payment"},
    .Notes = kRemunerationNotes,
    .Refusals = kRemunerationRefusals,
    .Example = kRemunerationExample,
};

}  // namespace taxcalc
