// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The year's reconciliation, worked by hand: refunds, payments, the bonus taxed the
// cheaper way and the waiver at its edges.
#include "engine/annual_reconciliation.h"

#include <gtest/gtest.h>

#include <vector>

namespace taxcalc {
namespace {

constexpr Cents Yuan(Cents yuan) {
    return yuan * kCentsPerYuan;
}

TEST(AnnualReconciliation, Cases) {
    struct Case {
        const char *Name;
        ReconciliationInput Year;
        Cents Taxable;
        Cents Tax;
        Cents Balance;
        Settlement Result;
        BonusMethod Method = BonusMethod::Separate;
    };
    using enum Settlement;
    const std::vector<Case> cases{
        // 1080 withheld on 36000; 15000 of serious illness declared now leaves 21000.
        {"illness declared now",
         {.Wages = Yuan(120000),
          .SpecialDeductions = Yuan(24000),
          .SpecialAdditionalDeductions = Yuan(15000),
          .TaxPaid = Yuan(1080)},
         Yuan(21000),
         Yuan(630),
         Yuan(-450),
         Refund},
        // Each employer took 5000 a month: 3480 and 1080 withheld; the year owes 14280.
        {"two employers",
         {.Wages = Yuan(216000), .TaxPaid = Yuan(4560)},
         Yuan(156000),
         Yuan(14280),
         Yuan(9720),
         Payment},
        // 150000 on its own costs 28590; joined to 30000 of wages, 120000 costs 9480.
        {"bonus cheaper joined",
         {.Wages = Yuan(30000), .Bonus = Yuan(150000), .TaxPaid = Yuan(28590)},
         Yuan(120000),
         Yuan(9480),
         Yuan(-19110),
         Refund,
         BonusMethod::Combined},
        // 31080 + 1080 on its own against 38280 joined.
        {"bonus cheaper separate",
         {.Wages = Yuan(300000), .Bonus = Yuan(36000), .TaxPaid = Yuan(32160)},
         Yuan(240000),
         Yuan(32160),
         0,
         Nothing},
        // 100000 + 8000 + 5600 + 8000 of revenue.
        {"labour, author and royalty",
         {.Wages = Yuan(100000), .Labour = Yuan(10000), .Author = Yuan(10000), .Royalty = Yuan(10000)},
         Yuan(61600),
         Yuan(3640),
         Yuan(3640),
         Payment},
        {"income at 120000", {.Wages = Yuan(120000)}, Yuan(60000), Yuan(3480), Yuan(3480), Waived},
        {"income at 120000.01",
         {.Wages = Yuan(120000) + 1},
         Yuan(60000) + 1,
         Yuan(3480),
         Yuan(3480),
         Payment},
        {"payment of 400",
         {.Wages = Yuan(200000), .TaxPaid = Yuan(11080)},
         Yuan(140000),
         Yuan(11480),
         Yuan(400),
         Waived},
        {"payment of 400.01",
         {.Wages = Yuan(200000), .TaxPaid = Yuan(11080) - 1},
         Yuan(140000),
         Yuan(11480),
         Yuan(400) + 1,
         Payment},
        {"small refund",
         {.Wages = Yuan(200000), .TaxPaid = Yuan(11580)},
         Yuan(140000),
         Yuan(11480),
         Yuan(-100),
         Refund},
        {"relief above the tax",
         {.Wages = Yuan(100000), .TaxRelief = Yuan(2000), .TaxPaid = Yuan(1480)},
         Yuan(40000),
         0,
         Yuan(-1480),
         Refund},
    };
    // Every year from 2019 to 2027 has the same rules.
    for (int taxYear = 2019; taxYear <= 2027; ++taxYear) {
        for (const Case &c : cases) {
            const std::optional<Reconciliation> year = Reconcile(c.Year, taxYear);
            ASSERT_TRUE(year.has_value()) << c.Name;
            EXPECT_EQ(year->Taxable, c.Taxable) << c.Name << " " << taxYear;
            EXPECT_EQ(year->Tax, c.Tax) << c.Name << " " << taxYear;
            EXPECT_EQ(year->Balance, c.Balance) << c.Name << " " << taxYear;
            EXPECT_EQ(year->Result, c.Result) << c.Name << " " << taxYear;
            EXPECT_EQ(year->Method, c.Method) << c.Name << " " << taxYear;
            EXPECT_TRUE(year->SeparateAllowed) << c.Name << " " << taxYear;
        }
    }
    EXPECT_FALSE(Reconcile({.Wages = -1}, 2026).has_value());
}

// From 2028 the bonus is joined to the year's income, there being no other way, and
// no payment is waived; the same years reconciled in 2027 for the contrast.
TEST(AnnualReconciliation, FromTwentyTwentyEightByThePermanentRules) {
    struct Case {
        const char *Name;
        ReconciliationInput Year;
        int TaxYear;
        Cents Taxable;
        Cents Tax;
        Cents Balance;
        Settlement Result;
        BonusMethod Method;
    };
    using enum Settlement;
    using enum BonusMethod;
    const ReconciliationInput smallPayment{
        .Wages = Yuan(100000), .Bonus = Yuan(20000), .TaxPaid = Yuan(3200)};
    const ReconciliationInput noBonus{.Wages = Yuan(100000), .TaxPaid = Yuan(1180)};
    const ReconciliationInput cheaperApart{.Wages = Yuan(200000), .Bonus = Yuan(100000)};
    const std::vector<Case> cases{
        // 120000 - 60000 = 60000 at 10% less 2520: 3480; 280 more than was paid.
        {"bonus joined, 280 to pay", smallPayment, 2028, Yuan(60000), Yuan(3480), Yuan(280), Payment,
         Combined},
        // In 2027: wages 40000 -> 1480, the bonus 20000 at 3% -> 600: 2080, 1120 back.
        {"2027: bonus apart, refund", smallPayment, 2027, Yuan(40000), Yuan(2080), Yuan(-1120), Refund,
         Separate},
        // 40000 at 10% less 2520: 1480, 300 to pay; in 2027 the income of 100000 waived it.
        {"no waiver of 300", noBonus, 2028, Yuan(40000), Yuan(1480), Yuan(300), Payment, Combined},
        {"2027: 300 waived", noBonus, 2027, Yuan(40000), Yuan(1480), Yuan(300), Waived, Combined},
        // 240000 at 20% less 16920: 31080, although apart it would be 11480 + 9790.
        {"joined though dearer", cheaperApart, 2028, Yuan(240000), Yuan(31080), Yuan(31080), Payment,
         Combined},
        {"2027: apart", cheaperApart, 2027, Yuan(140000), Yuan(21270), Yuan(21270), Payment, Separate},
        {"refund",
         {.Wages = Yuan(80000), .TaxPaid = Yuan(2000)},
         2030,
         Yuan(20000),
         Yuan(600),
         Yuan(-1400),
         Refund,
         Combined},
    };
    for (const Case &c : cases) {
        const std::optional<Reconciliation> year = Reconcile(c.Year, c.TaxYear);
        ASSERT_TRUE(year.has_value()) << c.Name;
        EXPECT_EQ(year->Taxable, c.Taxable) << c.Name;
        EXPECT_EQ(year->Tax, c.Tax) << c.Name;
        EXPECT_EQ(year->Balance, c.Balance) << c.Name;
        EXPECT_EQ(year->Result, c.Result) << c.Name;
        if (c.Year.Bonus > 0) {
            EXPECT_EQ(year->Method, c.Method) << c.Name;
        }
        EXPECT_EQ(year->SeparateAllowed, c.TaxYear <= 2027) << c.Name;
        if (c.TaxYear > 2027) {
            EXPECT_EQ(year->SeparateTax, 0) << c.Name;
            EXPECT_EQ(year->CombinedTax, c.Tax) << c.Name;
        }
    }
    EXPECT_FALSE(Reconcile(smallPayment, 2018).has_value());
    EXPECT_TRUE(Reconcile(smallPayment, 2019).has_value());
}

// From 2028 the bonus joins the year's income and no payment is waived: the same
// years, worked by hand, under the rules of 2027 and of 2028.
TEST(AnnualReconciliation, AfterTheBonusAndTheWaiverEnded) {
    struct Case {
        const char *Name;
        ReconciliationInput Year;
        Cents Taxable2027;
        Cents Tax2027;
        Settlement Result2027;
        Cents Taxable2028;
        Cents Tax2028;
        Settlement Result2028;
    };
    using enum Settlement;
    const std::vector<Case> cases{
        // 40000 taxable: 4000 - 2520 = 1480; 80 to pay on 100000 of income.
        {"small payment, small income",
         {.Wages = Yuan(100000), .TaxPaid = Yuan(1400)},
         Yuan(40000),
         Yuan(1480),
         Waived,
         Yuan(40000),
         Yuan(1480),
         Payment},
        // 140000 taxable: 14000 - 2520 = 11480; 400 to pay.
        {"payment of 400",
         {.Wages = Yuan(200000), .TaxPaid = Yuan(11080)},
         Yuan(140000),
         Yuan(11480),
         Waived,
         Yuan(140000),
         Yuan(11480),
         Payment},
        // 2027: 240000 x 20% - 16920 = 31080, and 36000 on its own 1080. 2028: 276000
        // joined, 55200 - 16920 = 38280, 6120 more than paid.
        {"bonus joined",
         {.Wages = Yuan(300000), .Bonus = Yuan(36000), .TaxPaid = Yuan(32160)},
         Yuan(240000),
         Yuan(32160),
         Nothing,
         Yuan(276000),
         Yuan(38280),
         Payment},
        // Joined already costs less: 120000 taxable, 12000 - 2520 = 9480.
        {"bonus cheaper joined",
         {.Wages = Yuan(30000), .Bonus = Yuan(150000), .TaxPaid = Yuan(28590)},
         Yuan(120000),
         Yuan(9480),
         Refund,
         Yuan(120000),
         Yuan(9480),
         Refund},
        // 110000 of income with the bonus: 50000 taxable, 5000 - 2520 = 2480; in 2027
        // the bonus of 10000 on its own (300) and 40000 taxable (1480).
        {"bonus within small income",
         {.Wages = Yuan(100000), .Bonus = Yuan(10000), .TaxPaid = Yuan(1000)},
         Yuan(40000),
         Yuan(1780),
         Waived,
         Yuan(50000),
         Yuan(2480),
         Payment},
    };
    for (const Case &c : cases) {
        const std::optional<Reconciliation> before = Reconcile(c.Year, 2027);
        const std::optional<Reconciliation> after = Reconcile(c.Year, 2028);
        ASSERT_TRUE(before.has_value() && after.has_value()) << c.Name;
        EXPECT_EQ(before->Taxable, c.Taxable2027) << c.Name;
        EXPECT_EQ(before->Tax, c.Tax2027) << c.Name;
        EXPECT_EQ(before->Result, c.Result2027) << c.Name;
        EXPECT_EQ(after->Taxable, c.Taxable2028) << c.Name;
        EXPECT_EQ(after->Tax, c.Tax2028) << c.Name;
        EXPECT_EQ(after->Balance, c.Tax2028 - c.Year.TaxPaid) << c.Name;
        EXPECT_EQ(after->Result, c.Result2028) << c.Name;
        EXPECT_FALSE(after->SeparateAllowed) << c.Name;
        EXPECT_EQ(after->SeparateTax, 0) << c.Name;
        EXPECT_EQ(after->CombinedTax, c.Tax2028) << c.Name;
        EXPECT_EQ(after->Method, BonusMethod::Combined) << c.Name;
        // Every later year has the same permanent rules.
        for (const int later : {2029, 2040, 9999}) {
            const std::optional<Reconciliation> year = Reconcile(c.Year, later);
            ASSERT_TRUE(year.has_value()) << c.Name;
            EXPECT_EQ(year->Tax, c.Tax2028) << c.Name << " " << later;
            EXPECT_EQ(year->Result, c.Result2028) << c.Name << " " << later;
        }
    }
}

TEST(AnnualReconciliation, NoYearBeforeComprehensiveIncome) {
    EXPECT_FALSE(Reconcile({.Wages = Yuan(100000)}, 2018).has_value());
    EXPECT_FALSE(Reconcile({.Wages = Yuan(100000)}, 0).has_value());
    EXPECT_FALSE(Reconcile({.Wages = Yuan(100000)}, 10000).has_value());
    EXPECT_TRUE(Reconcile({.Wages = Yuan(100000)}, 2019).has_value());
}

}  // namespace
}  // namespace taxcalc
