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
double RoundBinaryToCent(double magnitude, HalfRule half) noexcept {
    if (magnitude >= kAllIntegers) {
        return magnitude;
    }
    const double whole = std::floor(magnitude);
    const double hundredths = (magnitude - whole) * 100.0;
    const double cents = half == HalfRule::ToEven ? std::nearbyint(hundredths) : std::round(hundredths);
    return whole + cents / 100.0;
}

// The 15-digit form lies within 5e-15 of the amount, relatively, and |amount| x 100
// within 1.2e-16 of its exact value; this margin covers both, twenty times over.
constexpr double kFormMargin = 1e-13;

// The cent nearest the 15-digit form, or a negative value where the amount lies so
// near a half cent that only the decimal form itself can tell.
double NearestCentWhereClear(double magnitude) noexcept {
    const double cents = magnitude * 100.0;
    const double whole = std::floor(cents);
    const double fraction = cents - whole;  // exact
    if (std::fabs(fraction - 0.5) <= cents * kFormMargin + kFormMargin) {
        return -1;
    }
    return fraction > 0.5 ? whole + 1 : whole;
}

}  // namespace

Amount RoundCents(Amount amount) noexcept {
    return RoundCents(amount, HalfRule::ToEven);
}

Amount RoundCents(Amount amount, HalfRule half) noexcept {
    if (!std::isfinite(amount)) {
        return amount;
    }
    const double magnitude = std::fabs(amount);
    double rounded = 0;
    if (magnitude < kDecimalFormLimit) {
        // Far from a half cent the binary value and its decimal form round alike, and
        // building the form is by far the dearest step, so it is built only near one.
        double cents = NearestCentWhereClear(magnitude);
        if (cents < 0) {
            cents = static_cast<double>(ScaleRounded(ToDecimalForm(magnitude), 2, half));
        }
        // A whole number of cents below 2^53 is exact, and the division is correctly
        // rounded: the result is the double nearest that cent.
        rounded = cents / 100.0;
    } else {
        rounded = RoundBinaryToCent(magnitude, half);
    }
    return std::copysign(rounded, amount);
}

}  // namespace taxcalc
