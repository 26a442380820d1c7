// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The months of one employee linked across a whole table: what each month withholds,
// in whatever order the rows come, and which rows a refused month takes with it.
// Every figure below is worked by hand.
#include "paysheet/withholding_mode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "paysheet/payroll_outcomes.h"
#include "tests/sheet/sheet_streams.h"

namespace taxcalc {
namespace {

struct RowResult {
    std::string Withheld;  // 本期应预扣预缴税额
    std::string Error;
};

// Each row's withholding (or its error) in the file's order.
std::vector<RowResult> Withhold(const std::string &csv) {
    auto table = std::make_shared<PayrollTable>();
    const test::FilePtr file = test::FileWith(csv);
    std::string error;
    EXPECT_EQ(table->Read(file.get(), error), PayrollTable::Status::Done) << error;
    std::optional<PayrollOutcomes> outcomes;
    EXPECT_EQ(PayrollOutcomes::Compute(table, *Computation::Resolve(BatchMode::Withhold), outcomes, error),
              PayrollOutcomes::Status::Done)
        << error;
    const auto headers = outcomes->AddedHeaders();
    const std::size_t withheld = static_cast<std::size_t>(
        std::find(headers.begin(), headers.end(), "本期应预扣预缴税额") - headers.begin());
    std::vector<RowResult> results;
    RowFigures figures;
    for (std::size_t row = 0; row < table->Rows(); ++row) {
        outcomes->Figures(row, figures);
        results.push_back({figures.Error.empty() ? figures.Cells[withheld] : "", figures.Error});
    }
    return results;
}

std::vector<std::string> WithheldOf(const std::vector<RowResult> &results) {
    std::vector<std::string> withheld;
    for (const RowResult &result : results) {
        withheld.push_back(result.Error.empty() ? result.Withheld : "×" + result.Error);
    }
    return withheld;
}

// Months `from`..`to` of 2026 for one employee, `income` a month, other columns as given.
std::string Months(const std::string &id, int from, int to, const std::string &rest) {
    std::string rows;
    for (int month = from; month <= to; ++month) {
        rows += id + ",2026-" + std::to_string(month) + "," + rest + "\n";
    }
    return rows;
}

TEST(WithholdMode, WorkedYearByHand) {
    // 20000 a month, 3000 of insurance, 2000 a month of special additional deductions:
    // 10000 of taxable income a month, the 10% row reached in April.
    std::string csv = "工号,所属月份,本期收入,三险一金,累计专项附加扣除\n";
    for (int month = 1; month <= 12; ++month) {
        csv += "7,2026-" + std::to_string(month) + ",20000,3000," + std::to_string(2000 * month) + "\n";
    }
    const std::vector<std::string> expected{"300.00",  "300.00",  "300.00",  "580.00",  "1000.00", "1000.00",
                                            "1000.00", "1000.00", "1000.00", "1000.00", "1000.00", "1000.00"};
    EXPECT_EQ(WithheldOf(Withhold(csv)), expected);

    // Shuffled, the rows keep their places and their figures.
    std::vector<std::string> lines;
    for (std::size_t at = csv.find('\n') + 1; at < csv.size();) {
        const std::size_t end = csv.find('\n', at);
        lines.push_back(csv.substr(at, end - at + 1));
        at = end + 1;
    }
    std::vector<std::size_t> order(lines.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::shuffle(order.begin(), order.end(), std::mt19937(2026));
    std::string shuffled = "工号,所属月份,本期收入,三险一金,累计专项附加扣除\n";
    for (const std::size_t i : order) {
        shuffled += lines[i];
    }
    const std::vector<std::string> got = WithheldOf(Withhold(shuffled));
    for (std::size_t k = 0; k < order.size(); ++k) {
        EXPECT_EQ(got[k], expected[order[k]]) << "month " << order[k] + 1;
    }
}

TEST(WithholdMode, StartMonthAllowanceAndLeaving) {
    struct Case {
        const char *Name;
        std::string Csv;
        std::vector<std::string> Withheld;
    };
    const std::string head =
        "证件号码,所属月份,本期收入,任职受雇从业日期,离职日期,按6万元减除,年内首次取得工资,"
        "是否扣除减除费用\n";
    const std::vector<Case> cases{
        // Hired in July: 5000 a month from July; 15000, 30000, 45000 taxable.
        {"hired in July",
         head + Months("110x", 7, 9, "20000,2026-07-15,,,,"),
         {"450.00", "450.00", "1080.00"}},
        // No date: the first month in the file starts the allowance.
        {"no hire date",
         "证件号码,所属月份,本期收入\n" + Months("110X", 7, 9, "20000"),
         {"450.00", "450.00", "1080.00"}},
        // Hired last year: the allowance counts from January, 35000 by July.
        {"hired before the year", head + Months("1", 7, 8, "20000,2025-03-01,,,,"), {"0.00", "0.00"}},
        // A first job this year counts from January too.
        {"first job in July", head + Months("1", 7, 8, "20000,2026-07-01,,,是,"), {"0.00", "0.00"}},
        // 60000 at once: nothing taxable until April's 80000.
        {"the 60000 rule", head + Months("1", 1, 4, "20000,,,是,,"), {"0.00", "0.00", "0.00", "600.00"}},
        // 20000 taxable, then 40000 at 10%: 4000 - 2520 - 600.
        {"no allowance", head + Months("1", 1, 2, "20000,,,,,否"), {"600.00", "880.00"}},
        // Left in February, paid in March: no allowance for March; 30000 less 10000.
        {"paid after leaving",
         head + Months("1", 1, 3, "10000,,2026-02-28,,,"),
         {"150.00", "150.00", "300.00"}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(WithheldOf(Withhold(c.Csv)), c.Withheld) << c.Name;
    }
}

TEST(WithholdMode, RefusedMonthsTakeTheLaterOnesWithThem) {
    struct Case {
        const char *Name;
        std::string Csv;
        std::vector<std::string> Withheld;
    };
    const std::string head = "工号,所属月份,本期收入\n";
    const std::vector<Case> cases{
        {"a bad March",
         head + "1,2026-01,10000\n1,2026-02,10000\n1,2026-03,一万\n1,2026-04,10000\n2,2026-04,10000\n",
         {"150.00", "150.00", "×本期收入：不是数字", "×3月未能计算", "150.00"}},
        {"two rows for one month",
         head + "1,2026-01,10000\n1,2026-02,10000\n1,2026-02,10000\n1,2026-03,10000\n",
         {"150.00", "×同一员工的2月有两行", "×同一员工的2月有两行", "×2月未能计算"}},
        {"another year and no employee",
         head + "1,2026-01,10000\n1,2025-12,10000\n,2026-01,10000\n1,2026-13,10000\n",
         {"150.00", "×所属月份：不在本表的纳税年度（2026 年）", "×不知是哪位员工：证件号码、工号或姓名是空的",
          "×所属月份：不是月份（如 2026-03）"}},
        {"before cumulation", head + "1,2018-12,10000\n", {"×所属月份：2019 年以前的工资不按累计预扣法预扣"}},
        {"a negative income",
         head + "1,2026-01,-1\n1,2026-02,10000\n",
         {"×本期收入：不能为负数", "×1月未能计算"}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(WithheldOf(Withhold(c.Csv)), c.Withheld) << c.Name;
    }
}

TEST(WithholdMode, PersonFactsMustAgree) {
    const std::string head = "工号,所属月份,本期收入,任职受雇从业日期,按6万元减除\n";
    EXPECT_EQ(WithheldOf(Withhold(head + "1,2026-01,10000,2020-01-01,\n1,2026-02,10000,2021-01-01,\n")),
              (std::vector<std::string>{"×同一员工各行的任职受雇从业日期不一致",
                                        "×同一员工各行的任职受雇从业日期不一致"}));
    EXPECT_EQ(WithheldOf(Withhold(head + "1,2026-05,10000,2026-05-01,是\n")),
              (std::vector<std::string>{"×按6万元减除：本年度内才任职受雇，不能按6万元减除"}));
    EXPECT_EQ(WithheldOf(Withhold(head + "1,2026-05,10000,2026-06-01,\n")),
              (std::vector<std::string>{"×所属月份：在任职受雇从业日期之前"}));
    EXPECT_EQ(WithheldOf(Withhold(head + "1,2026-12,10000,2027-01-01,\n")),
              (std::vector<std::string>{"×任职受雇从业日期：在纳税年度之后"}));
}

TEST(WithholdMode, HeaderChecks) {
    const auto refusal = [](const std::string &header) {
        auto table = std::make_shared<PayrollTable>();
        const test::FilePtr file = test::FileWith(header + "\n");
        std::string error;
        table->Read(file.get(), error);
        std::optional<PayrollOutcomes> outcomes;
        PayrollOutcomes::Compute(table, *Computation::Resolve(BatchMode::Withhold), outcomes, error);
        return error;
    };
    EXPECT_EQ(refusal("工号,所属月份,本期收入,三险一金,住房公积金"),
              "表头既有三险一金列，又有它的分项住房公积金列：只能用其中一种");
    EXPECT_EQ(refusal("工号,所属月份,本期收入,累计专项附加扣除,累计住房租金"),
              "表头既有累计专项附加扣除列，又有它的分项累计住房租金列：只能用其中一种");
    EXPECT_EQ(refusal("所属月份,本期收入"), "表头中没有证件号码、工号或姓名列，分不出各位员工");
    EXPECT_EQ(refusal("工号,本期收入"), "表头中没有所属月份列（列名“所属月份”或“month”）");
}

}  // namespace
}  // namespace taxcalc
