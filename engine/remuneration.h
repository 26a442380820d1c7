// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The prepayment withheld on one payment of remuneration to a resident, from 2019:
// labour (劳务报酬), author (稿酬) or royalty (特许权使用费). Whole cents, each figure
// rounded half away from zero as it is shown.
#pragma once

#include <optional>
#include <span>

#include "engine/period_rules.h"

namespace taxcalc {

enum class RemunerationKind { Labour, Author, Royalty };

struct RemunerationTax {
    Cents Revenue;  // 收入额: the income less 800, or less 20% above 4000
    Cents Taxable;  // 应纳税所得额
    int RatePercent;
    Cents QuickDeduction;
    Cents Tax;
    Cents AfterTax;
};

// The labour remuneration table (预扣率表二).
std::span<const CentsBracket> LabourBrackets() noexcept;

// Nothing for an income below 0 or beyond kMaxCents.
std::optional<RemunerationTax> PrepayRemuneration(RemunerationKind kind, Cents income) noexcept;

// amount x percent / 100, to the cent, half away from zero; 0 for amount <= 0.
Cents PercentOf(Cents amount, int percent) noexcept;

}  // namespace taxcalc
