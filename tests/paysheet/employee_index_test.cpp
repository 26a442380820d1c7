// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/employee_index.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace taxcalc {
namespace {

// Against a plain map: each key numbered as first met, through many growths of the
// table, keys that share their beginnings and an empty key among them.
TEST(EmployeeIndex, NumbersEachKeyAsFirstMet) {
    EmployeeIndex index(1);
    std::map<std::string, std::uint32_t> expected;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 5000; ++i) {
            const std::string key = i % 97 == 0 ? std::string() : "1101" + std::to_string(i * 7919 % 5000);
            const auto [at, added] = expected.emplace(key, static_cast<std::uint32_t>(expected.size()));
            EXPECT_EQ(index.NumberOf(key), at->second) << key;
        }
    }
    EXPECT_EQ(index.Size(), expected.size());
}

TEST(EmployeeIndex, AsksForHugePagesOnlyInsideTheRange) {
    // Too small a range holds no whole huge page: nothing is asked, nothing breaks.
    std::vector<char> small(4096, 1);
    EmployeeIndex::AskForHugePages(small.data(), small.size());
    std::vector<char> large(std::size_t{5} << 20, 1);
    EmployeeIndex::AskForHugePages(large.data(), large.size());
    EXPECT_EQ(small.front() + large.back(), 2);
}

}  // namespace
}  // namespace taxcalc
