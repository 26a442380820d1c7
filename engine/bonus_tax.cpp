// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/bracket_lookup.h"
#include "engine/tax_engine.h"

namespace taxcalc {
namespace {

// The whole base at the rate that its monthly average selects, less one monthly
// quick deduction. Both the 2011 and the 2010 method pick their row with inclusive
// bounds, the row that MonthlyTax takes for the same monthly average: a bonus whose
// average sits exactly on a bound stays in the lower bracket, as the law has it.
Amount AveragedBonusTax(std::span<const Bracket> brackets, Amount base) noexcept {
    if (!(base >= 0)) {
        return 0;
    }
    const Bracket &bracket = detail::SelectBracket(brackets, base / kMonthsPerYear);
    return RoundCents(detail::BracketTax(bracket, base));
}

}  // namespace

Amount BonusBase(Amount bonus, Amount wage, Amount allowance) noexcept {
    if (wage < allowance) {
        // The shortfall first: bonus - (allowance - wage), not (bonus - allowance) + wage.
        return RoundCents(bonus - (allowance - wage));
    }
    return RoundCents(bonus);
}

BonusTaxComparison CompareBonusTax(Amount bonus, Amount wage) noexcept {
    BonusTaxComparison result{};
    result.BonusBase2011 = BonusBase(bonus, wage, kSchedule2011.Allowance);
    result.BonusBase2010 = BonusBase(bonus, wage, kSchedule2010.Allowance);
    result.AnnualisedTax =
        result.BonusBase2011 >= 0
            ? detail::BracketTax(detail::SelectBracket(kAnnualisedBrackets, result.BonusBase2011),
                                 result.BonusBase2011)
            : 0;
    result.BonusTax2011 = AveragedBonusTax(kBrackets2011, result.BonusBase2011);
    result.BonusTax2010 = AveragedBonusTax(kBrackets2010, result.BonusBase2010);
    result.AfterTaxBonus = bonus - result.BonusTax2011;
    result.Saving = result.BonusTax2010 - result.BonusTax2011;
    return result;
}

}  // namespace taxcalc
