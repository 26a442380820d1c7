// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/bracket_lookup.h"
#include "engine/tax_engine.h"

namespace taxcalc {

Amount TaxableIncome(Amount wage, Amount deductions, Amount allowance) noexcept {
    // One rounding of the whole difference: rounding the wage and the deductions
    // first can move the result by a cent.
    return RoundCents((wage - allowance) - deductions);
}

Amount MonthlyTax(const Schedule &schedule, Amount taxable) noexcept {
    if (taxable < 0) {
        return 0;
    }
    return detail::BracketTax(detail::SelectBracket(schedule.Brackets, taxable), taxable);
}

WageTaxComparison CompareWageTax(Amount wage, Amount deductions) noexcept {
    WageTaxComparison result{};
    result.Taxable2011 = TaxableIncome(wage, deductions, kSchedule2011.Allowance);
    result.Taxable2010 = TaxableIncome(wage, deductions, kSchedule2010.Allowance);
    result.Tax2011 = MonthlyTax(kSchedule2011, result.Taxable2011);
    result.Tax2010 = MonthlyTax(kSchedule2010, result.Taxable2010);
    // The unrounded taxes are compared and subtracted; the display rounds once.
    result.PaysLess = result.Tax2011 <= result.Tax2010;
    result.Difference =
        result.PaysLess ? result.Tax2010 - result.Tax2011 : result.Tax2011 - result.Tax2010;
    return result;
}

}  // namespace taxcalc
