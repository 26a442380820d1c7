// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The decimal form of 15 significant digits that both the engine's rounding and
// the displayed money texts start from: the amount as a person reads it, free of
// the binary noise of its storage.
#pragma once

#include <cstdint>

namespace taxcalc {

// |value| = Digits x 10^Exponent, Digits below 10^15 (zero only for a zero value).
struct DecimalForm {
    bool Negative;
    std::uint64_t Digits;
    int Exponent;
};

enum class HalfRule { ToEven, AwayFromZero };

// Defined for finite values only.
DecimalForm ToDecimalForm(double value) noexcept;

// Digits x 10^Exponent expressed in units of 10^-places, rounded to a whole number
// of units with the given rule for an exact half. The caller keeps the result within
// 64 bits: Exponent + places must not exceed 4.
std::uint64_t ScaleRounded(const DecimalForm &form, int places, HalfRule rule) noexcept;

}  // namespace taxcalc
