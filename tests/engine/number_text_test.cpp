// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace taxcalc {
namespace {

constexpr double kMax = std::numeric_limits<double>::max();
// DBL_MAX written out in full.
const std::string kMaxDigits =
    "1797693134862315708145274237317043567980705675258449965989174768031572607800285387605895586327668781"
    "7154045895351438246423432132688946418276846754670353751698604991057655128207624549009038932894407586"
    "8508455133942304583236903222948165808559332123348274797826204144723168738177180919299881250404026184"
    "124858368";
const std::string kOverflowDigits = "1" + std::string(309, '0');
const std::string kUnderflowDigits = "0." + std::string(400, '0') + "1";
// 1e-315 is a subnormal: from_chars gives it, not zero.
const std::string kSubnormalDigits = "0." + std::string(314, '0') + "1";

struct ParseCase {
    std::string Text;
    double Expected;
};

TEST(ParseAmount, AcceptsPlainDecimals) {
    const ParseCase cases[] = {
        {"0", 0},
        {"12.", 12},
        {".5", 0.5},
        {"007", 7},
        {"-5", -5},
        {"+5", 5},
        {"3500", 3500},
        {"5000.56", 5000.56},
        {"0.001", 0.001},
        {"-2270.05", -2270.05},
        {"00.50", 0.5},
        {"1" + std::string(20, '0'), 1e20},
        {kMaxDigits, kMax},
        {kUnderflowDigits, 0},
        {kSubnormalDigits, 1e-315},
    };
    for (const auto &c : cases) {
        const auto value = ParseAmount(c.Text);
        ASSERT_TRUE(value.has_value()) << c.Text;
        EXPECT_EQ(*value, c.Expected) << c.Text;
    }
}

TEST(ParseAmount, KeepsTheSignOfZero) {
    EXPECT_TRUE(std::signbit(*ParseAmount("-0")));
    EXPECT_TRUE(std::signbit(*ParseAmount("-" + kUnderflowDigits)));
    EXPECT_FALSE(std::signbit(*ParseAmount(kUnderflowDigits)));
}

TEST(ParseAmount, RefusesTextThatHoldsNoNumber) {
    const std::string refused[] = {
        "",
        ".",
        "-",
        "+",
        "-.",
        "+.",
        "..",
        "1.2.3",
        "--5",
        "+-5",
        "1e5",
        "1E5",
        "inf",
        "nan",
        "INF",
        "infinity",
        "5,000",
        " 5",
        "5 ",
        "1 000",
        "\t1",
        "12a",
        "0x10",
        "1-2",
        "5-",
        "５",
        "٣",
        "\xE2\x88\x92"
        "5",  // U+2212 minus sign
        std::string("1\0", 2),
        kOverflowDigits,
        "-" + kOverflowDigits,
        kOverflowDigits + ".5",
    };
    for (const auto &text : refused) {
        EXPECT_FALSE(ParseAmount(text).has_value()) << text;
    }
}

struct FormCase {
    double Amount;
    std::string Expected;
};

TEST(MoneyForm, RoundsTheReadableFormAtTheCentHalfAwayFromZero) {
    const FormCase cases[] = {
        {0, "0.00"},
        {0.125, "0.13"},
        {2.675, "2.68"},
        {280.028, "280.03"},
        {0.0005, "0.00"},
        {-0.0, "0.00"},
        {-0.001, "0.00"},
        {-0.004999, "0.00"},
        {-0.005, "-0.01"},
        {1.005, "1.01"},
        {16.275, "16.28"},
        {4999.995, "5000.00"},
        {99.995, "100.00"},
        {0.1 + 0.2, "0.30"},
        {12345678901234.567, "12345678901234.60"},
        {1e15, "1000000000000000.00"},
        {1e20, "100000000000000000000.00"},
        {-2270.05, "-2270.05"},
        {5e-324, "0.00"},
        {kMax, "179769313486232" + std::string(294, '0') + ".00"},
        {-1e308, "-1" + std::string(308, '0') + ".00"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(MoneyForm(c.Amount), c.Expected) << c.Amount;
    }
}

TEST(MoneyText, AppendsBlankAndYuan) {
    EXPECT_EQ(MoneyText(325), "325.00 元");
    EXPECT_EQ(MoneyText(-0.0), "0.00 元");
}

TEST(PlainForm, WritesFifteenDigitsWithoutTrailingZerosOrExponent) {
    const FormCase cases[] = {
        {18000, "18000"},
        {18043.22, "18043.22"},
        {18499.995, "18499.995"},
        {0, "0"},
        {-0.0, "0"},
        {0.5, "0.5"},
        {0.1 + 0.2, "0.3"},
        {1e-5, "0.00001"},
        {-18000.5, "-18000.5"},
        {960000, "960000"},
        {1e20, "100000000000000000000"},
        {1234567890123456789.0, "1234567890123460000"},
        {123456789012.3456, "123456789012.346"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(PlainForm(c.Amount), c.Expected) << c.Amount;
    }
}

// A typed amount with a third decimal of exactly 5 shows the cent above in
// magnitude, whatever binary value stores it.
TEST(MoneyForm, ExactHalvesGoAwayFromZeroAtEveryMagnitude) {
    std::mt19937_64 random(20110601);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t limit = std::uint64_t{1} << (5 + i % 35);  // below 10^12 cents
        const std::uint64_t cents = random() % limit;
        const bool negative = i % 2 == 1;
        const std::string whole = std::to_string(cents / 100);
        const std::string fraction = std::to_string(100 + cents % 100).substr(1);
        const std::string typed = (negative ? "-" : "") + whole + "." + fraction + "5";
        const std::uint64_t up = cents + 1;
        const std::string expected =
            (negative ? "-" : "") + std::to_string(up / 100) + "." + std::to_string(100 + up % 100).substr(1);
        ASSERT_EQ(MoneyForm(*ParseAmount(typed)), expected) << typed;
    }
}

// Any amount of up to 15 significant digits comes back from its plain form
// unchanged, and its money form lies within half a cent of it.
TEST(NumberText, PlainFormRoundTripsAndMoneyFormStaysWithinHalfACent) {
    std::mt19937_64 random(3500);
    std::uniform_real_distribution<double> mantissa(1, 10);
    for (int i = 0; i < 20000; ++i) {
        const double scaled = mantissa(random) * std::pow(10.0, i % 36 - 15);
        char buffer[32];
        const auto written =
            std::to_chars(buffer, buffer + sizeof buffer, scaled, std::chars_format::scientific, 14);
        double amount = 0;
        std::from_chars(buffer, written.ptr, amount);
        const auto back = ParseAmount(PlainForm(amount));
        ASSERT_TRUE(back.has_value()) << amount;
        ASSERT_EQ(*back, amount) << PlainForm(amount);
        if (amount < 1e12) {
            const auto money = ParseAmount(MoneyForm(amount));
            ASSERT_LE(std::fabs(*money - amount), 0.005 + amount * 1e-15) << amount;
        }
    }
}

}  // namespace
}  // namespace taxcalc

namespace taxcalc {
namespace {

TEST(CentsForm, WritesWholeCentsExactly) {
    constexpr Cents kMin = std::numeric_limits<Cents>::min();
    struct Case {
        Cents Value;
        std::string TwoDecimals;
        std::string Plain;
    };
    const Case cases[] = {{0, "0.00", "0"},
                          {1, "0.01", "0.01"},
                          {-50, "-0.50", "-0.5"},
                          {1804320, "18043.20", "18043.2"},
                          {-500, "-5.00", "-5"},
                          {1'000'000'000'000'000, "10000000000000.00", "10000000000000"},
                          {kMin, "-92233720368547758.08", "-92233720368547758.08"}};
    for (const Case &c : cases) {
        EXPECT_EQ(CentsForm(c.Value), c.TwoDecimals) << c.Value;
        EXPECT_EQ(CentsForm(c.Value, CentsStyle::Plain), c.Plain) << c.Value;
    }
}

// Below 1e13 yuan the double nearest a whole number of cents shows those cents.
TEST(CentsForm, AppendsAfterWhatTheTextHolds) {
    std::string text = "x";
    AppendCents(text, -5);
    AppendCents(text, 1804320, CentsStyle::Plain);
    AppendCents(text, std::numeric_limits<Cents>::min());
    EXPECT_EQ(text, "x-0.0518043.2-92233720368547758.08");
}

TEST(CentsForm, AgreesWithMoneyFormAndPlainForm) {
    std::mt19937_64 random(9);
    for (int i = 0; i < 200000; ++i) {
        const Cents limit = i % 2 == 0 ? 100'000'000 : 1'000'000'000'000'000;
        Cents cents = static_cast<Cents>(random() % static_cast<std::uint64_t>(limit));
        if (i % 3 == 0) {
            cents = -cents;
        }
        const double yuan = static_cast<double>(cents) / 100;
        ASSERT_EQ(CentsForm(cents), MoneyForm(yuan)) << cents;
        ASSERT_EQ(CentsForm(cents, CentsStyle::Plain), PlainForm(yuan)) << cents;
    }
}

}  // namespace
}  // namespace taxcalc
