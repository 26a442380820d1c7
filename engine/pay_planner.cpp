// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/pay_planner.h"

#include <algorithm>

#include "engine/first_reaching.h"

namespace taxcalc {
namespace {

// The smallest x that keeps at least `wanted` of itself, x - tax(x), where the tax is
// taken at the row of x / scale and is 0 for x <= 0.
//
// Up to 0 nothing is taxed and x itself is kept; no tax is negative, so no x below
// `wanted` ever keeps it. Within one row the tax grows by rate % of a cent for each
// cent of x, which rounds to a rise of 0 or 1 cent: the kept amount never falls
// there. Across a bound it may fall (the blind zones of the bonus), so the rows are
// taken in order, and the first whose top keeps enough holds the answer.
template <typename Tax>
Cents FirstKeeping(std::span<const CentsBracket> brackets, Cents scale, Cents wanted, const Tax &tax) {
    if (wanted <= 0) {
        return wanted;
    }
    const auto kept = [&tax](Cents x) { return x - tax(x); };
    // In the last row x keeps at least x x (100 - rate) % less half a cent, so this
    // x keeps more than wanted + 1/2.
    const Cents lastRate = brackets.back().RatePercent;
    const Cents enough = ((wanted + 1) * 100 + (100 - lastRate) - 1) / (100 - lastRate);
    Cents low = 1;
    for (std::size_t i = 0; i + 1 < brackets.size(); ++i) {
        const Cents high = brackets[i].UpperBound * scale;
        if (kept(high) >= wanted) {
            return FirstReaching(low, high, wanted, kept);
        }
        low = high + 1;
    }
    return FirstReaching(low, std::max(low, enough), wanted, kept);
}

}  // namespace

bool TaxesWagesMonthly(const PeriodRules &rules) noexcept {
    return !rules.ComprehensiveYear;
}

Cents WageTaxOfTaxable(const PeriodRules &rules, Cents taxable) noexcept {
    return TableTax(rules.Brackets, taxable, HalfRule::AwayFromZero);
}

std::optional<Cents> MonthlyWageTax(const PeriodRules &rules, Cents wage, Cents deductions) noexcept {
    if (!TaxesWagesMonthly(rules) || !InRange(wage) || !InRange(deductions)) {
        return std::nullopt;
    }
    return WageTaxOfTaxable(rules, wage - deductions - rules.Allowance);
}

std::optional<GrossBonus> GrossBonusForNet(const PeriodRules &rules, Cents net, Cents wage) noexcept {
    if (!InRange(net) || !InRange(wage)) {
        return std::nullopt;
    }
    // What a short wage takes off the bonus's base: the bonus is that much above its
    // base, and keeps it untaxed.
    const Cents shortfall = -BonusBaseOf(rules, 0, wage);
    const Cents base = FirstKeeping(rules.Brackets, kMonthsPerYear, net - shortfall,
                                    [&rules](Cents x) { return BonusTaxOfBase(rules, x); });
    const PeriodBonus bonus = TaxBonus(rules, base + shortfall, wage);
    return GrossBonus{base + shortfall, bonus.Tax, bonus.AfterTax};
}

std::optional<GrossWage> GrossWageForNet(const PeriodRules &rules, Cents net, Cents deductions) noexcept {
    if (!TaxesWagesMonthly(rules) || !InRange(net) || !InRange(deductions)) {
        return std::nullopt;
    }
    // The take-home is taxable - tax + allowance: the taxable part must keep at least
    // net - allowance.
    const Cents taxable = FirstKeeping(rules.Brackets, 1, net - rules.Allowance,
                                       [&rules](Cents x) { return WageTaxOfTaxable(rules, x); });
    const Cents wage = taxable + deductions + rules.Allowance;
    const Cents tax = WageTaxOfTaxable(rules, taxable);
    return GrossWage{wage, tax, wage - deductions - tax};
}

}  // namespace taxcalc
