// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/pay_planner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string_view>

// Amounts are written as yuan'cents: 17460'01 is 17460.01 yuan.
namespace taxcalc {
namespace {

const PeriodRules &Period(std::string_view name) {
    return *FindPeriod(name);
}

struct Case {
    std::string_view Period;
    Cents In;     // wage, or wanted net
    Cents Other;  // deductions, or the month's wage for a bonus
    Cents Out;    // tax, or the gross amount
    Cents Tax = 0;
};

TEST(MonthlyWageTax, GivesTheHandWorkedTaxOfEachPeriod) {
    const Case cases[] = {
        {"2011", 5000'00, 0, 45'00},          // 1500 at 3 %
        {"2011", 3501'50, 0, 0'05},           // 0.045: a half goes up
        {"2011", 3500'16, 0, 0'00},           // 0.0048
        {"2011", 12000'00, 1000'00, 945'00},  // 7500 x 20 % - 555
        {"2011", 4100'00, 600'00, 0},         // nothing taxable
        {"2008", 4000'00, 0, 175'00},         // 2000 x 10 % - 25
        {"2018", 100000'00, 0, 27590'00},     // 95000 x 45 % - 15160
    };
    for (const Case &c : cases) {
        EXPECT_EQ(MonthlyWageTax(Period(c.Period), c.In, c.Other), c.Out) << c.Period << " " << c.In;
    }
    EXPECT_FALSE(MonthlyWageTax(Period("2019"), 10000'00, 0));
    EXPECT_FALSE(MonthlyWageTax(Period("2011"), -1, 0));
    EXPECT_FALSE(MonthlyWageTax(Period("2011"), kMaxCents + 1, 0));
}

TEST(GrossForNet, GivesTheHandWorkedBonusAndWage) {
    const Case bonuses[] = {
        {"2011", 17460'00, 3500'00, 18000'00, 540'00},   // the zone's lower edge itself
        {"2011", 17460'01, 3500'00, 19283'34, 1823'33},  // one cent more: past the zone
        {"2011", 500'01, 3000'00, 500'01, 0},            // the short 500 untaxed, 0.0003 on the rest
        {"2011", 17960'00, 3000'00, 18500'00, 540'00},   // the edge, plus the short 500
        {"2019", 34920'01, 0, 38566'68, 3646'67},        // the wage plays no part
        {"2008", 5700'00, 2000'00, 6000'00, 300'00},
    };
    for (const Case &c : bonuses) {
        const std::optional<GrossBonus> gross = GrossBonusForNet(Period(c.Period), c.In, c.Other);
        ASSERT_TRUE(gross);
        EXPECT_EQ(*gross, (GrossBonus{c.Out, c.Tax, c.Out - c.Tax})) << c.Period << " " << c.In;
    }
    const Case wages[] = {
        {"2011", 5000'00, 1000'00, 6050'00, 50'00},  // 0.9 w + 455 = 5000 above the deductions
        {"2011", 3500'01, 0, 3500'01, 0},
        {"2008", 3000'00, 0, 3083'33, 83'33},     // 1083.33 x 10 % - 25 = 83.333
        {"2018", 10000'00, 0, 10322'22, 322'22},  // 5322.22 x 10 % - 210 = 322.222
    };
    for (const Case &c : wages) {
        const std::optional<GrossWage> gross = GrossWageForNet(Period(c.Period), c.In, c.Other);
        ASSERT_TRUE(gross);
        EXPECT_EQ(*gross, (GrossWage{c.Out, c.Tax, c.Out - c.Other - c.Tax})) << c.Period << " " << c.In;
    }
    EXPECT_FALSE(GrossWageForNet(Period("2019"), 5000'00, 0));
    EXPECT_FALSE(GrossWageForNet(Period("2011"), 0, -1));
    EXPECT_FALSE(GrossBonusForNet(Period("2011"), -1, 0));
    EXPECT_FALSE(GrossBonusForNet(Period("2011"), 0, kMaxCents + 1));
}

Cents AfterTax(const PeriodRules &rules, Cents bonus, Cents wage) {
    return bonus - TaxBonus(rules, bonus, wage).Tax;
}

// Brute force: scanning every bonus from 0 up, the first that keeps a net is its
// answer. Tried at every jump of the after-tax amount and every 37th cent.
TEST(GrossBonusForNet, IsTheFirstBonusReachingTheNetInAScanOfEveryCent) {
    for (const Case &scan : {Case{"2011", 21000'00, 3200'00, 0}, Case{"2019", 40000'00, 0, 0},
                             Case{"2008", 7000'00, 2000'00, 0}, Case{"2018", 40000'00, 4999'99, 0}}) {
        const PeriodRules &rules = Period(scan.Period);
        Cents reached = -1;  // every net up to this one is kept by a smaller bonus
        for (Cents bonus = 0; bonus <= scan.In; ++bonus) {
            const Cents kept = AfterTax(rules, bonus, scan.Other);
            if (kept > reached && (kept - reached > 1 || bonus % 37 == 0)) {
                for (const Cents net : {reached + 1, kept}) {
                    ASSERT_EQ(GrossBonusForNet(rules, net, scan.Other)->Bonus, bonus)
                        << scan.Period << " " << net;
                }
            }
            reached = std::max(reached, kept);
        }
    }
}

// Large amounts: the answer keeps the net, one cent less does not, and neither does
// any row's top below it (within a row the after-tax amount never falls, so no
// smaller bonus keeps more than those).
TEST(GrossForNet, KeepsTheNetWhereNoSmallerAmountDoes) {
    std::mt19937_64 random(9);
    std::uniform_int_distribution<Cents> nets(0, 3'000'000'00);
    std::uniform_int_distribution<Cents> wages(0, 8000'00);
    for (const PeriodRules &rules : AllPeriods()) {
        for (int i = 0; i < 3000; ++i) {
            const Cents net = i % 2 == 0 ? nets(random) : nets(random) % 200'000'00;
            const Cents wage = wages(random);
            const GrossBonus bonus = *GrossBonusForNet(rules, net, wage);
            EXPECT_EQ(bonus.AfterTax, AfterTax(rules, bonus.Bonus, wage));
            EXPECT_GE(bonus.AfterTax, net);
            EXPECT_LT(AfterTax(rules, bonus.Bonus - 1, wage), net) << rules.Name << " " << net;
            EXPECT_FALSE(TaxBonus(rules, bonus.Bonus, wage).InBlindZone);
            for (const CentsBracket &row : rules.Brackets.first(rules.Brackets.size() - 1)) {
                const Cents top = 12 * row.UpperBound - BonusBaseOf(rules, 0, wage);
                EXPECT_TRUE(top >= bonus.Bonus || AfterTax(rules, top, wage) < net)
                    << rules.Name << " " << net;
            }
            if (const std::optional<GrossWage> gross = GrossWageForNet(rules, net, wage / 4)) {
                EXPECT_GE(gross->TakeHome, net);
                EXPECT_EQ(gross->TakeHome,
                          gross->Wage - wage / 4 - *MonthlyWageTax(rules, gross->Wage, wage / 4));
                EXPECT_LT(gross->Wage - 1 - wage / 4 - *MonthlyWageTax(rules, gross->Wage - 1, wage / 4),
                          net);
            }
        }
        const GrossBonus largest = *GrossBonusForNet(rules, kMaxCents, kMaxCents);
        EXPECT_GE(largest.AfterTax, kMaxCents);
        EXPECT_LT(AfterTax(rules, largest.Bonus - 1, kMaxCents), kMaxCents);
    }
}

}  // namespace
}  // namespace taxcalc
