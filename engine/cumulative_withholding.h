// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Wage withholding by the cumulative method (累计预扣法), in force from 2019: each
// month the year's figures so far are taxed by the year table, and the month
// withholds what that tax exceeds the tax withheld before. Whole cents, every tax
// rounded half away from zero. Pure functions: no state, no allocation.
#pragma once

#include <optional>

#include "engine/law_rules.h"
#include "engine/period_rules.h"

namespace taxcalc {

// The monthly allowance (减除费用) and its yearly form, as the law's table has them.
inline constexpr Cents kMonthlyAllowance = law::kAllowanceMonth;
inline constexpr Cents kYearAllowance = law::kAllowanceYear;

// What an employee's earlier months leave to the next, all sums over the months so
// far at one employer.
struct WithholdingTotals {
    Cents Income = 0;
    Cents TaxFreeIncome = 0;
    Cents SpecialDeductions = 0;  // 专项扣除: the insurances and the housing fund
    Cents OtherDeductions =
        0;  // 其他扣除 of each month (annuity, health and deferred pension insurance, other)
    Cents Donations = 0;
    Cents TaxRelief = 0;
    Cents Withheld = 0;  // what this computation withheld in the earlier months

    bool operator==(const WithholdingTotals &) const = default;
};

// What holds for the employee the whole year.
struct WithholdingPerson {
    bool DeductsAllowance = true;  // 是否扣除减除费用
    // 按6万元减除: 60000 deducted from January, as the rules allow from 2021 for an
    // employee declared by the same employer all through the year before.
    bool SixtyThousand = false;
    int StartMonth = 1;  // the first month that earns the allowance
    // The month of leaving within the year; pay after it earns no allowance. 0 where
    // the employee has not left within the year.
    int LeaveMonth = 0;
    bool LeftBeforeYear = false;  // left before the year began: no allowance at all
};

// One month as the payroll declares it.
struct WithholdingMonth {
    int Month = 1;  // 1 to 12
    Cents Income = 0;
    Cents TaxFreeIncome = 0;
    Cents SpecialDeductions = 0;
    Cents OtherDeductions = 0;
    Cents PersonalPensionCumulative = 0;  // 累计个人养老金, as declared
    Cents Donations = 0;
    Cents TaxRelief = 0;
    Cents SpecialAdditionalCumulative = 0;  // 累计专项附加扣除, as declared
};

// The month's cumulative figures and what it withholds.
struct WithheldMonth {
    Cents Income;
    Cents TaxFreeIncome;
    Cents Allowance;
    Cents SpecialDeductions;
    Cents SpecialAdditionalDeductions;
    Cents OtherDeductions;  // the months' other deductions and the declared personal pension
    Cents Donations;
    Cents Taxable;
    int RatePercent;
    Cents QuickDeduction;
    Cents Tax;
    Cents TaxRelief;
    Cents WithheldBefore;
    Cents Withholding;  // this month's: never below 0, nothing is refunded before the reconciliation
    Cents AfterTax;     // the month's income less its special deductions and its withholding
    WithholdingTotals After;
};

// The allowance earned up to `month`.
Cents CumulativeAllowance(const WithholdingPerson &person, int month) noexcept;

// Nothing for an amount below 0 or beyond kMaxCents, or totals beyond what the year
// can hold.
std::optional<WithheldMonth> WithholdMonth(const WithholdingPerson &person, const WithholdingTotals &before,
                                           const WithholdingMonth &month) noexcept;

}  // namespace taxcalc
