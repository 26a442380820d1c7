// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/remuneration.h"

#include <algorithm>
#include <array>

#include "engine/law_rules.h"

namespace taxcalc {

std::span<const CentsBracket> LabourBrackets() noexcept {
    return law::kLabourPrepaymentTable;
}

Cents PercentOf(Cents amount, int percent) noexcept {
    return TableTax(std::array<CentsBracket, 1>{{{kNoBoundCents, percent, 0}}}, amount,
                    HalfRule::AwayFromZero);
}

std::optional<RemunerationTax> PrepayRemuneration(RemunerationKind kind, Cents income) noexcept {
    if (income < 0 || income > kMaxCents) {
        return std::nullopt;
    }
    RemunerationTax tax{};
    // Up to 4000 yuan a payment the costs are taken as 800; above it as 20%. Author's
    // remuneration counts at 70% of its revenue.
    tax.Revenue = income <= law::kFlatCostLimit ? std::max<Cents>(0, income - law::kFlatCost)
                                                : PercentOf(income, law::kRevenuePercent);
    tax.Taxable =
        kind == RemunerationKind::Author ? PercentOf(tax.Revenue, law::kAuthorRevenuePercent) : tax.Revenue;
    if (kind == RemunerationKind::Labour) {
        // A taxable amount of 0 reads the first row: 20%.
        const std::span<const CentsBracket> table = law::kLabourPrepaymentTable;
        const CentsBracket &row = table[RowOf(table, tax.Taxable)];
        tax.RatePercent = row.RatePercent;
        tax.QuickDeduction = row.QuickDeduction;
    } else {
        tax.RatePercent = law::kProportionalPrepaymentPercent;
        tax.QuickDeduction = 0;
    }
    tax.Tax = std::max<Cents>(0, PercentOf(tax.Taxable, tax.RatePercent) - tax.QuickDeduction);
    tax.AfterTax = income - tax.Tax;
    return tax;
}

}  // namespace taxcalc
