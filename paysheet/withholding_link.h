// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// What links one employee's months in the withholding mode: kept in each row's
// RowContext, worked out once for the whole table.
#pragma once

#include <cstdint>

#include "engine/cumulative_withholding.h"

namespace taxcalc {

namespace withholding {

// Why the other rows refuse a row.
enum Fault : std::uint8_t {
    kNone,
    kNoKey,             // the cell that tells the employee is empty
    kOtherYear,         // a month of another year than the file's (WithholdingCarry::TaxYear)
    kBeforeCumulation,  // a year before cumulative withholding began
    kTwoRows,           // two rows for one month
    kDisagree,          // rows that say different things of the employee (Detail: which input)
    kHiredAfterYear,
    kSixtyNotAllowed,  // Detail: 1 before the year the rule began, 0 for a hire within the year
    kBeforeHire,
    kEarlierRefused,  // an earlier month of the employee is refused (Detail: which month)
    kTooLarge,
};

}  // namespace withholding

// The employee's facts that every month of theirs shares, and the row's fault.
struct WithholdingFacts {
    withholding::Fault Fault = withholding::kNone;
    std::uint8_t Detail = 0;
    std::uint8_t StartMonth = 0;  // the first month the allowance is earned for
    // 0: left before the year; kNotLeft: has not left within it.
    std::uint8_t LeaveMonth = 0;

    static constexpr std::uint8_t kNotLeft = 13;
};

// A month's own figures, as the first look at the rows reads them.
struct ParkedMonth {
    Cents Income;
    Cents TaxFreeIncome;
    Cents SpecialDeductions;
    Cents OtherDeductions;
    Cents PersonalPensionCumulative;
    Cents Donations;
    Cents TaxRelief;
    Cents SpecialAdditionalCumulative;
};

// The amounts a row carries, one of three by where the linking stands and what the
// row is: its own figures while the months wait to be put in order, then the totals
// of the employee's months before it; for a row of another year, the file's year.
union WithholdingCarry {
    WithholdingTotals Before{};
    ParkedMonth Own;
    std::int32_t TaxYear;
};

}  // namespace taxcalc
