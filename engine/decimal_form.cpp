// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/decimal_form.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>

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

constexpr std::uint64_t kLeastDigits = 100000000000000ULL;    // 10^14
constexpr std::uint64_t kBeyondDigits = 1000000000000000ULL;  // 10^15

// GCC and Clang offer 128-bit integers; __extension__ keeps -Wpedantic content.
__extension__ typedef unsigned __int128 Uint128;

// m x 10^s / 2^k rounded to a whole number, an exact half to even: the same rounding
// that to_chars applies to the exact binary value.
std::uint64_t ScaledMantissa(std::uint64_t m, int s, int k) noexcept {
    const Uint128 product = static_cast<Uint128>(m) * kPowersOfTen[static_cast<std::size_t>(s)];
    Uint128 quotient = product >> k;
    const Uint128 remainder = product - (quotient << k);
    const Uint128 half = static_cast<Uint128>(1) << (k - 1);
    if (remainder > half || (remainder == half && (quotient & 1) != 0)) {
        ++quotient;
    }
    return static_cast<std::uint64_t>(quotient);
}

DecimalForm ViaToChars(double value) noexcept {
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

}  // namespace

// Money-sized amounts, from 0.001 up to 10^15, are scaled exactly in 128-bit integers,
// several times faster than formatting them; the rest goes through to_chars, which
// rounds the exact binary value the same way.
DecimalForm ToDecimalForm(double value) noexcept {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const double magnitude = std::fabs(value);
    const int k = 1075 - biased;  // |value| = mantissa / 2^k
    if (biased != 0 && magnitude >= 1e-3 && magnitude < 1e15 && k >= 1 && k <= 120) {
        const std::uint64_t mantissa = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
        int exponent10 = ((biased - 1023) * 78913) >> 18;  // floor(log10(2^e)), off by one at most
        for (int attempt = 0; attempt < 4; ++attempt) {
            const int s = kSignificantDigits - 1 - exponent10;
            if (s < 0 || s > 17) {
                break;
            }
            const std::uint64_t digits = ScaledMantissa(mantissa, s, k);
            if (digits >= kBeyondDigits) {
                ++exponent10;
            } else if (digits < kLeastDigits) {
                --exponent10;
            } else {
                return DecimalForm{(bits >> 63) != 0, digits, -s};
            }
        }
    }
    return ViaToChars(value);
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
