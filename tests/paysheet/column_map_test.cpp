// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/column_map.h"

#include <gtest/gtest.h>

#include "tests/paysheet/row_helpers.h"

namespace taxcalc {
namespace {

constexpr std::size_t kMissing = ColumnMap::kMissing;

CsvRecord Header(const std::vector<std::string> &cells) {
    return test::RecordOf(cells);
}

std::optional<ColumnMap> Find(BatchMode mode, const CsvRecord &header, std::string &error,
                              const PeriodRules *rules = nullptr) {
    const std::optional<Computation> computation = Computation::Resolve(mode, rules);
    if (!computation) {
        error = "no such computation";
        return std::nullopt;
    }
    return ColumnMap::Find(*computation, header, error);
}

TEST(ColumnMap, FindsTheFiguresByTheirHeaders) {
    struct Case {
        BatchMode Mode;
        std::vector<std::string> Header;
        std::size_t First;
        std::size_t Second;
        std::string FirstName;
        std::string SecondName;
    };
    const Case cases[] = {
        {BatchMode::Bonus, {"姓名", "年终奖", "当月工资"}, 1, 2, "年终奖", "当月工资"},
        {BatchMode::Bonus, {"当月工资", "备注", "年终奖"}, 2, 0, "年终奖", "当月工资"},
        {BatchMode::Bonus, {"Name", " BONUS ", "\tWage"}, 1, 2, "BONUS", "Wage"},
        {BatchMode::Bonus, {"年终奖"}, 0, kMissing, "年终奖", "当月工资"},
        {BatchMode::Bonus, {"bonus", "每月薪金", "三险一金"}, 0, kMissing, "bonus", "当月工资"},
        {BatchMode::Wage, {"每月薪金", "三险一金"}, 0, 1, "每月薪金", "三险一金"},
        {BatchMode::Wage, {"id", "Deductions", "wage"}, 2, 1, "wage", "Deductions"},
        {BatchMode::Wage, {"每月薪金", "年终奖", "当月工资"}, 0, kMissing, "每月薪金", "三险一金"},
    };
    for (const Case &c : cases) {
        std::string error;
        const std::optional<ColumnMap> map = Find(c.Mode, Header(c.Header), error);
        ASSERT_TRUE(map.has_value()) << testing::PrintToString(c.Header) << error;
        EXPECT_EQ(map->Column(0), c.First);
        EXPECT_EQ(map->Column(1), c.Second);
        EXPECT_EQ(map->Name(0), c.FirstName);
        EXPECT_EQ(map->Name(1), c.SecondName);
    }
}

TEST(ColumnMap, RefusesAHeaderWithoutTheFigureOrWithTwoOfIt) {
    struct Case {
        BatchMode Mode;
        std::vector<std::string> Header;
        std::string Error;
    };
    const Case cases[] = {
        {BatchMode::Bonus, {"姓名", "当月工资"}, "表头中没有年终奖列（列名“年终奖”或“bonus”）"},
        {BatchMode::Bonus, {"年终奖金"}, "表头中没有年终奖列（列名“年终奖”或“bonus”）"},
        {BatchMode::Wage, {"wages", "三险一金"}, "表头中没有每月薪金列（列名“每月薪金”或“wage”）"},
        {BatchMode::Bonus,
         {"年终奖", "x", "Bonus"},
         "表头有两列年终奖（第 1 列“年终奖”和第 3 列“Bonus”），不知该用哪一列"},
        {BatchMode::Wage,
         {"每月薪金", "三险一金", "deductions"},
         "表头有两列三险一金（第 2 列“三险一金”和第 3 列“deductions”），不知该用哪一列"},
    };
    for (const Case &c : cases) {
        std::string error;
        EXPECT_FALSE(Find(c.Mode, Header(c.Header), error).has_value());
        EXPECT_EQ(error, c.Error);
    }
}

}  // namespace
}  // namespace taxcalc
