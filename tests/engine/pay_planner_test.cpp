// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string_view>

#include "engine/pay_planner.h"

// Amounts are written as yuan'cents: 17460'01 is 17460.01 yuan.
namespace taxcalc {
namespace {

const PeriodRules &Period(std::string_view name) {
    return *FindPeriod(name);
}

struct WageTaxCase {
    std::string_view Period;
    Cents Wage;
    Cents Deductions;
    Cents Tax;
};

TEST(MonthlyWageTax, GivesTheHandWorkedTaxOfEachPeriod) {
    const WageTaxCase cases[] = {
        {"2011", 5000'00, 0, 45'00},          // 1500 at 3 %
        {"2011", 3501'50, 0, 0'05},           // 1.50 x 3 % = 0.045: a half goes up
        {"2011", 3500'17, 0, 0'01},           // 0.0051
        {"2011", 3500'16, 0, 0'00},           // 0.0048
        {"2011", 38600'01, 0, 7775'00},       // 35100.01 x 25 % - 1005 = 7775.0025
        {"2011", 12000'00, 1000'00, 945'00},  // 7500 x 20 % - 555
        {"2011", 3000'00, 600'00, 0},         // nothing taxable
        {"2011", 4100'00, 600'00, 0},         // taxable exactly 0
        {"2008", 2500'00, 0, 25'00},          // 500 at 5 %
        {"2008", 4000'00, 0, 175'00},         // 2000 x 10 % - 25
        {"2008", 2000'10, 0, 0'01},           // 0.10 x 5 % = 0.005: up
        {"2018", 8000'00, 1000'00, 60'00},    // 2000 at 3 %
        {"2018", 20000'00, 0, 1590'00},       // 15000 x 20 % - 1410
        {"2018", 100000'00, 0, 27590'00},     // 95000 x 45 % - 15160
        {"2018", 5000'50, 0, 0'02},           // 0.50 x 3 % = 0.015: up
    };
    for (const WageTaxCase &c : cases) {
        EXPECT_EQ(MonthlyWageTax(Period(c.Period), c.Wage, c.Deductions), c.Tax)
            << c.Period << " wage " << c.Wage << " less " << c.Deductions;
    }
}

TEST(MonthlyWageTax, RefusesTheCumulativePeriodAndAmountsOutOfRange) {
    EXPECT_FALSE(MonthlyWageTax(Period("2019"), 10000'00, 0));
    EXPECT_FALSE(MonthlyWageTax(Period("2011"), -1, 0));
    EXPECT_FALSE(MonthlyWageTax(Period("2011"), 5000'00, -1));
    EXPECT_FALSE(MonthlyWageTax(Period("2011"), kMaxCents + 1, 0));
    EXPECT_TRUE(MonthlyWageTax(Period("2011"), kMaxCents, kMaxCents));
}

struct GrossCase {
    std::string_view Period;
    Cents Net;
    Cents Other;  // the month's wage for a bonus, the deductions for a wage
    Cents Gross;
    Cents Tax;
};

TEST(GrossBonusForNet, GivesTheHandWorkedBonus) {
    const GrossCase cases[] = {
        {"2011", 17460'00, 3500'00, 18000'00, 540'00},   // the zone's lower edge itself
        {"2011", 17460'01, 3500'00, 19283'34, 1823'33},  // one cent more: past the zone
        {"2011", 0, 3500'00, 0, 0},
        {"2011", 500'00, 3000'00, 500'00, 0},           // all of it fills the short wage
        {"2011", 500'01, 3000'00, 500'01, 0},           // a base of 0.01 owes 0.0003
        {"2011", 17960'00, 3000'00, 18500'00, 540'00},  // the edge, plus the short 500
        {"2011", 17460'00, 3000'00, 17984'54, 524'54},  // base 17484.54 keeps 16960.00
        {"2019", 34920'00, 0, 36000'00, 1080'00},       // the wage plays no part
        {"2019", 34920'01, 0, 38566'68, 3646'67},
        {"2008", 5700'00, 2000'00, 6000'00, 300'00},
        {"2018", 34920'01, 9000'00, 38566'68, 3646'67},
    };
    for (const GrossCase &c : cases) {
        const std::optional<GrossBonus> gross = GrossBonusForNet(Period(c.Period), c.Net, c.Other);
        ASSERT_TRUE(gross) << c.Period << " net " << c.Net;
        EXPECT_EQ(gross->Bonus, c.Gross) << c.Period << " net " << c.Net;
        EXPECT_EQ(gross->Tax, c.Tax) << c.Period << " net " << c.Net;
        EXPECT_EQ(gross->AfterTax, c.Gross - c.Tax) << c.Period << " net " << c.Net;
    }
}

TEST(GrossWageForNet, GivesTheHandWorkedWage) {
    const GrossCase cases[] = {
        {"2011", 5000'00, 0, 5050'00, 50'00},  // 0.9 w + 455 = 5000
        {"2011", 5000'00, 1000'00, 6050'00, 50'00}, {"2011", 3500'00, 0, 3500'00, 0},
        {"2011", 3500'01, 0, 3500'01, 0},           {"2011", 0, 200'00, 200'00, 0},
        {"2008", 3000'00, 0, 3083'33, 83'33},     // 1083.33 x 10 % - 25 = 83.333
        {"2018", 10000'00, 0, 10322'22, 322'22},  // 5322.22 x 10 % - 210 = 322.222
    };
    for (const GrossCase &c : cases) {
        const std::optional<GrossWage> gross = GrossWageForNet(Period(c.Period), c.Net, c.Other);
        ASSERT_TRUE(gross) << c.Period << " net " << c.Net;
        EXPECT_EQ(gross->Wage, c.Gross) << c.Period << " net " << c.Net;
        EXPECT_EQ(gross->Tax, c.Tax) << c.Period << " net " << c.Net;
        EXPECT_EQ(gross->TakeHome, c.Gross - c.Other - c.Tax) << c.Period << " net " << c.Net;
    }
}

TEST(GrossForNet, RefusesAmountsOutOfRangeAndWagesFrom2019) {
    EXPECT_FALSE(GrossWageForNet(Period("2019"), 5000'00, 0));
    for (const PeriodRules &rules : AllPeriods()) {
        EXPECT_FALSE(GrossBonusForNet(rules, -1, 0));
        EXPECT_FALSE(GrossBonusForNet(rules, 0, -1));
        EXPECT_FALSE(GrossBonusForNet(rules, kMaxCents + 1, 0));
        EXPECT_FALSE(GrossBonusForNet(rules, 0, kMaxCents + 1));
        EXPECT_FALSE(GrossWageForNet(rules, kMaxCents + 1, 0));
        EXPECT_FALSE(GrossWageForNet(rules, 0, -1));
    }
}

Cents AfterTax(const PeriodRules &rules, Cents bonus, Cents wage) {
    return bonus - TaxBonus(rules, bonus, wage).Tax;
}

Cents TakeHome(const PeriodRules &rules, Cents wage, Cents deductions) {
    return wage - deductions - *MonthlyWageTax(rules, wage, deductions);
}

// Against the definition by brute force: scan every bonus from 0 up, and the first
// one whose after-tax amount reaches a net is that net's answer.
TEST(GrossBonusForNet, IsTheFirstBonusReachingTheNetInAScanOfEveryCent) {
    struct Scan {
        std::string_view Period;
        Cents Wage;
        Cents Top;
    };
    for (const Scan &scan : {Scan{"2011", 3200'00, 21000'00}, Scan{"2019", 0, 40000'00},
                             Scan{"2008", 2000'00, 7000'00}, Scan{"2018", 4999'99, 40000'00}}) {
        const PeriodRules &rules = Period(scan.Period);
        Cents reached = -1;  // every net up to this has its answer below the bonus scanned
        for (Cents bonus = 0; bonus <= scan.Top; ++bonus) {
            const Cents kept = AfterTax(rules, bonus, scan.Wage);
            // Nets in (reached, kept] are first reached here: try both ends where the
            // after-tax amount jumps (past a zone) and every 37th cent elsewhere.
            if (kept > reached && (kept - reached > 1 || bonus % 37 == 0)) {
                for (const Cents net : {reached + 1, kept}) {
                    ASSERT_EQ(GrossBonusForNet(rules, net, scan.Wage)->Bonus, bonus)
                        << scan.Period << " net " << net;
                }
            }
            reached = std::max(reached, kept);
        }
    }
}

// Large amounts: the answer reaches the net, one cent less does not, and no bonus
// below it reaches it: within a row the after-tax amount never falls, so the most
// any smaller bonus keeps is that of one cent less or of some row's top.
TEST(GrossForNet, ReachesTheNetWhereNoSmallerAmountDoes) {
    std::mt19937_64 random(9);
    std::uniform_int_distribution<Cents> nets(0, 3'000'000'00);
    std::uniform_int_distribution<Cents> wages(0, 8000'00);
    for (const PeriodRules &rules : AllPeriods()) {
        for (int i = 0; i < 3000; ++i) {
            const Cents net = i < 1500 ? nets(random) : nets(random) % 200'000'00;
            const Cents wage = wages(random);
            const GrossBonus bonus = *GrossBonusForNet(rules, net, wage);
            EXPECT_GE(AfterTax(rules, bonus.Bonus, wage), net);
            EXPECT_EQ(bonus.AfterTax, AfterTax(rules, bonus.Bonus, wage));
            if (bonus.Bonus > 0) {
                EXPECT_LT(AfterTax(rules, bonus.Bonus - 1, wage), net) << rules.Name << " net " << net;
            }
            const Cents shortfall = -BonusBaseOf(rules, 0, wage);
            for (const CentsBracket &row : rules.Brackets.first(rules.Brackets.size() - 1)) {
                const Cents top = 12 * row.UpperBound + shortfall;
                if (top < bonus.Bonus) {
                    EXPECT_LT(AfterTax(rules, top, wage), net) << rules.Name << " net " << net;
                }
            }
            EXPECT_FALSE(TaxBonus(rules, bonus.Bonus, wage).InBlindZone) << rules.Name << " net " << net;

            if (!TaxesWagesMonthly(rules)) {
                continue;
            }
            const Cents deductions = wages(random) / 4;
            const GrossWage gross = *GrossWageForNet(rules, net, deductions);
            EXPECT_GE(TakeHome(rules, gross.Wage, deductions), net);
            EXPECT_LT(TakeHome(rules, gross.Wage - 1, deductions), net) << rules.Name << " net " << net;
            EXPECT_EQ(gross.TakeHome, TakeHome(rules, gross.Wage, deductions));
        }
    }
    // The very largest net has an answer that the arithmetic still holds.
    for (const PeriodRules &rules : AllPeriods()) {
        const GrossBonus bonus = *GrossBonusForNet(rules, kMaxCents, kMaxCents);
        EXPECT_GE(bonus.AfterTax, kMaxCents);
        EXPECT_LT(AfterTax(rules, bonus.Bonus - 1, kMaxCents), kMaxCents);
    }
}

}  // namespace
}  // namespace taxcalc
