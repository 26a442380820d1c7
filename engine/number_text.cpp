// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "engine/decimal_form.h"

namespace taxcalc {
namespace {

constexpr int kCentPlaces = 2;
// ScaleRounded keeps its result within 64 bits up to this shift.
constexpr int kMaxScaleShift = 4;

std::string DigitsOf(std::uint64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// The amount in whole cents, as decimal digits without sign or point.
std::string CentDigits(const DecimalForm &form) {
    const int shift = form.Exponent + kCentPlaces;
    if (shift <= kMaxScaleShift) {
        return DigitsOf(ScaleRounded(form, kCentPlaces, HalfRule::AwayFromZero));
    }
    // Far above the cents the form's digits followed by zeros are the exact value.
    return DigitsOf(form.Digits) + std::string(static_cast<std::size_t>(shift), '0');
}

}  // namespace

std::optional<Amount> ParseAmount(std::string_view text) noexcept {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int digits = 0;
    bool pointSeen = false;
    bool wholePartIsZero = true;
    for (const char c : text) {
        if (c == '.') {
            if (pointSeen) {
                return std::nullopt;
            }
            pointSeen = true;
        } else if (c >= '0' && c <= '9') {
            ++digits;
            wholePartIsZero = wholePartIsZero && (pointSeen || c == '0');
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    double magnitude = 0;
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, magnitude, std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range && wholePartIsZero) {
        // Nearer to zero than the smallest subnormal: the amount a person typed is
        // nothing, not an error.
        magnitude = 0;
    } else if (result.ec != std::errc{} || result.ptr != end) {
        return std::nullopt;
    }
    return negative ? -magnitude : magnitude;
}

std::string MoneyForm(Amount amount) {
    if (!std::isfinite(amount)) {
        // Callers refuse such figures before formatting; an empty text can never
        // pass for an amount.
        return {};
    }
    const DecimalForm form = ToDecimalForm(amount);
    std::string cents = CentDigits(form);
    if (cents.size() < kCentPlaces + 1) {
        cents.insert(0, kCentPlaces + 1 - cents.size(), '0');
    }
    cents.insert(cents.size() - kCentPlaces, 1, '.');
    // A value that shows as zero, -0.0 or -0.001, carries no sign.
    const bool showsZero = cents.find_first_not_of("0.") == std::string::npos;
    return form.Negative && !showsZero ? "-" + cents : cents;
}

std::string MoneyText(Amount amount) {
    return MoneyForm(amount) + " 元";
}

std::string PlainForm(Amount amount) {
    if (!std::isfinite(amount)) {
        return {};
    }
    DecimalForm form = ToDecimalForm(amount);
    if (form.Digits == 0) {
        return "0";
    }
    while (form.Digits % 10 == 0) {
        form.Digits /= 10;
        ++form.Exponent;
    }
    const std::string digits = DigitsOf(form.Digits);
    std::string text = form.Negative ? "-" : "";
    if (form.Exponent >= 0) {
        return text + digits + std::string(static_cast<std::size_t>(form.Exponent), '0');
    }
    const auto fractionLength = static_cast<std::size_t>(-form.Exponent);
    if (fractionLength < digits.size()) {
        const std::size_t wholeLength = digits.size() - fractionLength;
        return text + digits.substr(0, wholeLength) + "." + digits.substr(wholeLength);
    }
    return text + "0." + std::string(fractionLength - digits.size(), '0') + digits;
}

void AppendCents(std::string &text, Cents cents, CentsStyle style) {
    // The magnitude as unsigned, so that even the most negative value has one.
    const std::uint64_t magnitude =
        cents < 0 ? 0 - static_cast<std::uint64_t>(cents) : static_cast<std::uint64_t>(cents);
    const auto perYuan = static_cast<std::uint64_t>(kCentsPerYuan);
    // A sign, twenty digits, a point and two decimals at most.
    char buffer[32];
    char *end = buffer;
    if (cents < 0) {
        *end++ = '-';
    }
    end = std::to_chars(end, buffer + sizeof buffer, magnitude / perYuan).ptr;
    const std::uint64_t fraction = magnitude % perYuan;
    const bool tenths = style == CentsStyle::Plain && fraction % 10 == 0;
    if (style == CentsStyle::TwoDecimals || fraction != 0) {
        *end++ = '.';
        *end++ = static_cast<char>('0' + fraction / 10);
        if (!tenths) {
            *end++ = static_cast<char>('0' + fraction % 10);
        }
    }
    text.append(buffer, end);
}

std::string CentsForm(Cents cents, CentsStyle style) {
    std::string text;
    AppendCents(text, cents, style);
    return text;
}

}  // namespace taxcalc
