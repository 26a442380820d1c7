// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "engine/tax_engine.h"

namespace taxcalc {
namespace {

// Rounds the decimal number digits x 10^-fractionDigits to whole cents, half to the
// even cent, in digit-by-digit string arithmetic, and returns the nearest double.
double RoundDecimalString(std::string digits, int fractionDigits) {
    if (fractionDigits <= 2) {
        digits.append(static_cast<std::size_t>(2 - fractionDigits), '0');
    } else {
        const auto dropped = static_cast<std::size_t>(fractionDigits - 2);
        if (digits.size() <= dropped) {
            digits.insert(0, dropped + 1 - digits.size(), '0');
        }
        const std::string tail = digits.substr(digits.size() - dropped);
        digits.resize(digits.size() - dropped);
        const bool restIsZero = tail.find_first_not_of('0', 1) == std::string::npos;
        const bool lastIsOdd = (digits.back() - '0') % 2 == 1;
        bool up = tail[0] > '5' || (tail[0] == '5' && (!restIsZero || lastIsOdd));
        for (auto it = digits.rbegin(); up && it != digits.rend(); ++it) {
            up = *it == '9';
            *it = up ? '0' : static_cast<char>(*it + 1);
        }
        if (up) {
            digits.insert(0, 1, '1');
        }
    }
    return std::strtod((digits + "e-2").c_str(), nullptr);
}

// Written apart from the engine: printf's digits instead of to_chars, decimal strings
// instead of integers, strtod instead of a division.
double ReferenceRoundCents(double x) {
    if (!std::isfinite(x)) {
        return x;
    }
    const double magnitude = std::fabs(x);
    char buffer[512];
    double rounded = 0;
    if (magnitude < 1e13) {
        // "d.dddddddddddddde+XX": fifteen significant digits of the value as read.
        std::snprintf(buffer, sizeof buffer, "%.14e", magnitude);
        const std::string text(buffer);
        const std::size_t e = text.find('e');
        const int exponent = std::atoi(text.c_str() + e + 1) - 14;
        std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
        if (exponent > 0) {
            digits.append(static_cast<std::size_t>(exponent), '0');
        }
        rounded = RoundDecimalString(digits, exponent > 0 ? 0 : -exponent);
    } else {
        // glibc prints the exact binary value; a double of this size has at most nine
        // binary, so nine decimal, places.
        std::snprintf(buffer, sizeof buffer, "%.60f", magnitude);
        std::string text(buffer);
        const std::size_t point = text.find('.');
        text.erase(point, 1);
        rounded = RoundDecimalString(text, static_cast<int>(text.size() - point));
    }
    return std::copysign(rounded, x);
}

void ExpectSameBits(double x) {
    const double expected = ReferenceRoundCents(x);
    const double actual = RoundCents(x);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(actual), std::bit_cast<std::uint64_t>(expected))
        << "RoundCents(" << std::hexfloat << x << ") = " << actual << ", expected " << expected;
}

struct RoundCase {
    double Input;
    double Expected;
};

void PrintTo(const RoundCase &c, std::ostream *os) {
    *os << std::setprecision(17) << c.Input;
}

class RoundCentsExample : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundCentsExample, MatchesTheWorkedFigure) {
    const RoundCase &c = GetParam();
    const double actual = RoundCents(c.Input);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(actual), std::bit_cast<std::uint64_t>(c.Expected))
        << std::hexfloat << c.Input << " gave " << actual;
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = std::numeric_limits<double>::max();

INSTANTIATE_TEST_SUITE_P(Figures, RoundCentsExample,
                         testing::Values(RoundCase{16.275, 16.28}, RoundCase{1.005, 1.00},
                                         RoundCase{0.125, 0.12}, RoundCase{0.375, 0.38},
                                         RoundCase{-0.125, -0.12}, RoundCase{4999.995 - 3500, 1500.00},
                                         RoundCase{299.9995, 300.00}, RoundCase{0.015, 0.02},
                                         RoundCase{0.025, 0.02}, RoundCase{0.0049, 0}, RoundCase{2.675, 2.68},
                                         RoundCase{1500.125, 1500.12}, RoundCase{-2388.525, -2388.52}));

// The sign of a zero result follows the input; non-finite values come back as they were.
INSTANTIATE_TEST_SUITE_P(
    Edges, RoundCentsExample,
    testing::Values(RoundCase{0.0, 0.0}, RoundCase{-0.0, -0.0}, RoundCase{-0.001, -0.0},
                    RoundCase{0.004, 0.0}, RoundCase{0.0051, 0.01}, RoundCase{0.009999, 0.01},
                    RoundCase{-0.005, -0.0}, RoundCase{1e-300, 0.0},
                    RoundCase{-std::numeric_limits<double>::denorm_min(), -0.0}, RoundCase{kInf, kInf},
                    RoundCase{-kInf, -kInf}, RoundCase{kMax, kMax}, RoundCase{-1e300, -1e300},
                    RoundCase{9999999999999.998046875, 1e13},
                    RoundCase{9999999999999.994140625, 9999999999999.99},
                    RoundCase{1e13 + 0.125, 1e13 + 0.12}, RoundCase{1e13 + 0.375, 1e13 + 0.38},
                    RoundCase{-1e13 - 0.625, -1e13 - 0.62}, RoundCase{1e13 + 0.005859375, 1e13 + 0.01},
                    RoundCase{4503599627370497.0, 4503599627370497.0}));

TEST(RoundCents, LeavesNanANan) {
    EXPECT_TRUE(std::isnan(RoundCents(std::numeric_limits<double>::quiet_NaN())));
}

TEST(RoundCents, AgreesWithTheReferenceAcrossEveryMagnitude) {
    std::mt19937_64 random(20110901);
    std::vector<double> samples;
    // Any bit pattern: mostly the far ends of the range.
    for (int i = 0; i < 40000; ++i) {
        const double x = std::bit_cast<double>(random());
        if (std::isfinite(x)) {
            samples.push_back(x);
        }
    }
    // Every binary exponent from a thousandth of a cent to well past 2^53.
    std::uniform_real_distribution<double> mantissa(0.5, 1.0);
    std::uniform_int_distribution<int> exponent(-20, 60);
    for (int i = 0; i < 80000; ++i) {
        samples.push_back(std::ldexp(mantissa(random), exponent(random)));
    }
    for (const double x : samples) {
        ExpectSameBits(x);
        ExpectSameBits(-x);
    }
}

TEST(RoundCents, AgreesWithTheReferenceOnHalvesAndTheirNeighbours) {
    std::mt19937_64 random(20100101);
    std::vector<double> halves;
    // k + 0.5 cents written in decimal, from one to sixteen digits of cents.
    for (int digits = 1; digits <= 16; ++digits) {
        const auto limit = static_cast<std::uint64_t>(std::pow(10.0, digits));
        for (int i = 0; i < 3000; ++i) {
            const std::uint64_t cents = random() % limit;
            const std::string text = std::to_string(cents / 100) + "." + std::to_string(cents % 100 / 10) +
                                     std::to_string(cents % 10) + "5";
            halves.push_back(std::strtod(text.c_str(), nullptr));
        }
    }
    // Exact binary halves of a cent above 1e13, where the binary value is rounded.
    std::uniform_int_distribution<std::uint64_t> whole(10000000000000, (std::uint64_t{1} << 49) - 1);
    for (int i = 0; i < 20000; ++i) {
        halves.push_back(static_cast<double>(whole(random)) + 0.125 * static_cast<double>(1 + 2 * (i % 4)));
    }
    for (const double x : halves) {
        for (const double y : {x, std::nextafter(x, 0.0), std::nextafter(x, kInf)}) {
            ExpectSameBits(y);
            ExpectSameBits(-y);
        }
    }
}

}  // namespace
}  // namespace taxcalc
