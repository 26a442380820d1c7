// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/payroll_table.h"

#include <gtest/gtest.h>

#include <atomic>

#include "paysheet/payroll_outcomes.h"
#include "sheet/csv_sink.h"
#include "sheet/output_file.h"
#include "sheet/record_source.h"
#include "sheet/sheet_files.h"
#include "tests/batch/test_streams.h"
#include "tests/paysheet/row_helpers.h"
#include "tests/sheet/workbook_files.h"

namespace taxcalc {
namespace {

std::shared_ptr<const PayrollTable> TableOf(std::string_view input) {
    auto table = std::make_shared<PayrollTable>();
    const auto file = test::FileWith(input);
    std::string error;
    EXPECT_EQ(table->Read(file.get(), error), PayrollTable::Status::Done) << error;
    return table;
}

PayrollOutcomes Computed(std::string_view input, BatchMode mode, const PeriodRules *rules = nullptr) {
    std::optional<PayrollOutcomes> outcomes;
    std::string error;
    EXPECT_EQ(PayrollOutcomes::Compute(TableOf(input), *Computation::Resolve(mode, rules), outcomes, error),
              PayrollOutcomes::Status::Done)
        << error;
    return std::move(*outcomes);
}

std::string SavedCsv(const PayrollOutcomes &outcomes) {
    const test::FilePtr out(std::tmpfile());
    CsvSink sink(out.get());
    std::string error;
    EXPECT_TRUE(outcomes.Write(sink, error)) << error;
    return test::Contents(out.get());
}

// Every record of a file as "cell:kind" texts, whatever its format.
std::vector<std::string> RecordsOf(const std::string &path) {
    const test::FilePtr file(std::fopen(path.c_str(), "rb"));
    std::string error;
    const std::unique_ptr<RecordSource> source = OpenRecordSource(file.get(), error);
    EXPECT_TRUE(source) << error;
    std::vector<std::string> rows;
    CsvRecord record;
    while (source && source->Read(record) == RecordSource::Status::Record) {
        std::string row;
        for (std::size_t i = 0; i < record.Size(); ++i) {
            row.append(record.Cell(i))
                .append(":")
                .append(1, static_cast<char>('0' + static_cast<int>(record.Kind(i))));
            row += '|';
        }
        rows.push_back(row);
    }
    return rows;
}

// Files of every kind of row: quoted cells, line breaks in cells, blank rows, extra
// cells, undecodable bytes, GBK, missing optional columns.
const std::string kMixedBonus =
    "id,年终奖,当月工资,note\n1,abc,3500,x\n2,\"multi\nline\",,y\n3,18001,,z\n4,,1000\n"
    "5,18000,3500,w,extra,\n6,18000,3500,w,,\n,,,\n7,18000,\xFF\xFE\n8,18001\n";
const std::string kGbk =
    "\xD0\xD5\xC3\xFB,\xC4\xEA\xD6\xD5\xBD\xB1,\xB5\xB1\xD4\xC2\xB9\xA4\xD7\xCA\r\n"
    "\xD5\xC5\xC8\xFD,18001,3500\r\n";

TEST(PayrollTable, SavesWhatTheStreamingToolWrites) {
    struct Case {
        BatchMode Mode;
        std::string Input;
        const PeriodRules *Rules = nullptr;
    };
    const std::string annual =
        "年终奖,当月工资,全年应纳税所得额\n38000,,100000\n150000,,20000\n36000,2000,\nx,1,2\n";
    const Case cases[] = {
        {BatchMode::Bonus, annual, &Rules(PeriodId::Y2019)},
        {BatchMode::Bonus, annual, &Rules(PeriodId::Y2008)},
        {BatchMode::Bonus, kMixedBonus, &Rules(PeriodId::Y2018)},
        {BatchMode::Bonus, kMixedBonus, &Rules(PeriodId::Y2011)},
        {BatchMode::Bonus, kMixedBonus},
        {BatchMode::Bonus, kGbk},
        {BatchMode::Bonus, "\xEF\xBB\xBF年终奖\r\n18000\r\n\r\n18001\r\n"},
        {BatchMode::Bonus, "\"名, 字\",bonus,\"备注\"\r\n\"王, 五\",18000,\"他说 \"\"好\"\"\r\n第二行\"\r\n"},
        {BatchMode::Wage, "Wage,三险一金,x\n5000,,1\n5000.56,100\nabc\n,,\n1e9\n"},
        {BatchMode::Wage, "每月薪金,三险一金\r\n"},
        {BatchMode::Bonus, "年终奖,当月工资\n1e308,1\n99999999999999999999,3500\n54001,3000\n"},
    };
    for (const Case &c : cases) {
        const test::BatchRun run = test::RunBatch(c.Mode, c.Input, c.Rules);
        ASSERT_NE(run.Status, kUnusable) << c.Input;
        const PayrollOutcomes outcomes = Computed(c.Input, c.Mode, c.Rules);
        EXPECT_EQ(SavedCsv(outcomes), run.Output) << c.Input;
        EXPECT_EQ(outcomes.Summary().Rows, run.Counts.Rows) << c.Input;
        EXPECT_EQ(outcomes.Summary().Refused, run.Counts.Refused) << c.Input;
    }
}

// A workbook from openpyxl (an ID with leading zeros as text, numbers, a date, an
// empty row, a cell beyond the header), saved by the window as .xlsx and as CSV, is
// what the tool writes from it in either format.
TEST(PayrollTable, SavesWorkbooksAsTheToolDoes) {
    const test::ScratchFolder folder;
    const std::string input = folder.Path("in.xlsx");
    test::RunPython(folder, R"(import sys, datetime, openpyxl
book = openpyxl.Workbook()
ws = book.active
ws.append(["工号", "姓名", "年终奖", "当月工资", "入职"])
ws.append(["000123", "张三", 18001, None, datetime.date(2020, 3, 1)])
ws.append([])
ws.append(["000124", "李四", "abc", 3000, None])
ws.append(["000125", "王五", 54001.5, 3000, None, "多"])
book.save(sys.argv[1])
)",
                    {input});
    for (const bool workbook : {true, false}) {
        const std::string tool = folder.Path(workbook ? "tool.xlsx" : "tool.csv");
        const std::string saved = folder.Path(workbook ? "saved.xlsx" : "saved.csv");
        std::string error;
        {
            const test::FilePtr in(std::fopen(input.c_str(), "rb"));
            const std::unique_ptr<RecordSource> source = OpenRecordSource(in.get(), error);
            ASSERT_TRUE(source) << error;
            OutputFile out;
            const std::unique_ptr<RecordSink> sink = OpenRecordSink(out, tool, error);
            ASSERT_TRUE(sink) << error;
            const test::FilePtr diagnostics(std::tmpfile());
            BatchProcessor processor(*Computation::Resolve(BatchMode::Bonus), *source, *sink,
                                     diagnostics.get());
            EXPECT_EQ(processor.Run(), kSomeRefused);
            ASSERT_TRUE(out.Commit(error)) << error;
        }
        auto table = std::make_shared<PayrollTable>();
        {
            const test::FilePtr in(std::fopen(input.c_str(), "rb"));
            ASSERT_EQ(table->Read(in.get(), error), PayrollTable::Status::Done) << error;
        }
        std::optional<PayrollOutcomes> outcomes;
        ASSERT_EQ(PayrollOutcomes::Compute(table, *Computation::Resolve(BatchMode::Bonus), outcomes, error),
                  PayrollOutcomes::Status::Done);
        OutputFile out;
        std::unique_ptr<RecordSink> sink = OpenRecordSink(out, saved, error);
        ASSERT_TRUE(sink) << error;
        ASSERT_TRUE(outcomes->Write(*sink, error)) << error;
        sink.reset();
        ASSERT_TRUE(out.Commit(error)) << error;
        const std::vector<std::string> rows = RecordsOf(saved);
        EXPECT_EQ(rows, RecordsOf(tool)) << workbook;
        if (workbook) {
            // The ID stays text, the bonus a number, the date a date, the tax a number.
            ASSERT_EQ(rows.size(), 5U);
            EXPECT_TRUE(rows[1].starts_with("000123:0|张三:0|18001:1|:0|2020-03-01:4|1695.1:1|")) << rows[1];
        } else {
            EXPECT_EQ(folder.Read("saved.csv"), folder.Read("tool.csv"));
        }
        EXPECT_EQ(outcomes->Summary().Refused, 2U);  // abc, and the cell beyond the header
        EXPECT_EQ(outcomes->Summary().Rows, 4U);
    }
}

TEST(PayrollTable, KeepsEveryCellAndLine) {
    const auto table = TableOf(kMixedBonus);
    ASSERT_EQ(table->Rows(), 9U);
    EXPECT_EQ(table->Width(), 4U);
    EXPECT_EQ(table->Cell(1, 1), "multi\nline");
    EXPECT_EQ(table->Line(2), 5U);  // the quoted line break moves every later row down
    EXPECT_EQ(table->Cell(4, 4), "extra");
    EXPECT_EQ(table->Cell(4, 9), "");
    EXPECT_EQ(table->Cell(8, 3), "");
    EXPECT_EQ(table->Escaped(7), "第 3 列有无法按 UTF-8 读出的字节，已写作 \\xHH");
    EXPECT_EQ(table->Escaped(6), "");
    EXPECT_EQ(table->Cell(7, 2), "\\xFF\\xFE");
    CsvRecord record;
    table->Row(0, record);
    EXPECT_EQ(test::Cells(record), (std::vector<std::string>{"1", "abc", "3500", "x"}));
}

TEST(PayrollTable, RowsSpanManyBlocks) {
    // About 12 MiB of text, three blocks and more; each row's cells must survive intact.
    std::string input = "id,年终奖,note\n";
    const std::string filler(100, 'x');
    for (int i = 0; i < 100000; ++i) {
        input += std::to_string(i) + ",18000," + filler + std::to_string(i % 7) + "\n";
    }
    const auto table = TableOf(input);
    ASSERT_EQ(table->Rows(), 100000U);
    for (const std::size_t row : {0UL, 31000UL, 62000UL, 99999UL}) {
        EXPECT_EQ(table->Cell(row, 0), std::to_string(row));
        EXPECT_EQ(table->Cell(row, 2), filler + std::to_string(row % 7));
    }
}

TEST(PayrollOutcomes, SummaryAddsTheWrittenCells) {
    // 18001: tax 1695.10, advice 18000 at 540.00, so following it saves 1155.10.
    // 18000: 540.00. 54001 with wage 3000: base 53501, 5245.10, no zone.
    // 60000: base 60000 in the 54000 zone, tax 10000 x 1 ... 60000 x 20 % - 555 = 11445.00,
    // advice 54000 at 5295.00: saves 6150.00.
    const PayrollOutcomes bonus =
        Computed("年终奖,当月工资\n18001,\n18000,\n54001,3000\nabc,\n,\n60000,3500\n", BatchMode::Bonus);
    const PayrollSummary &s = bonus.Summary();
    EXPECT_EQ(s.Rows, 6U);
    EXPECT_EQ(s.Refused, 1U);
    EXPECT_EQ(s.Advised, 2U);
    EXPECT_EQ(s.Tax, 169510 + 54000 + 524510 + 1144500);
    EXPECT_EQ(s.Saving, 115510 + 615000);
    EXPECT_FALSE(s.TooLarge);
    const RowState states[] = {RowState::Advised, RowState::Computed, RowState::Computed,
                               RowState::Refused, RowState::Blank,    RowState::Advised};
    for (std::size_t row = 0; row < std::size(states); ++row) {
        EXPECT_EQ(bonus.State(row), states[row]) << row;
    }
    EXPECT_EQ(bonus.MarkedRows(), (std::vector<std::uint32_t>{0, 3, 5}));

    // The 2011 wage tax: 5000 pays 45.00, 5000.56 pays 45.06; no advice in this mode.
    const PayrollOutcomes wage = Computed("每月薪金\n5000\n5000.56\nx\n", BatchMode::Wage);
    EXPECT_EQ(wage.Summary().Tax, 4500 + 4506);
    EXPECT_EQ(wage.Summary().Saving, 0);
    EXPECT_EQ(wage.Summary().Refused, 1U);
    EXPECT_EQ(wage.MarkedRows(), (std::vector<std::uint32_t>{2}));

    // 2019: 38000 pays 38000 x 10 % - 210 = 3590.00 and sits in the 36000 zone, whose
    // edge pays 1080.00: following the advice saves 2510.00. 150000 pays 20 % less
    // 1410 = 28590.00, in the 144000 zone with 14190.00 at the edge: 14400.00 less.
    const PayrollOutcomes y2019 =
        Computed("年终奖\n38000\n150000\n36000\n", BatchMode::Bonus, &Rules(PeriodId::Y2019));
    EXPECT_EQ(y2019.Summary().Tax, 359000 + 2859000 + 108000);
    EXPECT_EQ(y2019.Summary().Saving, 251000 + 1440000);
    EXPECT_EQ(y2019.Summary().Advised, 2U);

    // A split of the year's pay saves what its 全年节省 says: 280.00 for 张三 and
    // 3360.00 for 王五, whose taxes now are 1480.00 and 13560.00; the last row is
    // already best.
    const PayrollOutcomes split = Computed(
        "月薪,年终奖,三险一金,最低月薪,专项附加扣除\n8000,40000,1000,,24000\n6000,150000,800,,\n3000,0,,5000,"
        "\n"
        "5000,0,,,\n",
        BatchMode::Split, &Rules(PeriodId::Y2019));
    EXPECT_EQ(split.Summary().Saving, 28000 + 336000);
    EXPECT_EQ(split.Summary().Tax, 148000 + 1356000 + 0);
    EXPECT_EQ(split.Summary().Advised, 2U);
    EXPECT_EQ(split.Summary().Refused, 1U);
    EXPECT_EQ(split.State(3), RowState::Computed);

    RowFigures figures;
    EXPECT_EQ(bonus.Figures(0, figures), RowState::Advised);
    EXPECT_EQ(figures.Cells[3], "18000");
    EXPECT_TRUE(figures.Advised);
    EXPECT_EQ(bonus.Figures(3, figures), RowState::Refused);
    EXPECT_EQ(figures.Error, "年终奖：不是数字");
}

TEST(PayrollOutcomes, TooLargeFiguresLeaveTheSumsUnknown) {
    // Each bonus just below 10^13 yuan is computed, but 30000 of their taxes add up to
    // more cents than 64 bits hold.
    std::string input = "年终奖\n";
    for (int i = 0; i < 30000; ++i) {
        input += "9999999999999\n";
    }
    const PayrollOutcomes outcomes = Computed(input, BatchMode::Bonus);
    EXPECT_EQ(outcomes.State(29999), RowState::Computed);
    EXPECT_TRUE(outcomes.Summary().TooLarge);
}

TEST(PayrollOutcomes, FailsAsTheToolDoesAndCancels) {
    std::optional<PayrollOutcomes> outcomes;
    std::string error;
    EXPECT_EQ(PayrollOutcomes::Compute(TableOf("姓名,年终奖\n张三,1\n"),
                                       *Computation::Resolve(BatchMode::Wage), outcomes, error),
              PayrollOutcomes::Status::Failed);
    EXPECT_EQ(error, "表头中没有每月薪金列（列名“每月薪金”或“wage”）");
    // As the tool refuses --rules with wage: there is no such computation.
    EXPECT_FALSE(Computation::Resolve(BatchMode::Wage, &Rules(PeriodId::Y2019)));

    std::string input = "bonus\n";
    for (int i = 0; i < 40000; ++i) {
        input += "18001\n";
    }
    const auto table = TableOf(input);
    std::atomic<bool> cancel{false};
    std::vector<std::uint64_t> seen;
    const auto progress = [&](std::uint64_t rows) {
        seen.push_back(rows);
        cancel = true;
    };
    EXPECT_EQ(PayrollOutcomes::Compute(table, *Computation::Resolve(BatchMode::Bonus), outcomes, error,
                                       progress, &cancel),
              PayrollOutcomes::Status::Cancelled);
    EXPECT_FALSE(outcomes);
    EXPECT_EQ(seen, (std::vector<std::uint64_t>{16384}));

    auto fresh = std::make_shared<PayrollTable>();
    const auto file = test::FileWith(input);
    EXPECT_EQ(fresh->Read(file.get(), error, {}, &cancel), PayrollTable::Status::Cancelled);
}

TEST(PayrollTable, RefusesWhatTheToolRefuses) {
    for (const std::string input : {"", "\n\r\n", "\xEF\xBB\xBF\xC4\xEA\xD6\xD5\n", "年终奖\n1\n\"open\n"}) {
        const test::BatchRun run = test::RunBatch(BatchMode::Bonus, input);
        PayrollTable table;
        const auto file = test::FileWith(input);
        std::string error;
        EXPECT_EQ(table.Read(file.get(), error), PayrollTable::Status::Failed);
        EXPECT_TRUE(run.Diagnostics.ends_with("taxcalc-batch: " + error + "\n")) << run.Diagnostics;
    }
}

TEST(PayrollOutcomes, ReadsMoneyCells) {
    const std::pair<std::string_view, std::optional<Cents>> cases[] = {
        {"0.00", 0},
        {"1695.10", 169510},
        {"-2270.05", -227005},
        {"92233720368547758.07", 9223372036854775807},
        {"92233720368547758.08", std::nullopt},
        {"12.3", std::nullopt},
        {"1.234", std::nullopt},
        {".00", std::nullopt},
        {"-", std::nullopt},
        {"", std::nullopt},
        {"是", std::nullopt},
        {"1,00.00", std::nullopt},
    };
    for (const auto &[cell, cents] : cases) {
        EXPECT_EQ(MoneyCellCents(cell), cents) << cell;
    }
}

}  // namespace
}  // namespace taxcalc
