// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The prepayment on one payment of remuneration, worked by hand at each edge.
#include "engine/remuneration.h"

#include <gtest/gtest.h>

#include <vector>

namespace taxcalc {
namespace {

TEST(Remuneration, EachKindAtItsEdges) {
    struct Case {
        RemunerationKind Kind;
        Cents Income;
        Cents Revenue;
        Cents Taxable;
        int Rate;
        Cents Tax;
    };
    using enum RemunerationKind;
    const std::vector<Case> cases{
        {Labour, 80000, 0, 0, 20, 0},                      // 800 less 800
        {Labour, 400000, 320000, 320000, 20, 64000},       // 4000 less 800
        {Labour, 400001, 320001, 320001, 20, 64000},       // 4000.01 x 80% = 3200.008
        {Labour, 2500000, 2000000, 2000000, 20, 400000},   // 20000 taxable: still 20%
        {Labour, 2500002, 2000002, 2000002, 30, 400001},   // 20000.02 x 30% - 2000 = 4000.006
        {Labour, 6250000, 5000000, 5000000, 30, 1300000},  // 50000 taxable: still 30%
        {Labour, 6250002, 5000002, 5000002, 40, 1300001},  // 50000.02 x 40% - 7000 = 13000.008
        {Author, 400000, 320000, 224000, 20, 44800},       // 3200 x 70%
        {Author, 1000000, 800000, 560000, 20, 112000},
        {Royalty, 1000000, 800000, 800000, 20, 160000},
        {Royalty, 50000, 0, 0, 20, 0},
    };
    for (const Case &c : cases) {
        const std::optional<RemunerationTax> tax = PrepayRemuneration(c.Kind, c.Income);
        ASSERT_TRUE(tax.has_value());
        EXPECT_EQ(tax->Revenue, c.Revenue) << c.Income;
        EXPECT_EQ(tax->Taxable, c.Taxable) << c.Income;
        EXPECT_EQ(tax->RatePercent, c.Rate) << c.Income;
        EXPECT_EQ(tax->Tax, c.Tax) << c.Income;
        EXPECT_EQ(tax->AfterTax, c.Income - c.Tax) << c.Income;
    }
    EXPECT_FALSE(PrepayRemuneration(Labour, -1).has_value());
}

}  // namespace
}  // namespace taxcalc
