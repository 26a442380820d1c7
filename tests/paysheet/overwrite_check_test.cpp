// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// When the payroll window may save over a file that exists, and what it tells.
#include "paysheet/overwrite_check.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/sheet/workbook_files.h"

namespace taxcalc {
namespace {

using test::ScratchFolder;
using Verdict = OverwriteCheck::Verdict;

PayrollTable TableFrom(const std::string &path) {
    PayrollTable table;
    std::FILE *file = std::fopen(path.c_str(), "rb");
    std::string error;
    EXPECT_EQ(table.Read(file, error), PayrollTable::Status::Done) << error;
    std::fclose(file);
    return table;
}

TEST(OverwriteCheck, ReplacesTheInputOnlyWhenAskedAndNeverOverWhatWouldBeLost) {
    ScratchFolder folder;
    folder.Write("utf8.csv", "年终奖\n18001\n");
    folder.Write("gbk.csv", "\xC4\xEA\xD6\xD5\xBD\xB1\n18001\n");  // 年终奖
    folder.Write("broken.csv", "年终奖,备注\n18001,\xE5\xB9\n");
    folder.Write("other.csv", "old");
    // The bonus mode's own output, and a file of the user's whose columns carry the
    // names of some of the mode's.
    const std::string added =
        "2011年终奖个税,税后年终奖,是否盲区,建议年终奖,建议税额,建议税后年终奖,2010方法个税,节省";
    folder.Write("own.csv", "年终奖," + added +
                                ",错误\n18001,1695.10,16305.90,是,18000,540.00,17460.00,1775.10,80.00,\n");
    folder.Write("users.csv", "年终奖,税后年终奖,备注,错误\n18001,99999,x,手填\n");
    folder.Write("reordered.csv", "年终奖,错误," + added + "\n18001,,1,2,是,4,5,6,7,8\n");
    ASSERT_EQ(link(folder.Path("utf8.csv").c_str(), folder.Path("linked.csv").c_str()), 0);
    test::RunPython(folder, R"(import sys, openpyxl
wb = openpyxl.Workbook()
wb.active.append(["年终奖"])
wb.active.append([18001])
wb.save(sys.argv[1])
wb.create_sheet("汇总")
wb.save(sys.argv[2])
)",
                    {folder.Path("plain.xlsx"), folder.Path("two.xlsx")});
    struct Case {
        std::string Input;
        std::string Target;
        Verdict Expected;
        std::vector<std::string> Lost;
    };
    const Case cases[] = {
        {"utf8.csv", "utf8.csv", Verdict::ReplaceInput, {}},
        {"utf8.csv", "linked.csv", Verdict::ReplaceInput, {}},
        {"gbk.csv", "gbk.csv", Verdict::ReplaceInput, {"GB18030 编码（将存为 UTF-8）"}},
        {"broken.csv", "broken.csv", Verdict::Refuse, {"1 行中无法解码的字节（只有原文件里有）"}},
        {"broken.csv", "other.csv", Verdict::Replace, {}},
        {"plain.xlsx", "plain.xlsx", Verdict::ReplaceInput, {}},
        {"utf8.csv", "two.xlsx", Verdict::Refuse, {"工作表“汇总”"}},
        {"two.xlsx", "two.xlsx", Verdict::Refuse, {"工作表“汇总”"}},
        {"own.csv", "own.csv", Verdict::ReplaceInput, {}},
        {"users.csv",
         "users.csv",
         Verdict::Refuse,
         {"列“税后年终奖”、“错误”（与计算结果的列同名，但不是本程序写的）"}},
        {"reordered.csv",
         "reordered.csv",
         Verdict::Refuse,
         {"列“错误”、“2011年终奖个税”、“税后年终奖”、“是否盲区”、“建议年终奖”、“建议税额”、“建议税后年终奖”、"
          "“2010方法个税”、“节省”（与计算结果的列同名，但不是本程序写的）"}},
        {"users.csv", "other.csv", Verdict::Replace, {}},
    };
    const Computation bonus = *Computation::Resolve(BatchMode::Bonus);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Input + " over " + c.Target);
        const PayrollTable table = TableFrom(folder.Path(c.Input));
        Verdict verdict = Verdict::Replace;
        std::vector<std::string> lost;
        std::string error;
        ASSERT_TRUE(OverwriteCheck::Judge(table, bonus, folder.Path(c.Input), folder.Path(c.Target), verdict,
                                          lost, error))
            << error;
        EXPECT_EQ(verdict, c.Expected);
        EXPECT_EQ(lost, c.Lost);
    }
}

}  // namespace
}  // namespace taxcalc
