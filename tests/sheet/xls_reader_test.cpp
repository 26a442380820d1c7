// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// An Excel 97-2003 workbook, as the withholding software's templates are, read as
// its .xlsx twin: the same rows, cells and kinds. Both are written from one table by
// Debian's writers of each format.
#include "sheet/xls_reader.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "sheet/sheet_files.h"
#include "tests/sheet/sheet_streams.h"
#include "tests/sheet/workbook_files.h"

namespace taxcalc {
namespace {

// One table, written as .xls by xlwt and as .xlsx by openpyxl: text with leading
// zeros, whole and fractional numbers, a date, a gap between cells and an empty row.
constexpr std::string_view kTwins = R"(import sys, datetime, openpyxl, xlwt
rows = [["工号", "姓名", "所属月份", "本期收入", "任职受雇从业日期"],
        ["000123", "张三", "2026-03", 20000, datetime.date(2026, 4, 15)],
        [],
        ["000124", "李四", "2026-03", 12345.67, None, "备注"],
        ["000125", None, "2026-04", 0.1, None]]
book = openpyxl.Workbook()
for row in rows:
    book.active.append(row)
book.save(sys.argv[1])
old = xlwt.Workbook(encoding="utf-8")
sheet = old.add_sheet("Sheet1")
day = xlwt.easyxf(num_format_str="yyyy-mm-dd")
for r, row in enumerate(rows):
    for c, value in enumerate(row):
        if value is not None:
            sheet.write(r, c, value, day) if isinstance(value, datetime.date) else sheet.write(r, c, value)
old.save(sys.argv[2])
)";

struct Row {
    std::uint64_t Line;
    std::vector<std::string> Cells;
    std::vector<CellKind> Kinds;

    bool operator==(const Row &) const = default;
};

std::vector<Row> Rows(const std::string &path) {
    const test::FilePtr file(std::fopen(path.c_str(), "rb"));
    std::string error;
    const std::unique_ptr<RecordSource> source = OpenRecordSource(file.get(), error);
    EXPECT_NE(source, nullptr) << error;
    std::vector<Row> rows;
    CsvRecord record;
    while (source && source->Read(record) == RecordSource::Status::Record) {
        std::vector<CellKind> kinds;
        for (std::size_t i = 0; i < record.Size(); ++i) {
            kinds.push_back(record.Kind(i));
        }
        rows.push_back({record.Line, test::Cells(record), kinds});
    }
    return rows;
}

TEST(XlsReader, ReadsAWorkbookAsItsXlsxTwin) {
    test::ScratchFolder folder;
    test::RunPython(folder, std::string(kTwins), {folder.Path("twin.xlsx"), folder.Path("old.xls")});
    const std::vector<Row> old = Rows(folder.Path("old.xls"));
    ASSERT_EQ(old.size(), 5U);
    EXPECT_EQ(old[1].Cells, (std::vector<std::string>{"000123", "张三", "2026-03", "20000", "2026-04-15"}));
    EXPECT_EQ(old[1].Kinds[3], CellKind::Number);
    EXPECT_EQ(old[1].Kinds[4], CellKind::Date);
    EXPECT_TRUE(old[2].Cells.empty());
    EXPECT_EQ(old[3].Cells, (std::vector<std::string>{"000124", "李四", "2026-03", "12345.67", "", "备注"}));
    EXPECT_EQ(old, Rows(folder.Path("twin.xlsx")));

    // Through a pipe, as from standard input, the same rows.
    const std::string bytes = folder.Read("old.xls");
    std::string_view rest = bytes;
    const test::FilePtr pipe = test::StreamOf(rest);
    std::string error;
    const std::unique_ptr<RecordSource> source = OpenRecordSource(pipe.get(), error);
    ASSERT_NE(source, nullptr) << error;
    CsvRecord record;
    std::size_t count = 0;
    while (source->Read(record) == RecordSource::Status::Record) {
        ++count;
    }
    EXPECT_EQ(count, old.size());
}

TEST(XlsReader, RefusesADamagedWorkbookWithAReason) {
    test::ScratchFolder folder;
    test::RunPython(folder, std::string(kTwins), {folder.Path("twin.xlsx"), folder.Path("old.xls")});
    std::string bytes = folder.Read("old.xls");
    folder.Write("cut.xls", bytes.substr(0, bytes.size() / 2));
    const test::FilePtr file(std::fopen(folder.Path("cut.xls").c_str(), "rb"));
    std::string error;
    EXPECT_EQ(OpenRecordSource(file.get(), error), nullptr);
    EXPECT_NE(error.find("不是完好的 .xls 工作簿"), std::string::npos) << error;
    EXPECT_NE(error.find(RecordSource::kReadableFormats), std::string::npos) << error;
}

}  // namespace
}  // namespace taxcalc
