// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <cmath>

#include "engine/decimal_form.h"
#include "engine/tax_engine.h"

namespace taxcalc {
namespace {

// From here on the 15-digit form of an amount has no digit left for the cents.
constexpr double kDecimalFormLimit = 1e13;
// From 2^52 on every double is a whole number.
constexpr double kAllIntegers = 4503599627370496.0;

// For 1e13 <= magnitude the spacing of doubles is at least 2^-9, so the fraction
// holds at most nine binary places and fraction x 100 is exact.
double RoundBinaryToCent(double magnitude) noexcept {
    if (magnitude >= kAllIntegers) {
        return magnitude;
    }
    const double whole = std::floor(magnitude);
    const double cents = std::nearbyint((magnitude - whole) * 100.0);  // ties to even
    return whole + cents / 100.0;
}

}  // namespace

Amount RoundCents(Amount amount) noexcept {
    if (!std::isfinite(amount)) {
        return amount;
    }
    const double magnitude = std::fabs(amount);
    double rounded = 0;
    if (magnitude < kDecimalFormLimit) {
        const DecimalForm form = ToDecimalForm(magnitude);
        // A whole number of cents below 2^53 converts exactly, and the division is
        // correctly rounded: the result is the double nearest that cent.
        rounded = static_cast<double>(ScaleRounded(form, 2, HalfRule::ToEven)) / 100.0;
    } else {
        rounded = RoundBinaryToCent(magnitude);
    }
    return std::copysign(rounded, amount);
}

}  // namespace taxcalc
