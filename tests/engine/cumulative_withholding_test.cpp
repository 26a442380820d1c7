// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Withholding by the cumulative method, worked by hand.
#include "engine/cumulative_withholding.h"

#include <gtest/gtest.h>

#include <vector>

namespace taxcalc {
namespace {

constexpr Cents Yuan(Cents yuan) {
    return yuan * kCentsPerYuan;
}

TEST(CumulativeWithholding, AllowanceEarnedSoFar) {
    struct Case {
        WithholdingPerson Person;
        int Month;
        Cents Allowance;
    };
    const std::vector<Case> cases{
        {{}, 3, Yuan(15000)},
        {{.StartMonth = 7}, 9, Yuan(15000)},
        {{.StartMonth = 7}, 6, 0},
        {{.LeaveMonth = 2}, 3, Yuan(10000)},  // pay after leaving earns nothing
        {{.LeaveMonth = 5}, 3, Yuan(15000)},
        {{.LeftBeforeYear = true}, 3, 0},
        {{.SixtyThousand = true}, 1, Yuan(60000)},
        {{.DeductsAllowance = false}, 12, 0},
        {{.DeductsAllowance = false, .SixtyThousand = true}, 12, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(CumulativeAllowance(c.Person, c.Month), c.Allowance) << c.Month;
    }
}

// Twelve months of one employee: what each withholds.
std::vector<WithheldMonth> Year(const WithholdingPerson &person,
                                const std::vector<WithholdingMonth> &months) {
    std::vector<WithheldMonth> withheld;
    WithholdingTotals totals;
    for (const WithholdingMonth &month : months) {
        const std::optional<WithheldMonth> figures = WithholdMonth(person, totals, month);
        EXPECT_TRUE(figures.has_value());
        withheld.push_back(*figures);
        totals = figures->After;
    }
    return withheld;
}

TEST(CumulativeWithholding, DecemberSpikeAcrossTwoBounds) {
    // 10000 a month, then 200000 in December: 250000 taxable at 20%.
    std::vector<WithholdingMonth> months;
    for (int month = 1; month <= 12; ++month) {
        months.push_back({.Month = month, .Income = Yuan(month == 12 ? 200000 : 10000)});
    }
    const std::vector<WithheldMonth> year = Year({}, months);
    const std::vector<Cents> expected{15000, 15000, 15000, 15000, 15000, 15000,
                                      15000, 43000, 50000, 50000, 50000, 3010000};
    for (std::size_t i = 0; i < year.size(); ++i) {
        EXPECT_EQ(year[i].Withholding, expected[i]) << "month " << i + 1;
    }
    const WithheldMonth &december = year.back();
    EXPECT_EQ(december.Taxable, Yuan(250000));
    EXPECT_EQ(december.RatePercent, 20);
    EXPECT_EQ(december.QuickDeduction, Yuan(16920));
    EXPECT_EQ(december.Tax, Yuan(33080));
    EXPECT_EQ(december.WithheldBefore, Yuan(2980));
    EXPECT_EQ(december.AfterTax, Yuan(200000) - 3010000);
}

TEST(CumulativeWithholding, DeductionsReliefAndRounding) {
    // 12345.67 less 5000, 1000 of insurance, 300 of other deductions, 200 of declared
    // personal pension and 100 donated: 5745.67 at 3% is 172.3701.
    const WithholdingMonth january{.Month = 1,
                                   .Income = 1234567,
                                   .SpecialDeductions = Yuan(1000),
                                   .OtherDeductions = Yuan(300),
                                   .PersonalPensionCumulative = Yuan(200),
                                   .Donations = Yuan(100)};
    const std::vector<WithheldMonth> one = Year({}, {january});
    EXPECT_EQ(one[0].Taxable, 574567);
    EXPECT_EQ(one[0].OtherDeductions, Yuan(500));
    EXPECT_EQ(one[0].Tax, 17237);
    EXPECT_EQ(one[0].AfterTax, 1234567 - Yuan(1000) - 17237);
    // Half a cent rounds away from zero: 150.50 at 3% is 4.515.
    EXPECT_EQ(Year({}, {{.Month = 1, .Income = Yuan(5000) + 15050}})[0].Tax, 452);
    // Relief beyond the tax withholds nothing, and the excess is not refunded later.
    const std::vector<WithheldMonth> relieved = Year(
        {},
        {{.Month = 1, .Income = Yuan(15000), .TaxRelief = Yuan(500)}, {.Month = 2, .Income = Yuan(15000)}});
    EXPECT_EQ(relieved[0].Withholding, 0);
    EXPECT_EQ(relieved[1].Tax, Yuan(600));
    EXPECT_EQ(relieved[1].Withholding, Yuan(100));
    // Nothing taxable reads the first row.
    const std::vector<WithheldMonth> low = Year({}, {{.Month = 1, .Income = Yuan(3000)}});
    EXPECT_EQ(low[0].Taxable, 0);
    EXPECT_EQ(low[0].RatePercent, 3);
    EXPECT_FALSE(WithholdMonth({}, {}, {.Month = 1, .Income = -1}).has_value());
    EXPECT_FALSE(WithholdMonth({}, {}, {.Month = 1, .Income = kMaxCents + 1}).has_value());
}

}  // namespace
}  // namespace taxcalc
