// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/showable_figures.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace taxcalc {
namespace {

bool AllFinite(std::initializer_list<Amount> amounts) noexcept {
    return std::all_of(amounts.begin(), amounts.end(), [](Amount a) { return std::isfinite(a); });
}

}  // namespace

bool ShowableFigures(const WageTaxComparison &result) noexcept {
    return AllFinite({result.Tax2010, result.Tax2011, result.Difference});
}

bool ShowableFigures(const BonusTaxComparison &result, const BonusAdvice &advice) noexcept {
    return AllFinite({result.BonusTax2010, result.BonusTax2011, result.AfterTaxBonus, result.AnnualisedTax,
                      result.Saving, advice.RecommendedBonus, advice.RecommendedTax,
                      advice.RecommendedAfterTax});
}

}  // namespace taxcalc
