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

}  // namespace
}  // namespace taxcalc
