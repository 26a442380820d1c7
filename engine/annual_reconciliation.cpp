// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/annual_reconciliation.h"

#include <algorithm>
#include <initializer_list>

#include "engine/cumulative_withholding.h"
#include "engine/law_rules.h"
#include "engine/remuneration.h"

namespace taxcalc {
namespace {

// Labour and royalty income count at 80%; author's at 56% (80% x 70%, rounded once).
constexpr int kLabourPercent = law::kRevenuePercent;
constexpr int kAuthorPercent = law::kAuthorYearPercent;
constexpr int kRoyaltyPercent = law::kRevenuePercent;

Cents YearTableTax(Cents taxable) noexcept {
    return TableTax(YearlyBrackets(), taxable, HalfRule::AwayFromZero);
}

}  // namespace

std::optional<Reconciliation> Reconcile(const ReconciliationInput &year, int taxYear) noexcept {
    if (taxYear < kFirstComprehensiveYear || taxYear > kOpenYear) {
        return std::nullopt;
    }
    for (const Cents amount : {year.Wages, year.Bonus, year.Labour, year.Author, year.Royalty,
                               year.TaxFreeIncome, year.SpecialDeductions, year.SpecialAdditionalDeductions,
                               year.OtherDeductions, year.Donations, year.TaxRelief, year.TaxPaid}) {
        if (amount < 0 || amount > kMaxCents) {
            return std::nullopt;
        }
    }
    Reconciliation result{};
    result.Revenue = year.Wages + PercentOf(year.Labour, kLabourPercent) +
                     PercentOf(year.Author, kAuthorPercent) + PercentOf(year.Royalty, kRoyaltyPercent);
    const Cents deductions = kYearAllowance + year.SpecialDeductions + year.SpecialAdditionalDeductions +
                             year.OtherDeductions + year.Donations;
    const Cents separateTaxable = std::max<Cents>(0, result.Revenue - year.TaxFreeIncome - deductions);
    const Cents combinedTaxable =
        std::max<Cents>(0, result.Revenue + year.Bonus - year.TaxFreeIncome - deductions);
    result.SeparateAllowed = InForce(LawRuleId::BonusSeparateTaxation, taxYear);
    if (result.SeparateAllowed) {
        const PeriodRules &rules = Rules(PeriodId::Y2019);
        result.SeparateTax = YearTableTax(separateTaxable) + TaxBonus(rules, year.Bonus, rules.Allowance).Tax;
    }
    result.CombinedTax = YearTableTax(combinedTaxable);
    // Equal taxes keep the bonus on its own.
    result.Method = result.SeparateAllowed && result.CombinedTax >= result.SeparateTax
                        ? BonusMethod::Separate
                        : BonusMethod::Combined;
    const bool joined = result.Method == BonusMethod::Combined;
    result.Taxable = joined ? combinedTaxable : separateTaxable;
    result.Tax = std::max<Cents>(0, (joined ? result.CombinedTax : result.SeparateTax) - year.TaxRelief);
    result.Balance = result.Tax - year.TaxPaid;
    const Cents income = year.Wages + year.Labour + year.Author + year.Royalty + (joined ? year.Bonus : 0);
    if (result.Balance > 0) {
        const bool waived = InForce(LawRuleId::ReconciliationWaiver, taxYear) &&
                            (income <= law::kWaivedIncome || result.Balance <= law::kWaivedPayment);
        result.Result = waived ? Settlement::Waived : Settlement::Payment;
    } else {
        result.Result = result.Balance < 0 ? Settlement::Refund : Settlement::Nothing;
    }
    return result;
}

}  // namespace taxcalc
