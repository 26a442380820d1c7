// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Whole runs on inputs as clerks' spreadsheets and odd tools write them: every line
// kept in its place, every name as it was written, nothing counted as computed that
// was not.
#include <gtest/gtest.h>

#include "batch/batch_processor.h"
#include "tests/batch/test_streams.h"

namespace taxcalc {
namespace {

using test::k18001;
using test::kBonusHeads;
using test::kNoFigures;
using test::RunBatch;
using test::Sheet;
using test::Source;

const std::string k5 = "0.15,4.85,否,,,,0.25,0.10,";

TEST(BatchInput, NamesComeOutAsTheyWereWrittenOrTheRunStops) {
    struct Case {
        const char *Name;
        std::string Input;
        InputForm Form;
        int Status;
        std::vector<std::string> Rows;  // the output, or nothing for a stopped run
        std::string Said;               // the first line on stderr
    };
    const std::string utf8Cut = "name,bonus,wage\nA\xE4\xB8,1,\n张三,18001,3500\n";
    const std::string utf8Stray = "name,bonus\nA\xA0,1\n张三,18001\n";
    const std::string gbkLikeUtf8 = "name,bonus\n\xD2\xB6\xCE\xB0,18001\n\xD0\xBB\xC7\xBF,5\n";
    const std::string oneLetter = "name,bonus\nJos\xC3\xA9,18001\n";
    const std::string unsettled =
        "无法确定输入的编码：从第 2 行起的文字读作 UTF-8 或 GB18030 都说得通；请用 --encoding utf-8 或 "
        "--encoding gb18030 指定";
    const Case cases[] = {
        {"UTF-8, a cut character first",
         utf8Cut,
         {},
         kSomeRefused,
         {"name,bonus,wage," + kBonusHeads,
          "A\\xE4\\xB8,1,," + kNoFigures + "编码：第 1 列有无法按 UTF-8 读出的字节，已写作 \\xHH",
          "张三,18001,3500," + k18001},
         "编码 UTF-8（按全文判断）"},
        {"UTF-8, a stray byte first",
         utf8Stray,
         {},
         kSomeRefused,
         {"name,bonus," + kBonusHeads,
          "A\\xA0,1," + kNoFigures + "编码：第 1 列有无法按 UTF-8 读出的字节，已写作 \\xHH",
          "张三,18001," + k18001},
         "编码 UTF-8（按全文判断）"},
        {"GBK names that are valid UTF-8",
         gbkLikeUtf8,
         {},
         kAllComputed,
         {"name,bonus," + kBonusHeads, "叶伟,18001," + k18001, "谢强,5," + k5},
         "编码 GB18030（按全文判断）"},
        {"too little to tell", oneLetter, {}, kUnusable, {}, unsettled},
        {"told UTF-8",
         oneLetter,
         {TextEncoding::Utf8, 0},
         kAllComputed,
         {"name,bonus," + kBonusHeads, "José,18001," + k18001},
         "编码 UTF-8（由 --encoding 指定）"},
        {"told GB18030",
         oneLetter,
         {TextEncoding::Gb18030, 0},
         kAllComputed,
         {"name,bonus," + kBonusHeads, "Jos茅,18001," + k18001},
         "编码 GB18030（由 --encoding 指定）"},
    };
    for (const Case &c : cases) {
        for (const Source source : {Source::File, Source::Stream}) {
            const test::BatchRun run = RunBatch(BatchMode::Bonus, c.Input, c.Form, source);
            SCOPED_TRACE(std::string(c.Name) + (source == Source::File ? " from a file" : " from a stream"));
            EXPECT_EQ(run.Status, c.Status);
            EXPECT_EQ(run.Output, c.Rows.empty() ? "" : Sheet(c.Rows));
            std::string said = c.Said;
            const std::size_t judged = said.find("按全文判断");
            if (source == Source::Stream && judged != std::string::npos) {
                said.replace(judged, std::string("按全文判断").size(), "按全部输入判断");
            }
            EXPECT_TRUE(run.Diagnostics.starts_with("taxcalc-batch: " + said + "\n")) << run.Diagnostics;
        }
    }
}

// Beyond the part of a stream that is looked at, the first record beyond ASCII is
// judged alone.
TEST(BatchInput, AStreamLongerThanItsSampleIsJudgedAtItsFirstTextBeyondAscii) {
    std::string input = "name,bonus\n";
    while (input.size() <= BatchProcessor::kEncodingSample) {
        input += "someone,18001\n";
    }
    const std::uint64_t line = static_cast<std::uint64_t>(std::count(input.begin(), input.end(), '\n')) + 1;
    input += "\xD5\xC5\xC8\xFD,18001\n";  // 张三 in GBK
    const test::BatchRun run = RunBatch(BatchMode::Bonus, input, {}, Source::Stream);
    EXPECT_EQ(run.Status, kAllComputed);
    EXPECT_TRUE(run.Output.ends_with("\r\n张三,18001," + k18001 + "\r\n"));
    EXPECT_EQ(run.Diagnostics, "taxcalc-batch: 编码 GB18030（按第 " + std::to_string(line) + " 行判断）\n");
}

TEST(BatchInput, BlankLinesAndEmptyRowsKeepTheirPlaceAndAreNotCounted) {
    struct Case {
        const char *Name;
        std::string Input;
        std::vector<std::string> Rows;
        std::string Said;
        std::uint64_t Rows_, Blank;
    };
    const Case cases[] = {
        {"a quoted empty cell",
         "年终奖\n18001\n\"\"\n5\n",
         {"年终奖," + kBonusHeads, "18001," + k18001, "," + kNoFigures, "5," + k5},
         "3 行中有 1 行空行（原样保留，未计算）",
         3,
         1},
        {"bare separators",
         "a,年终奖,b\r\n,,\r\n,,\r\n,,\r\n",
         {"a,年终奖,b," + kBonusHeads, ",,," + kNoFigures, ",,," + kNoFigures, ",,," + kNoFigures},
         "3 行中有 3 行空行（原样保留，未计算）",
         3,
         3},
        {"blank lines everywhere",
         "\n\r\n年终奖\n\n18001\n\n",
         {"", "", "年终奖," + kBonusHeads, "," + kNoFigures, "18001," + k18001, "," + kNoFigures},
         "3 行中有 2 行空行（原样保留，未计算）\ntaxcalc-batch: 表头前的 2 行空行已原样保留",
         3,
         2},
    };
    for (const Case &c : cases) {
        const test::BatchRun run = RunBatch(BatchMode::Bonus, c.Input);
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(run.Status, kAllComputed);
        EXPECT_EQ(run.Output, Sheet(c.Rows));
        EXPECT_TRUE(run.Diagnostics.ends_with("taxcalc-batch: " + c.Said + "\n")) << run.Diagnostics;
        EXPECT_EQ(run.Counts.Rows, c.Rows_);
        EXPECT_EQ(run.Counts.Blank, c.Blank);
        EXPECT_EQ(run.Counts.Refused, 0U);
    }
}

// Semicolons, tabs and Excel's "Unicode text" give the same sheet as commas.
TEST(BatchInput, SeparatorsAndUtf16GiveTheSameSheet) {
    const std::string expected = Sheet({"姓名,年终奖,备注," + kBonusHeads, "张三,18001,\"a,b\"," + k18001});
    struct Case {
        const char *Name;
        std::string Input;
        InputForm Form;
        std::string Said;
    };
    // "姓名\t年终奖\t备注\r\n张三\t18001\ta,b\r\n" in UTF-16LE, as iconv(1) writes it.
    const std::string utf16(
        "\xFF\xFE\xD3\x59\x0D\x54\x09\x00\x74\x5E\xC8\x7E\x56\x59\x09\x00"
        "\x07\x59\xE8\x6C\x0D\x00\x0A\x00\x20\x5F\x09\x4E\x09\x00\x31\x00"
        "\x38\x00\x30\x00\x30\x00\x31\x00\x09\x00\x61\x00\x2C\x00\x62\x00"
        "\x0D\x00\x0A\x00",
        52);
    const Case cases[] = {
        {"semicolons", "姓名;年终奖;备注\n张三;18001;a,b\n", {}, "编码 UTF-8（按全文判断）；分隔符 分号“;”"},
        {"tabs", "姓名\t年终奖\t备注\n张三\t18001\ta,b\n", {}, "编码 UTF-8（按全文判断）；分隔符 制表符"},
        {"told semicolons",
         "姓名;年终奖;备注\n张三;18001;a,b\n",
         {TextEncoding::Undecided, ';'},
         "编码 UTF-8（按全文判断）；分隔符 分号“;”"},
        {"UTF-16LE", utf16, {}, "编码 UTF-16LE（带 BOM）；分隔符 制表符"},
    };
    for (const Case &c : cases) {
        const test::BatchRun run = RunBatch(BatchMode::Bonus, c.Input, c.Form);
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(run.Status, kAllComputed);
        EXPECT_EQ(run.Output, expected);
        EXPECT_EQ(run.Diagnostics, "taxcalc-batch: " + c.Said + "\n");
    }
    const test::BatchRun told =
        RunBatch(BatchMode::Bonus, "姓名;年终奖\n张三;1\n", {TextEncoding::Undecided, ','});
    EXPECT_EQ(told.Status, kUnusable);
    EXPECT_TRUE(
        told.Diagnostics.ends_with("表头中没有年终奖列（列名“年终奖”或“bonus”）；表头只有一列，其中有“;"
                                   "”：若它是分隔符，请用 --delimiter 指定\n"))
        << told.Diagnostics;
}

// A run on its own output replaces the computed columns instead of adding a second set.
TEST(BatchInput, ARunOnItsOwnOutputReplacesTheComputedColumns) {
    const test::BatchRun first = RunBatch(BatchMode::Bonus, "姓名,年终奖\n张三,18001\n李四,x\n");
    ASSERT_EQ(first.Status, kSomeRefused);
    const test::BatchRun second = RunBatch(BatchMode::Bonus, first.Output);
    EXPECT_EQ(second.Status, kSomeRefused);
    EXPECT_EQ(second.Output, first.Output);
    EXPECT_NE(second.Diagnostics.find(
                  "输入已有上次计算的列（2011年终奖个税、税后年终奖、是否盲区、建议年终奖、建议税额、"
                  "建议税后年终奖、2010方法个税、节省、错误），已换成这次的结果"),
              std::string::npos)
        << second.Diagnostics;
}

}  // namespace
}  // namespace taxcalc
