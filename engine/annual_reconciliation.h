// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The annual reconciliation of comprehensive income (综合所得年度汇算) of a tax year
// from 2019, by the rules that the law's table holds for the year: the year's tax
// computed once; the year-end bonus taxed on its own or joined to the year's income,
// whichever costs less, while the bonus may be taxed on its own, else joined; and
// what is left to pay or refund, a payment waived while the waiver holds. Whole
// cents, each figure rounded half away from zero as it is shown.
#pragma once

#include <optional>

#include "engine/period_rules.h"

namespace taxcalc {

struct ReconciliationInput {
    Cents Wages = 0;  // without the year-end bonus
    Cents Bonus = 0;
    Cents Labour = 0;
    Cents Author = 0;
    Cents Royalty = 0;
    Cents TaxFreeIncome = 0;
    Cents SpecialDeductions = 0;
    Cents SpecialAdditionalDeductions = 0;  // the year's, 大病医疗 included
    Cents OtherDeductions = 0;              // 个人养老金 included
    Cents Donations = 0;
    Cents TaxRelief = 0;
    Cents TaxPaid = 0;  // everything withheld and prepaid in the year, the bonus's tax included
};

enum class Settlement {
    Payment,  // 补税
    Refund,   // 退税
    Waived,   // 免予补税: a payment the rules waive
    Nothing,  // 无需补退
};

struct Reconciliation {
    Cents Revenue;  // 综合所得收入额, never the bonus
    Cents Taxable;  // of the method chosen
    // Whether the year's rules let the bonus be taxed on its own; where they do not,
    // it is joined to the year's income and SeparateTax is 0.
    bool SeparateAllowed;
    Cents SeparateTax;  // the year's tax with the bonus taxed on its own, before relief
    Cents CombinedTax;  // the same with the bonus joined to the year's income
    BonusMethod Method;
    Cents Tax;      // the chosen tax less relief, never below 0
    Cents Balance;  // Tax - TaxPaid: a payment when positive, a refund when negative
    Settlement Result;
};

// The tax year `taxYear` reconciled by its rules. Nothing for a year before
// comprehensive income (kFirstComprehensiveYear) or after kOpenYear, and for an
// amount below 0 or beyond kMaxCents.
std::optional<Reconciliation> Reconcile(const ReconciliationInput &year, int taxYear) noexcept;

}  // namespace taxcalc
