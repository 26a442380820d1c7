// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/remuneration.h"

#include <algorithm>
#include <array>

namespace taxcalc {
namespace {

// Up to 4000 yuan a payment the costs are taken as 800; above it as 20%.
constexpr Cents kFlatCostLimit = 400000;
constexpr Cents kFlatCost = 80000;
constexpr int kRevenuePercent = 80;
// Author's remuneration counts at 70% of its revenue.
constexpr int kAuthorPercent = 70;
constexpr int kFlatRatePercent = 20;

constexpr std::array<CentsBracket, 3> kLabourTable{{
    {2000000, 20, 0},
    {5000000, 30, 200000},
    {kNoBoundCents, 40, 700000},
}};

}  // namespace

std::span<const CentsBracket> LabourBrackets() noexcept {
    return kLabourTable;
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
    tax.Revenue = income <= kFlatCostLimit ? std::max<Cents>(0, income - kFlatCost)
                                           : PercentOf(income, kRevenuePercent);
    tax.Taxable = kind == RemunerationKind::Author ? PercentOf(tax.Revenue, kAuthorPercent) : tax.Revenue;
    if (kind == RemunerationKind::Labour) {
        // A taxable amount of 0 reads the first row: 20%.
        const CentsBracket &row = kLabourTable[RowOf(kLabourTable, tax.Taxable)];
        tax.RatePercent = row.RatePercent;
        tax.QuickDeduction = row.QuickDeduction;
    } else {
        tax.RatePercent = kFlatRatePercent;
        tax.QuickDeduction = 0;
    }
    tax.Tax = std::max<Cents>(0, PercentOf(tax.Taxable, tax.RatePercent) - tax.QuickDeduction);
    tax.AfterTax = income - tax.Tax;
    return tax;
}

}  // namespace taxcalc
