// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/number_text.h"
#include "engine/pay_planner.h"

namespace taxcalc {
namespace {

std::string CentsText(Cents cents) {
    const std::string fraction = std::to_string(cents % 100);
    return std::to_string(cents / 100) + (fraction.size() < 2 ? ".0" : ".") + fraction;
}

// The monthly wage tax in cents of the 2011 and 2008 periods is the 2011 and 2010
// tax exactly as the wage panel shows it, over every row, bound and half cent.
TEST(MonthlyWageTax, ShowsAsTheWagePanelShowsItsTaxes) {
    std::vector<Cents> wages;
    for (Cents wage = 0; wage <= 120000'00; wage += 7'13) {
        wages.push_back(wage);
    }
    // Every cent just above each allowance, where the halves of the first rows lie.
    for (Cents wage = 2000'00; wage <= 2100'00; ++wage) {
        wages.push_back(wage);
        wages.push_back(wage + 1500'00);
    }
    std::mt19937_64 random(8);
    std::uniform_int_distribution<Cents> anyWage(0, 1'000'000'00);
    for (int i = 0; i < 20000; ++i) {
        wages.push_back(anyWage(random));
    }
    const PeriodRules &rules2011 = *FindPeriod("2011");
    const PeriodRules &rules2008 = *FindPeriod("2008");
    for (const Cents deductions : {Cents{0}, Cents{123'45}, Cents{1000'07}}) {
        for (const Cents wage : wages) {
            const WageTaxComparison shown =
                CompareWageTax(static_cast<double>(wage) / 100, static_cast<double>(deductions) / 100);
            ASSERT_EQ(CentsText(*MonthlyWageTax(rules2011, wage, deductions)), MoneyForm(shown.Tax2011))
                << "wage " << wage << " less " << deductions;
            ASSERT_EQ(CentsText(*MonthlyWageTax(rules2008, wage, deductions)), MoneyForm(shown.Tax2010))
                << "wage " << wage << " less " << deductions;
        }
    }
}

}  // namespace
}  // namespace taxcalc
