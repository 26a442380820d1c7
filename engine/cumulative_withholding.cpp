// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/cumulative_withholding.h"

#include <algorithm>
#include <initializer_list>

namespace taxcalc {
namespace {

// a + b, nothing past the year's bound: twelve months of amounts at kMaxCents, and
// the products of the year table, stay far inside 64 bits below it.
constexpr Cents kYearBound = 16 * kMaxCents;

bool Add(Cents &sum, Cents amount) noexcept {
    sum += amount;
    return sum <= kYearBound;
}

}  // namespace

Cents CumulativeAllowance(const WithholdingPerson &person, int month) noexcept {
    if (!person.DeductsAllowance) {
        return 0;
    }
    if (person.SixtyThousand) {
        return kYearAllowance;
    }
    if (person.LeftBeforeYear) {
        return 0;
    }
    const int last = person.LeaveMonth > 0 ? std::min(month, person.LeaveMonth) : month;
    return kMonthlyAllowance * std::max(0, last - person.StartMonth + 1);
}

std::optional<WithheldMonth> WithholdMonth(const WithholdingPerson &person, const WithholdingTotals &before,
                                           const WithholdingMonth &month) noexcept {
    for (const Cents amount : {month.Income, month.TaxFreeIncome, month.SpecialDeductions,
                               month.OtherDeductions, month.PersonalPensionCumulative, month.Donations,
                               month.TaxRelief, month.SpecialAdditionalCumulative}) {
        if (!InRange(amount)) {
            return std::nullopt;
        }
    }
    WithholdingTotals after = before;
    if (!Add(after.Income, month.Income) || !Add(after.TaxFreeIncome, month.TaxFreeIncome) ||
        !Add(after.SpecialDeductions, month.SpecialDeductions) ||
        !Add(after.OtherDeductions, month.OtherDeductions) || !Add(after.Donations, month.Donations) ||
        !Add(after.TaxRelief, month.TaxRelief)) {
        return std::nullopt;
    }
    WithheldMonth figures{};
    figures.Income = after.Income;
    figures.TaxFreeIncome = after.TaxFreeIncome;
    figures.Allowance = CumulativeAllowance(person, month.Month);
    figures.SpecialDeductions = after.SpecialDeductions;
    figures.SpecialAdditionalDeductions = month.SpecialAdditionalCumulative;
    figures.OtherDeductions = after.OtherDeductions + month.PersonalPensionCumulative;
    figures.Donations = after.Donations;
    figures.Taxable = std::max<Cents>(0, figures.Income - figures.TaxFreeIncome - figures.Allowance -
                                             figures.SpecialDeductions - figures.SpecialAdditionalDeductions -
                                             figures.OtherDeductions - figures.Donations);
    // A taxable income of 0 reads the first row: 3% and no quick deduction.
    const CentsBracket &row = YearlyBrackets()[RowOf(YearlyBrackets(), figures.Taxable)];
    figures.RatePercent = row.RatePercent;
    figures.QuickDeduction = row.QuickDeduction;
    figures.Tax = TableTax(YearlyBrackets(), figures.Taxable, HalfRule::AwayFromZero);
    figures.TaxRelief = after.TaxRelief;
    figures.WithheldBefore = before.Withheld;
    figures.Withholding = std::max<Cents>(0, figures.Tax - figures.TaxRelief - figures.WithheldBefore);
    figures.AfterTax = month.Income - month.SpecialDeductions - figures.Withholding;
    after.Withheld = before.Withheld + figures.Withholding;
    figures.After = after;
    return figures;
}

}  // namespace taxcalc
