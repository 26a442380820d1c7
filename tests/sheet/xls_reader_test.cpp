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
#include "tests/sheet/xls_bytes.h"

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

namespace taxcalc {
namespace {

using test::BiffRecord;
using test::Le16;

struct Outcome {
    std::vector<Row> Rows;
    std::string Error;  // of the opening or of the reading
    std::string Notice;
};

Outcome ReadXls(const std::string &bytes) {
    const test::FilePtr file = test::FileWith(bytes);
    Outcome outcome;
    const std::unique_ptr<RecordSource> source = OpenRecordSource(file.get(), outcome.Error);
    if (source == nullptr) {
        return outcome;
    }
    outcome.Notice = source->Notice();
    CsvRecord record;
    RecordSource::Status status;
    while ((status = source->Read(record)) == RecordSource::Status::Record) {
        std::vector<CellKind> kinds;
        for (std::size_t i = 0; i < record.Size(); ++i) {
            kinds.push_back(record.Kind(i));
        }
        outcome.Rows.push_back({record.Line, test::Cells(record), kinds});
    }
    if (status == RecordSource::Status::Failed) {
        outcome.Error = source->Error();
    }
    return outcome;
}

std::string Xf(std::uint32_t format) {
    return BiffRecord(0x00E0, Le16(0) + Le16(format) + std::string(16, '\0'));
}

// Cell formats 0 General, 1 a built-in date, 2 a date of the workbook's own, 3 a
// number of its own, 4 a duration, 5 a time.
const std::string kFormats = BiffRecord(0x041E, Le16(164) + test::BiffString(u"yyyy\"年\"m\"月\"d\"日\"")) +
                             BiffRecord(0x041E, Le16(165) + test::BiffString(u"#,##0.00")) + Xf(0) + Xf(14) +
                             Xf(164) + Xf(165) + Xf(46) + Xf(20);

// Every kind of cell value, in its own column of row 1, as an .xlsx cell of it reads.
TEST(XlsReader, ReadsEachValueAsTheXlsxReaderDoes) {
    using test::FormulaNumber;
    using test::FormulaOther;
    struct Case {
        const char *What;
        std::string Cell;  // at column 0
        std::string Text;
        CellKind Kind;
    };
    const auto rk = [](std::uint32_t value) {
        return BiffRecord(0x027E, Le16(0) + Le16(0) + Le16(0) + test::Le32(value));
    };
    const std::vector<Case> cases{
        {"a number", test::NumberCell(0, 0, 18000.1), "18000.1", CellKind::Number},
        {"a tiny number", test::NumberCell(0, 0, 1e-7), "0.0000001", CellKind::Number},
        {"an RK integer", rk(1234U << 2 | 2), "1234", CellKind::Number},
        {"an RK negative integer", rk(static_cast<std::uint32_t>(-5) << 2 | 2), "-5", CellKind::Number},
        {"an RK integer in hundredths", rk(1234567U << 2 | 3), "12345.67", CellKind::Number},
        {"an RK double", rk(0x3FE00000), "0.5", CellKind::Number},
        {"an RK double in hundredths", rk(0x40590000 | 1), "1", CellKind::Number},
        {"a built-in date", test::NumberCell(0, 0, 46023, 1), "2026-01-01", CellKind::Date},
        {"a date of its own format", test::NumberCell(0, 0, 46053, 2), "2026-01-31", CellKind::Date},
        {"a number of its own format", test::NumberCell(0, 0, 46053, 3), "46053", CellKind::Number},
        {"a duration", test::NumberCell(0, 0, 1.5, 4), "1.5", CellKind::Number},
        {"a time", test::NumberCell(0, 0, 0.5, 5), "12:00:00", CellKind::Date},
        {"a text", test::LabelCell(0, 0, u"000123"), "000123", CellKind::Text},
        {"a text with a NUL", test::LabelCell(0, 0, std::u16string(u"张三\0丰", 4)),
         std::string("张三\0丰", 10), CellKind::Text},
        {"TRUE", test::BoolErrCell(0, 0, 1, false), "TRUE", CellKind::Boolean},
        {"FALSE", test::BoolErrCell(0, 0, 0, false), "FALSE", CellKind::Boolean},
        {"#N/A", test::BoolErrCell(0, 0, 0x2A, true), "#N/A", CellKind::Text},
        {"#DIV/0!", test::BoolErrCell(0, 0, 0x07, true), "#DIV/0!", CellKind::Text},
        {"#NULL!", test::BoolErrCell(0, 0, 0x00, true), "#NULL!", CellKind::Text},
        {"a formula's number", FormulaNumber(0, 0, 4400), "4400", CellKind::Number},
        {"a formula's date", FormulaNumber(0, 0, 46023, 1), "2026-01-01", CellKind::Date},
        {"a formula's text", test::FormulaText(0, 0, u"张三"), "张三", CellKind::Text},
        {"a formula's text after its shared formula",
         FormulaOther(0, 0, 0, 0) + BiffRecord(0x04BC, std::string(10, '\0')) +
             BiffRecord(0x0207, test::BiffString(u"Li Si", false)),
         "Li Si", CellKind::Text},
        {"a formula's TRUE", FormulaOther(0, 0, 1, 1), "TRUE", CellKind::Boolean},
        {"a formula's #VALUE!", FormulaOther(0, 0, 2, 0x0F), "#VALUE!", CellKind::Text},
        {"a formula's empty text", FormulaOther(0, 0, 3, 0), "", CellKind::Text},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.What);
        // A text cell after it, so that the value's own column stays when it is empty.
        const Outcome outcome = ReadXls(test::XlsFile(test.Cell + test::LabelCell(0, 1, u"后"), kFormats));
        ASSERT_EQ(outcome.Rows.size(), 1U) << outcome.Error;
        EXPECT_EQ(outcome.Rows[0].Cells, (std::vector<std::string>{test.Text, "后"}));
        EXPECT_EQ(outcome.Rows[0].Kinds[0], test.Kind);
    }
    // The 1904 date system.
    const Outcome from1904 =
        ReadXls(test::XlsFile(test::NumberCell(0, 0, 44561, 1), BiffRecord(0x0022, Le16(1)) + kFormats));
    ASSERT_EQ(from1904.Rows.size(), 1U) << from1904.Error;
    EXPECT_EQ(from1904.Rows[0].Cells[0], "2026-01-01");
}

// Which sheet is read, and what is said of the others, as for .xlsx.
TEST(XlsReader, ReadsTheFirstWorksheetAndSaysWhichItIs) {
    const std::string cell = test::LabelCell(0, 0, u"工号");
    struct Case {
        const char *What;
        std::vector<test::XlsSheet> Sheets;
        const char *Notice;
    };
    const std::vector<Case> cases{
        {"one sheet", {{u"工资", cell}}, ""},
        {"a hidden stale sheet first",
         {{u"旧表", cell, 1}, {u"新表", ""}},
         "读取的是工作表“旧表”（隐藏），另有 1 个工作表未读取"},
        {"a very hidden one alone", {{u"旧表", cell, 2}}, "读取的是工作表“旧表”（隐藏）"},
        {"a chart before it",
         {{u"图表", "", 0, 2}, {u"工资", cell}, {u"汇总", ""}},
         "读取的是工作表“工资”，另有 2 个工作表未读取"},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.What);
        const Outcome outcome =
            ReadXls(test::CompoundBytes({{u"Workbook", test::BiffWorkbook({}, test.Sheets)}}));
        ASSERT_EQ(outcome.Rows.size(), 1U) << outcome.Error;
        EXPECT_EQ(outcome.Rows[0].Cells[0], "工号");
        EXPECT_EQ(outcome.Notice, test.Notice);
    }
}

// A text of any length a cell holds, its characters going on over CONTINUE records
// in one or two bytes each, beside astral characters, exactly as written.
TEST(XlsReader, ReadsLongSharedStringsSplitOverContinueRecords) {
    std::u16string latin;
    std::u16string mixed;
    for (std::size_t i = 0; latin.size() < 32767; ++i) {
        latin += static_cast<char16_t>(u'a' + i % 26);
        mixed += i % 7 == 0 ? std::u16string(u"\xD840\xDC00") : i % 3 == 0 ? u"税" : u"x";
    }
    mixed.resize(32767);  // a pair cut at the end leaves its high half, read as U+FFFD
    const auto utf8 = [](const std::u16string &text) {
        std::string bytes;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char16_t unit = text[i];
            bytes += unit == u'税'    ? "税"
                     : unit == 0xD840 ? (i + 1 < text.size() ? "𠀀" : "\xEF\xBF\xBD")
                     : unit == 0xDC00 ? ""
                                      : std::string(1, static_cast<char>(unit));
        }
        return bytes;
    };
    for (const std::size_t limit : {std::size_t{8224}, std::size_t{101}}) {
        for (const bool switchWidths : {false, true}) {
            SCOPED_TRACE(std::to_string(limit) + (switchWidths ? " switching widths" : ""));
            const std::string sheet =
                test::SharedCell(0, 0, 0) + test::SharedCell(0, 1, 1) + test::SharedCell(0, 2, 2);
            const Outcome outcome = ReadXls(
                test::XlsFile(sheet, test::SharedStrings({latin, mixed, u"尾"}, limit, switchWidths)));
            ASSERT_EQ(outcome.Rows.size(), 1U) << outcome.Error;
            EXPECT_EQ(outcome.Rows[0].Cells, (std::vector<std::string>{utf8(latin), utf8(mixed), "尾"}));
        }
    }
    // A row of more text than a record may hold is refused, as for .xlsx.
    std::string wide;
    for (std::uint32_t column = 0; column < 40; ++column) {
        wide += test::SharedCell(0, column, 1);
    }
    const Outcome outcome = ReadXls(test::XlsFile(wide, test::SharedStrings({latin, mixed})));
    EXPECT_TRUE(outcome.Rows.empty());
    EXPECT_EQ(outcome.Error, "第 1 行超过 1 MiB 的上限");
}

// A rich text's runs and a phonetic guide are left out, as for .xlsx, wherever the
// CONTINUE records cut them.
TEST(XlsReader, LeavesOutRichTextRunsAndPhoneticGuides) {
    const std::string rich = Le16(2) + '\x0D' + Le16(2) + test::Le32(5) + test::Units(u"张三", true) +
                             test::Le32(0x00010000) + test::Le32(0x00010001) + std::string(5, '\x7F');
    const std::string plain = Le16(1) + '\0' + "x";
    const std::string table = test::Le32(2) + test::Le32(2) + rich + plain;
    const std::string cells = test::SharedCell(0, 0, 0) + test::SharedCell(0, 1, 1);
    // Cut in the runs, then in the guide, then just before the second string.
    for (const std::size_t cut :
         {std::size_t{8 + 9 + 4 + 3}, std::size_t{8 + 9 + 4 + 8 + 2}, table.size() - 4}) {
        SCOPED_TRACE(cut);
        const std::string records =
            BiffRecord(0x00FC, table.substr(0, cut)) + BiffRecord(0x003C, table.substr(cut));
        const Outcome outcome = ReadXls(test::XlsFile(cells, records));
        ASSERT_EQ(outcome.Rows.size(), 1U) << outcome.Error;
        EXPECT_EQ(outcome.Rows[0].Cells, (std::vector<std::string>{"张三", "x"}));
    }
}

// What a workbook declares is checked against what it holds, before it is believed.
TEST(XlsReader, TakesNoMemoryForWhatTheFileOnlyDeclares) {
    // Sheets that say they span 65536 rows and 256 columns hold two cells.
    const std::string dimensions =
        BiffRecord(0x0200, test::Le32(0) + test::Le32(65536) + Le16(0) + Le16(256) + Le16(0));
    std::vector<test::XlsSheet> sheets;
    for (int i = 0; i < 3; ++i) {
        sheets.push_back({u"表" + std::u16string(1, static_cast<char16_t>(u'一' + i)),
                          dimensions + test::LabelCell(0, 0, u"工号") + test::NumberCell(2, 0, 7)});
    }
    const Outcome outcome = ReadXls(test::CompoundBytes({{u"Workbook", test::BiffWorkbook({}, sheets)}}));
    EXPECT_EQ(
        outcome.Rows,
        (std::vector<Row>{{1, {"工号"}, {CellKind::Text}}, {2, {}, {}}, {3, {"7"}, {CellKind::Number}}}));
    // A table of shared strings that says it holds four billion of them.
    const Outcome strings = ReadXls(test::XlsFile(
        test::SharedCell(0, 0, 0), BiffRecord(0x00FC, test::Le32(~0U) + test::Le32(~0U) + "\x01\x00\x00x")));
    EXPECT_NE(strings.Error.find("共享字符串表声明的字符串多于它所能容纳的"), std::string::npos)
        << strings.Error;
}

// Each damage, and each workbook that cannot be read, refused with its reason.
TEST(XlsReader, RefusesWhatItCannotReadSayingWhy) {
    const std::string cell = test::LabelCell(0, 0, u"工号");
    std::string biff5 = test::BiffWorkbook({}, {{u"Sheet1", cell}});
    biff5.replace(4, 2, Le16(0x0500));
    std::string farSheet = test::BiffWorkbook({}, {{u"Sheet1", cell}});
    farSheet.replace(farSheet.find('\x85') + 4, 4, test::Le32(1U << 20));
    std::string cutSheet = test::BiffWorkbook({}, {{u"Sheet1", cell}});
    cutSheet.resize(cutSheet.size() - 4);
    struct Case {
        const char *What;
        std::string File;
        const char *Reason;
    };
    const auto workbook = [](const std::string &stream) {
        return test::CompoundBytes({{u"Workbook", stream}});
    };
    const std::vector<Case> cases{
        {"an encrypted workbook", test::XlsFile(cell, BiffRecord(0x002F, std::string(54, '\1'))),
         "工作簿已加密"},
        {"an encrypted .xlsx", test::CompoundBytes({{u"EncryptionInfo", "x"}, {u"EncryptedPackage", "y"}}),
         "工作簿已加密"},
        {"an Excel 95 workbook", test::CompoundBytes({{u"Book", "x"}}), "BIFF5"},
        {"an Excel 95 stream named as 97's", workbook(biff5), "BIFF5"},
        {"a document", test::CompoundBytes({{u"WordDocument", "x"}}), "不是 Excel 工作簿"},
        {"no worksheet", test::CompoundBytes({{u"Workbook", test::BiffWorkbook({}, {{u"图表", "", 0, 2}})}}),
         "工作簿中没有工作表"},
        {"a zeroed record header", test::XlsFile(cell + std::string(4, '\0') + cell), "文件已损坏"},
        {"a record past the stream", test::XlsFile(cell + BiffRecord(0x0203, "").substr(0, 2) + Le16(9000)),
         "文件已损坏"},
        {"a sheet past the stream", workbook(farSheet), "位置超出工作簿流"},
        {"a sheet without its EOF", workbook(cutSheet), "文件已损坏"},
        {"a cell past column 256", test::XlsFile(test::LabelCell(0, 300, u"x")), "超出工作表的 256 列"},
        {"a cell written twice", test::XlsFile(cell + cell), "出现了不止一次"},
        {"a shared string not in the table", test::XlsFile(test::SharedCell(0, 0, 3)), "不存在的共享字符串"},
        {"a formula's text missing", test::XlsFile(test::FormulaOther(0, 0, 0, 0) + cell),
         "缺少它的文字结果"},
        {"an error of no known code", test::XlsFile(test::BoolErrCell(0, 0, 0x99, true)), "记录无效"},
        {"a NUMBER of the wrong length", test::XlsFile(BiffRecord(0x0203, std::string(10, '\0'))),
         "记录无效"},
        {"an infinite number", test::XlsFile(test::NumberCell(0, 0, 1e308 * 10)), "数值无效"},
        {"a MULRK whose last column disagrees",
         test::XlsFile(BiffRecord(0x00BD, Le16(0) + Le16(0) + Le16(0) + test::Le32(2) + Le16(5))),
         "记录无效"},
        {"a string cut short",
         test::XlsFile(test::SharedCell(0, 0, 0),
                       BiffRecord(0x00FC, test::Le32(1) + test::Le32(1) + Le16(9) + '\0' + "abc")),
         "记录不完整"},
        {"globals without their EOF", workbook(test::BiffWorkbook({}, {}).substr(0, 20)), "文件已损坏"},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.What);
        const Outcome outcome = ReadXls(test.File);
        EXPECT_TRUE(outcome.Rows.empty());
        EXPECT_NE(outcome.Error.find(test.Reason), std::string::npos) << outcome.Error;
        EXPECT_NE(outcome.Error.find(RecordSource::kReadableFormats), std::string::npos) << outcome.Error;
    }
}

// Four hundred rows written by xlwt, then each 512-byte sector zeroed in turn and the
// file cut at each sector: every damaged file is refused, or reads as it was (a
// sector that held nothing in use), never with rows lost.
constexpr std::string_view kFourHundredRows = R"(import sys, xlwt
book = xlwt.Workbook(encoding="utf-8")
sheet = book.add_sheet("工资")
for c, name in enumerate(["工号", "姓名", "本期收入", "备注"]):
    sheet.write(0, c, name)
for r in range(1, 401):
    sheet.write(r, 0, "%06d" % r)
    sheet.write(r, 1, "员工%d" % r)
    sheet.write(r, 2, 10000 + r * 1.5)
    sheet.write(r, 3, "第%d行的备注" % r * 3)
book.save(sys.argv[1])
)";

TEST(XlsReader, RefusesEveryZeroedOrMissingSectorNeverLosingRows) {
    test::ScratchFolder folder;
    test::RunPython(folder, std::string(kFourHundredRows), {folder.Path("rows.xls")});
    const std::string whole = folder.Read("rows.xls");
    const Outcome original = ReadXls(whole);
    ASSERT_EQ(original.Rows.size(), 401U) << original.Error;
    std::size_t refused = 0;
    for (std::size_t at = 512; at < whole.size(); at += 512) {
        SCOPED_TRACE(at);
        std::string zeroed = whole;
        zeroed.replace(at, std::min<std::size_t>(512, whole.size() - at),
                       std::min<std::size_t>(512, whole.size() - at), '\0');
        for (const std::string &damaged : {zeroed, whole.substr(0, at)}) {
            const Outcome outcome = ReadXls(damaged);
            if (outcome.Error.empty()) {
                EXPECT_EQ(outcome.Rows, original.Rows);
            } else {
                ++refused;
                EXPECT_NE(outcome.Error.find("文件已损坏"), std::string::npos) << outcome.Error;
            }
        }
    }
    EXPECT_GT(refused, whole.size() / 512);
}

// Bytes changed at random, eight at a time: each workbook is read or refused with a
// reason, and none is read beyond its bytes (the sanitised build checks).
TEST(XlsReader, SurvivesChangedBytes) {
    test::ScratchFolder folder;
    test::RunPython(folder, std::string(kTwins), {folder.Path("twin.xlsx"), folder.Path("old.xls")});
    test::Convert(folder.Path("twin.xlsx"), folder.Path("converted.xls"));
    for (const char *name : {"old.xls", "converted.xls"}) {
        const std::string whole = folder.Read(name);
        std::uint32_t seed = 2026;
        for (int round = 0; round < 1500; ++round) {
            std::string mutated = whole;
            for (int i = 0; i < 8; ++i) {
                seed = seed * 1103515245 + 12345;
                mutated[(seed >> 8) % mutated.size()] = static_cast<char>(seed >> 24);
            }
            const Outcome outcome = ReadXls(mutated);
            EXPECT_TRUE(outcome.Error.empty() || outcome.Rows.empty() ||
                        outcome.Error.find("行") != std::string::npos)
                << outcome.Error;
        }
    }
}

// A clerk's workbook converted by gnumeric, its formulas computed: the cached values
// read as the .xlsx twin's cells are, formulas and all.
TEST(XlsReader, ReadsAConvertedWorkbooksFormulas) {
    test::ScratchFolder folder;
    test::RunPython(folder, R"PY(import sys, openpyxl
book = openpyxl.Workbook()
book.active.title = "工资"
book.active.append(["姓名", "本期收入", "养老", "医疗", "三险一金", "按6万元减除", "检查"])
book.active.append(["张三", 10000, 3000, 1400, "=SUM(C2:D2)", "=FALSE()", "=1/0"])
book.active.append(["李四", "=B2*2", "=A2&\"丰\"", None, "=SUM(C3:D3)", True, "=NA()"])
book.create_sheet("说明").append(["x"])
book.save(sys.argv[1])
)PY",
                    {folder.Path("book.xlsx")});
    test::Convert(folder.Path("book.xlsx"), folder.Path("book.xls"));
    const Outcome outcome = ReadXls(folder.Read("book.xls"));
    ASSERT_EQ(outcome.Rows.size(), 3U) << outcome.Error;
    EXPECT_EQ(outcome.Rows[1].Cells,
              (std::vector<std::string>{"张三", "10000", "3000", "1400", "4400", "FALSE", "#DIV/0!"}));
    EXPECT_EQ(outcome.Rows[1].Kinds[5], CellKind::Boolean);
    EXPECT_EQ(outcome.Rows[2].Cells,
              (std::vector<std::string>{"李四", "20000", "张三丰", "", "0", "TRUE", "#N/A"}));
    EXPECT_EQ(outcome.Notice, "读取的是工作表“工资”，另有 1 个工作表未读取");
}

}  // namespace
}  // namespace taxcalc
