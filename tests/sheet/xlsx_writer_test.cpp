// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Workbooks written by XlsxWriter, read back by XlsxReader and by openpyxl.
#include "sheet/xlsx_writer.h"
#include "sheet/sheet_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "sheet/xlsx_reader.h"
#include "tests/sheet/workbook_files.h"

namespace taxcalc::test {
namespace {

struct Cell {
    std::string Text;
    CellKind Kind;
};
using Rows = std::vector<std::vector<Cell>>;

constexpr CellKind T = CellKind::Text;
constexpr CellKind N = CellKind::Number;
constexpr CellKind B = CellKind::Boolean;
constexpr CellKind M = CellKind::Money;
constexpr CellKind D = CellKind::Date;

const Rows kRows{
    {{"工号", T},
     {"姓名", T},
     {"年终奖", T},
     {"2011年终奖个税", T},
     {"是否盲区", T},
     {"在职", T},
     {"错误", T}},
    {{"000123", T}, {"张三", T}, {"18001", N}, {"1695.10", M}, {"是", T}, {"TRUE", B}, {"", T}},
    {{"1004", N}, {"王五, 财务", T}, {"一万", N}, {"", M}, {"", T}, {"FALSE", B}, {"年终奖：不是数字", T}},
    {},
    {{"末行", T},
     {"-0.5", M},
     {"2026-01-31", D},
     {"08:30:00", D},
     {"2025-01-31 18:00:05", D},
     {"2026-13-01", D}},
};

bool Write(const std::string &path, const Rows &rows, std::string &error) {
    XlsxWriter writer;
    if (!writer.Open(path, error)) {
        return false;
    }
    for (const std::vector<Cell> &row : rows) {
        for (const Cell &cell : row) {
            writer.Cell(cell.Text, cell.Kind);
        }
        writer.EndRow();
    }
    return writer.Finish(error);
}

TEST(XlsxWriter, KeepsEveryCellAndItsKindForTheReader) {
    ScratchFolder folder;
    std::string error;
    ASSERT_TRUE(Write(folder.Path("out.xlsx"), kRows, error)) << error;

    XlsxReader reader;
    ASSERT_TRUE(reader.Open(folder.Path("out.xlsx"), error)) << error;
    struct Expected {
        std::uint64_t Line;
        std::vector<std::string> Cells;
        std::vector<CellKind> Kinds;
    };
    // Money comes back as the number it is; text that is no number stays text.
    const std::vector<Expected> expected{
        {1, {"工号", "姓名", "年终奖", "2011年终奖个税", "是否盲区", "在职", "错误"}, {T, T, T, T, T, T, T}},
        {2, {"000123", "张三", "18001", "1695.1", "是", "TRUE"}, {T, T, N, N, T, B}},
        {3, {"1004", "王五, 财务", "一万", "", "", "FALSE", "年终奖：不是数字"}, {N, T, T, T, T, B, T}},
        {4, {}, {}},
        // a date that is none stays text
        {5,
         {"末行", "-0.5", "2026-01-31", "08:30:00", "2025-01-31 18:00:05", "2026-13-01"},
         {T, N, D, D, D, T}},
    };
    CsvRecord record;
    for (const Expected &row : expected) {
        ASSERT_EQ(reader.Read(record), RecordSource::Status::Record) << reader.Error();
        EXPECT_EQ(record.Line, row.Line);
        ASSERT_EQ(record.Size(), row.Cells.size()) << "row " << row.Line;
        for (std::size_t i = 0; i < record.Size(); ++i) {
            EXPECT_EQ(record.Cell(i), row.Cells[i]) << "row " << row.Line << " cell " << i;
            EXPECT_EQ(record.Kind(i), row.Kinds[i]) << "row " << row.Line << " cell " << i;
        }
    }
    EXPECT_EQ(reader.Read(record), RecordSource::Status::End);
}

// What XML cannot hold as it is, or holds as an escape, comes back byte for byte.
TEST(XlsxWriter, TextThatLooksLikeTheFormatsEscapesComesBackAsItWas) {
    ScratchFolder folder;
    const std::vector<std::string> texts{std::string("张\0三", 7),
                                         "a\r\nb",
                                         "_x000D_",
                                         "\x01_x4e09_",
                                         "__x005F_x0041_",
                                         "x_",
                                         "\xEF\xBF\xBE\xEF\xBF\xBF\xEF\xBF\xBD"};
    Rows rows(2);
    for (const std::string &text : texts) {
        rows[0].push_back({"列", T});
        rows[1].push_back({text, T});
    }
    std::string error;
    ASSERT_TRUE(Write(folder.Path("out.xlsx"), rows, error)) << error;
    XlsxReader reader;
    ASSERT_TRUE(reader.Open(folder.Path("out.xlsx"), error)) << error;
    CsvRecord record;
    ASSERT_EQ(reader.Read(record), RecordSource::Status::Record);
    ASSERT_EQ(reader.Read(record), RecordSource::Status::Record) << reader.Error();
    ASSERT_EQ(record.Size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(record.Cell(i), texts[i]) << i;
    }
}

TEST(XlsxWriter, OpenpyxlSeesTypesFormatsBoldFrozenHeaderAndWidths) {
    ScratchFolder folder;
    std::string error;
    ASSERT_TRUE(Write(folder.Path("out.xlsx"), kRows, error)) << error;
    const std::string seen = RunPython(folder, R"(import sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
print(ws.freeze_panes)
for ref in ["A1", "A2", "C2", "D2", "F2", "A3", "C3", "D3", "G3", "B5", "C5", "D5", "E5", "F5"]:
    c = ws[ref]
    print(ref, repr(c.value), c.data_type, c.number_format, c.font.b)
for col in "ABG":
    print(col, int(ws.column_dimensions[col].width))
)",
                                       {folder.Path("out.xlsx")});
    // Widths: the longest cell in digit widths (a Chinese character two), at least 8,
    // and 2 more; libxlsxwriter stores them with a fraction for the cell padding.
    EXPECT_EQ(seen,
              "A2\n"
              "A1 '工号' s General True\n"
              "A2 '000123' s General False\n"
              "C2 18001 n General False\n"
              "D2 1695.1 n 0.00 False\n"
              "F2 True b General False\n"
              "A3 1004 n General False\n"
              "C3 '一万' s General False\n"
              "D3 None n General False\n"
              "G3 '年终奖：不是数字' s General False\n"
              "B5 -0.5 n 0.00 False\n"
              "C5 datetime.datetime(2026, 1, 31, 0, 0) d yyyy-mm-dd False\n"
              "D5 datetime.time(8, 30) d hh:mm:ss False\n"
              "E5 datetime.datetime(2025, 1, 31, 18, 0, 5) d yyyy-mm-dd hh:mm:ss False\n"
              "F5 '2026-13-01' s General False\n"
              "A 10\n"
              "B 12\n"
              "G 18\n");
}

TEST(XlsxWriter, WritesNothingUnlessFinishedOrWhenALimitIsPassed) {
    ScratchFolder folder;
    std::string error;
    {
        XlsxWriter unfinished;
        ASSERT_TRUE(unfinished.Open(folder.Path("unfinished.xlsx"), error));
        unfinished.Cell("工号", CellKind::Text);
        unfinished.EndRow();
    }
    EXPECT_NE(access(folder.Path("unfinished.xlsx").c_str(), F_OK), 0);

    struct Case {
        const char *Name;
        Rows Content;
        const char *Error;
    };
    const std::vector<Case> cases{
        {"too many columns", {std::vector<Cell>(XlsxWriter::kMaxColumns + 1, Cell{"1", N})}, "16384"},
        {"too long a cell", {{{std::string(XlsxWriter::kMaxCellCharacters + 1, 'x'), T}}}, "32767"},
        // Characters are counted, not bytes: 32767 Chinese characters fit.
        {"longest cell",
         {{{[] {
                std::string text;
                for (std::size_t i = 0; i < XlsxWriter::kMaxCellCharacters; ++i) {
                    text += "税";
                }
                return text;
            }(),
            T}}},
         ""},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.Name);
        const std::string path = folder.Path("limit.xlsx");
        error.clear();
        const bool written = Write(path, test.Content, error);
        EXPECT_EQ(written, *test.Error == '\0');
        EXPECT_NE(error.find(test.Error), std::string::npos) << error;
        EXPECT_EQ(access(path.c_str(), F_OK) == 0, written);
        unlink(path.c_str());
    }
}

TEST(RecordSink, ChoosesXlsxByTheExtensionInAnyCase) {
    struct Case {
        const char *Name;
        bool Xlsx;
    };
    for (const Case &test : std::vector<Case>{{"out.xlsx", true},
                                              {"结果.XLSX", true},
                                              {"dir.xlsx/out.Xlsx", true},
                                              {"out.xls", false},
                                              {"out.xlsx.csv", false},
                                              {"xlsx", false},
                                              {"-", false},
                                              {"out.csv", false}}) {
        EXPECT_EQ(WantsXlsx(test.Name), test.Xlsx) << test.Name;
    }
}

}  // namespace
}  // namespace taxcalc::test
