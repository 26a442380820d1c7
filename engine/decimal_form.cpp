// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/decimal_form.h"

#include <array>
#include <charconv>

namespace taxcalc {
namespace {

constexpr int kSignificantDigits = 15;

constexpr std::array<std::uint64_t, 20> kPowersOfTen = [] {
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t p = 1;
    for (auto &power : powers) {
        power = p;
        p *= 10;
    }
    return powers;
}();

}  // namespace

DecimalForm ToDecimalForm(double value) noexcept {
    // "-d.dddddddddddddde+ddd" at most; to_chars never consults the locale.
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    DecimalForm form{false, 0, 0};
    const char *p = buffer.data();
    if (*p == '-') {
        form.Negative = true;
        ++p;
    }
    for (; p != result.ptr && *p != 'e'; ++p) {
        if (*p != '.') {
            form.Digits = form.Digits * 10 + static_cast<std::uint64_t>(*p - '0');
        }
    }
    int exponent = 0;
    if (p != result.ptr) {
        ++p;  // 'e'
        const bool negativeExponent = *p == '-';
        ++p;  // the exponent always carries a sign
        for (; p != result.ptr; ++p) {
            exponent = exponent * 10 + (*p - '0');
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    form.Exponent = exponent - (kSignificantDigits - 1);
    return form;
}

std::uint64_t ScaleRounded(const DecimalForm &form, int places, HalfRule rule) noexcept {
    const int shift = form.Exponent + places;
    if (shift >= 0) {
        return form.Digits * kPowersOfTen[static_cast<std::size_t>(shift)];
    }
    // Digits < 10^15, so from a divisor of 10^16 on the quotient is 0 and the
    // remainder is below half of it.
    if (-shift > kSignificantDigits) {
        return 0;
    }
    const std::uint64_t divisor = kPowersOfTen[static_cast<std::size_t>(-shift)];
    const std::uint64_t quotient = form.Digits / divisor;
    const std::uint64_t twiceRemainder = 2 * (form.Digits % divisor);
    if (twiceRemainder > divisor) {
        return quotient + 1;
    }
    if (twiceRemainder == divisor) {
        return rule == HalfRule::AwayFromZero || quotient % 2 == 1 ? quotient + 1 : quotient;
    }
    return quotient;
}

}  // namespace taxcalc
