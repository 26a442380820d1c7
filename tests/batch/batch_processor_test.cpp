// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/batch_processor.h"

#include <gtest/gtest.h>

#include "tests/batch/test_streams.h"

namespace taxcalc {
namespace {

using test::k18000;
using test::k18001;
using test::kBonusHeads;
using test::kNoFigures;
using test::RunBatch;
using test::Sheet;

const std::string kWageHeads = "调整前需纳税,调整后需纳税,结果,差额,错误";

TEST(BatchProcessor, ReadsUtf8WithOrWithoutMarkAndGbk) {
    const std::string expected = Sheet({"姓名,年终奖,当月工资," + kBonusHeads, "张三,18001,3500," + k18001});
    // 姓名,年终奖,当月工资 and 张三 in GBK, as Excel saves them on Chinese Windows.
    const std::string gbk =
        "\xD0\xD5\xC3\xFB,\xC4\xEA\xD6\xD5\xBD\xB1,\xB5\xB1\xD4\xC2\xB9\xA4\xD7\xCA\r\n"
        "\xD5\xC5\xC8\xFD,18001,3500\r\n";
    const std::string utf8 = "姓名,年终奖,当月工资\n张三,18001,3500\n";
    const std::pair<std::string, std::string> cases[] = {
        {gbk, "编码 GB18030（按全文判断）"},
        {utf8, "编码 UTF-8（按全文判断）"},
        {"\xEF\xBB\xBF" + utf8, "编码 UTF-8（带 BOM）"},
    };
    for (const auto &[input, said] : cases) {
        const test::BatchRun run = RunBatch(BatchMode::Bonus, input);
        EXPECT_EQ(run.Status, kAllComputed);
        EXPECT_EQ(run.Output, expected);
        EXPECT_EQ(run.Diagnostics, "taxcalc-batch: " + said + "\n");
    }
}

TEST(BatchProcessor, PassesQuotedCellsThroughUnchanged) {
    const std::string input =
        "\"名, 字\",bonus,\"备注\"\r\n"
        "\"王, 五\",18000,\"他说 \"\"好\"\"\r\n第二行\"\r\n"
        "plain,18001,\"a\nb\"\r\n";
    const test::BatchRun run = RunBatch(BatchMode::Bonus, input);
    EXPECT_EQ(run.Status, kAllComputed);
    EXPECT_EQ(run.Output, Sheet({"\"名, 字\",bonus,备注," + kBonusHeads,
                                 "\"王, 五\",18000,\"他说 \"\"好\"\"\r\n第二行\"," + k18000,
                                 "plain,18001,\"a\nb\"," + k18001}));
}

TEST(BatchProcessor, RefusedRowsKeepTheirPlaceAndProcessingGoesOn) {
    const std::string input =
        "id,年终奖,当月工资,note\n"
        "1,abc,3500,x\n"
        "2,\"multi\nline\",,y\n"
        "3,18001,,z\n"
        "4,,1000\n"
        "5,18000,3500,w,extra,\n"
        "6,18000,3500,w,,\n"
        ",,,\n"
        "7,18000,\xFF\xFE\n"
        "8,18001\n";
    const test::BatchRun run = RunBatch(BatchMode::Bonus, input);
    EXPECT_EQ(run.Status, kSomeRefused);
    EXPECT_EQ(
        run.Output,
        Sheet({"id,年终奖,当月工资,note," + kBonusHeads, "1,abc,3500,x," + kNoFigures + "年终奖：不是数字",
               "2,\"multi\nline\",,y," + kNoFigures + "年终奖：不是数字", "3,18001,,z," + k18001,
               "4,,1000,," + kNoFigures + "年终奖：空白",
               "5,18000,3500,w," + kNoFigures + "列数：比表头多 1 列,extra", "6,18000,3500,w," + k18000,
               ",,,," + kNoFigures,
               "7,18000,\\xFF\\xFE,," + kNoFigures + "编码：第 3 列有无法按 UTF-8 读出的字节，已写作 \\xHH",
               "8,18001,,," + k18001}));
    EXPECT_EQ(run.Diagnostics,
              "taxcalc-batch: 编码 UTF-8（按全文判断）\n"
              "taxcalc-batch: 第 2 行：年终奖：不是数字\n"
              "taxcalc-batch: 第 3 行：年终奖：不是数字\n"
              "taxcalc-batch: 第 6 行：年终奖：空白\n"
              "taxcalc-batch: 第 7 行：列数：比表头多 1 列\n"
              "taxcalc-batch: 第 10 行：编码：第 3 列有无法按 UTF-8 读出的字节，已写作 \\xHH\n"
              "taxcalc-batch: 9 行中有 1 行空行（原样保留，未计算），5 行未能计算，原因见输出的“错误”列\n");
    EXPECT_EQ(run.Counts.Rows, 9U);
    EXPECT_EQ(run.Counts.Blank, 1U);
    EXPECT_EQ(run.Counts.Refused, 5U);
    EXPECT_EQ(run.Counts.Escaped, 1U);
}

TEST(BatchProcessor, MissingOptionalColumnsTakeThePanelsDefaults) {
    const test::BatchRun bonus = RunBatch(BatchMode::Bonus, "年终奖\r\n18000\r\n\r\n18001\r\n");
    EXPECT_EQ(bonus.Status, kAllComputed);
    EXPECT_EQ(bonus.Output,
              Sheet({"年终奖," + kBonusHeads, "18000," + k18000, "," + kNoFigures, "18001," + k18001}));
    EXPECT_EQ(bonus.Counts.Rows, 3U);
    EXPECT_EQ(bonus.Counts.Blank, 1U);

    const test::BatchRun wage = RunBatch(BatchMode::Wage, "Wage\n5000\n5000.56\n");
    EXPECT_EQ(wage.Status, kAllComputed);
    EXPECT_EQ(wage.Output, Sheet({"Wage," + kWageHeads, "5000,325.00,45.00,少交,280.00,",
                                  "5000.56,325.08,45.06,少交,280.03,"}));
}

TEST(BatchProcessor, HeaderOnlyGivesHeaderOnly) {
    const test::BatchRun run = RunBatch(BatchMode::Wage, "每月薪金,三险一金\r\n");
    EXPECT_EQ(run.Status, kAllComputed);
    EXPECT_EQ(run.Output, Sheet({"每月薪金,三险一金," + kWageHeads}));
    EXPECT_EQ(run.Counts.Rows, 0U);
}

TEST(BatchProcessor, FilesWithoutAUsableHeaderWriteNothing) {
    struct Case {
        BatchMode Mode;
        std::string Input;
        std::string Diagnostics;
    };
    const Case cases[] = {
        {BatchMode::Bonus, "", "输入是空的，没有表头"},
        {BatchMode::Bonus, "\xEF\xBB\xBF", "输入是空的，没有表头"},
        {BatchMode::Wage, "\n\r\n", "输入是空的，没有表头"},
        {BatchMode::Wage, "姓名,年终奖\n张三,1\n", "表头中没有每月薪金列（列名“每月薪金”或“wage”）"},
        {BatchMode::Bonus, "bonus,年终奖\n",
         "表头有两列年终奖（第 1 列“bonus”和第 2 列“年终奖”），不知该用哪一列"},
        {BatchMode::Bonus, "\xEF\xBB\xBF\xC4\xEA\xD6\xD5\n",
         "表头含有无法识别的字节：文件既不是 UTF-8 也不是 GB18030 编码。能读取的格式：UTF-8 或 GB18030 "
         "编码的 CSV "
         "文件，以及 .xlsx 和 .xls 工作簿"},
        {BatchMode::Bonus, "年终奖\n1\n\"open\n", "第 3 行起的引号没有闭合"},
    };
    for (const Case &c : cases) {
        const test::BatchRun run = RunBatch(c.Mode, c.Input);
        EXPECT_EQ(run.Status, kUnusable) << c.Diagnostics;
        EXPECT_TRUE(run.Diagnostics.ends_with("taxcalc-batch: " + c.Diagnostics + "\n")) << run.Diagnostics;
    }
}

TEST(BatchProcessor, ManyRefusedRowsAreCountedNotAllListed) {
    std::string input = "bonus\n";
    for (int i = 0; i < 250; ++i) {
        input += "x\n";
    }
    const test::BatchRun run = RunBatch(BatchMode::Bonus, input);
    EXPECT_EQ(run.Status, kSomeRefused);
    const std::string last =
        "taxcalc-batch: 第 101 行：bonus：不是数字\n"
        "taxcalc-batch: 其余 150 行的原因从略\n"
        "taxcalc-batch: 250 行中有 250 行未能计算，原因见输出的“错误”列\n";
    ASSERT_GE(run.Diagnostics.size(), last.size());
    EXPECT_TRUE(run.Diagnostics.ends_with(last))
        << run.Diagnostics.substr(run.Diagnostics.size() - last.size());
    EXPECT_EQ(std::count(run.Diagnostics.begin(), run.Diagnostics.end(), '\n'), 102);
}

TEST(BatchProcessor, ReportsProgressAndClearsItForMessages) {
    std::string input = "bonus\n";
    for (int i = 0; i < 10000; ++i) {
        input += i == 5000 ? "bad\n" : "18000\n";
    }
    const auto in = test::FileWith(input);
    const test::FilePtr out(std::tmpfile());
    const test::FilePtr diagnostics(std::tmpfile());
    BatchProcessor processor(*Computation::Resolve(BatchMode::Bonus), in.get(), out.get(), diagnostics.get());
    std::vector<std::uint64_t> rows;
    std::string events;
    processor.OnProgress(
        [&](std::uint64_t bytes, std::uint64_t count) {
            EXPECT_LE(bytes, input.size());
            rows.push_back(count);
            events += 'p';
        },
        [&] { events += 'c'; });
    EXPECT_EQ(processor.Run(), kSomeRefused);
    EXPECT_EQ(rows, (std::vector<std::uint64_t>{4096, 8192, 10000}));
    EXPECT_EQ(events, "pcppc");
}

// From 2028 the bonus joins the year's income and nothing is waived; the run says once
// which rules ended. The same years under 2027, worked by hand alike.
TEST(BatchProcessor, ReconcilesAfterTheBonusAndTheWaiverEnded) {
    const std::string heads =
        "工资薪金收入,全年一次性奖金,已缴税额,年度,综合所得收入额,应纳税所得额,单独计税应纳税额,"
        "并入综合所得应纳税额,年终奖计税方式,应纳税额,应补退税额,结果,错误";
    const std::string input =
        "工资薪金收入,全年一次性奖金,已缴税额,年度\n"
        "100000,0,1400,2028\n"
        "100000,0,1400,2027\n"
        "300000,36000,32160,2029\n"
        "300000,36000,32160,2027\n"
        "100000,0,1400,2018\n";
    const test::BatchRun run = RunBatch(BatchMode::Reconcile, input);
    EXPECT_EQ(run.Status, kSomeRefused);
    EXPECT_EQ(
        run.Output,
        Sheet({heads, "100000,0,1400,2028,100000.00,40000.00,,1480.00,,1480.00,80.00,补税,",
               "100000,0,1400,2027,100000.00,40000.00,1480.00,1480.00,,1480.00,80.00,免予补税,",
               "300000,36000,32160,2029,300000.00,276000.00,,38280.00,并入综合所得,38280.00,6120.00,补税,",
               "300000,36000,32160,2027,300000.00,240000.00,32160.00,38280.00,单独计税,32160.00,0.00,"
               "无需补退,",
               "100000,0,1400,2018,,,,,,,,,年度：2019 年以前没有综合所得年度汇算"}));
    const std::string &said = run.Diagnostics;
    EXPECT_TRUE(
        said.starts_with("taxcalc-batch: 编码 UTF-8（按全文判断）\n"
                         "taxcalc-batch: 第 6 行：年度：2019 年以前没有综合所得年度汇算\n"
                         "taxcalc-batch: 全年一次性奖金单独计税已于 2027-12-31 到期（"))
        << said;
    EXPECT_TRUE(said.ends_with("taxcalc-batch: 5 行中有 1 行未能计算，原因见输出的“错误”列\n")) << said;
    // Said once for both later years, each ended rule with its source and what follows.
    for (const std::string part :
         {"财政部 税务总局公告2023年第30号", "2028 年度起全年一次性奖金并入当年综合所得计税",
          "年度汇算免予补税已于 2027-12-31 到期", "2023年第32号", "不再免予补税"}) {
        EXPECT_NE(said.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(said.find("到期", said.find("2028 年度起年度汇算")), std::string::npos) << said;

    // The years of the bonus choice say nothing of it.
    const test::BatchRun before =
        RunBatch(BatchMode::Reconcile, "工资薪金收入,全年一次性奖金,已缴税额,年度\n100000,0,1400,2027\n");
    EXPECT_EQ(before.Status, kAllComputed);
    EXPECT_EQ(before.Diagnostics, "taxcalc-batch: 编码 UTF-8（按全文判断）\n");
}

}  // namespace
}  // namespace taxcalc
