// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/decimal_form.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace taxcalc {
namespace {

// printf's "%.14e" digits of |value|, read back as Digits x 10^Exponent.
DecimalForm PrintedForm(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    const std::string text(buffer);
    const auto e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    return {std::signbit(value), std::stoull(digits), std::stoi(text.substr(e + 1)) - 14};
}

void ExpectSameForm(double value) {
    const DecimalForm expected = PrintedForm(value);
    const DecimalForm actual = ToDecimalForm(value);
    SCOPED_TRACE(testing::Message() << std::hexfloat << value);
    EXPECT_EQ(actual.Negative, expected.Negative);
    EXPECT_EQ(actual.Digits, expected.Digits);
    EXPECT_EQ(actual.Exponent, expected.Exponent);
}

TEST(DecimalForm, KnownValues) {
    struct Row {
        double Value;
        std::uint64_t Digits;
        int Exponent;
    };
    const Row rows[] = {
        {16.275, 162750000000000, -13},             // stored a hair below, read as written
        {1.005, 100500000000000, -14},              //
        {0.125, 125000000000000, -15},              //
        {999.9999999999999, 100000000000000, -11},  // the 15-digit form carries into 1000
        {1e15, 100000000000000, 1},                 //
        {0.001, 100000000000000, -17},              //
        {12345678901234.567, 123456789012346, -1},  //
    };
    for (const Row &row : rows) {
        const DecimalForm form = ToDecimalForm(row.Value);
        EXPECT_EQ(form.Digits, row.Digits) << row.Value;
        EXPECT_EQ(form.Exponent, row.Exponent) << row.Value;
    }
    EXPECT_EQ(ToDecimalForm(0.0).Digits, 0u);
    EXPECT_TRUE(ToDecimalForm(-2270.05).Negative);
}

// The integer scaling and to_chars must agree with printf on every magnitude,
// across the edges of the fast range and at the ties of the sixteenth digit.
TEST(DecimalForm, AgreesWithPrintfOnEveryMagnitude) {
    std::mt19937_64 random(20261207);
    std::vector<double> values = {1e-3,
                                  std::nextafter(1e-3, 0.0),
                                  1e15,
                                  std::nextafter(1e15, 0.0),
                                  std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::max(),
                                  5e-324,
                                  0.5,
                                  1.0,
                                  2.0};
    for (int i = 0; i < 100000; ++i) {
        const double value = std::bit_cast<double>(random());
        if (std::isfinite(value)) {
            values.push_back(value);
        }
    }
    std::uniform_real_distribution<double> exponent(-6, 16);
    for (int i = 0; i < 100000; ++i) {
        values.push_back(std::pow(10.0, exponent(random)));
    }
    // Decimals of 16 significant digits ending in 5: the 15-digit form sits on a tie
    // of the decimal, and the binary value decides which way it goes.
    std::uniform_int_distribution<std::uint64_t> sixteen(100000000000000ULL, 999999999999999ULL);
    std::uniform_int_distribution<int> scale(-18, 0);
    for (int i = 0; i < 100000; ++i) {
        const double value =
            std::stod(std::to_string(sixteen(random)) + "5e" + std::to_string(scale(random)));
        values.push_back(value);
        values.push_back(std::nextafter(value, 0.0));
        values.push_back(std::nextafter(value, 1e300));
    }
    for (const double value : values) {
        ExpectSameForm(value);
        ExpectSameForm(-value);
        if (HasFailure()) {
            break;
        }
    }
}

}  // namespace
}  // namespace taxcalc
