// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The .xlsx reader on workbooks from real writers and on hand-written parts.
#include "sheet/xlsx_reader.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <cstdio>
#include <string>
#include <vector>

#include "sheet/record_source.h"
#include "sheet/sheet_files.h"
#include "tests/sheet/workbook_files.h"

namespace taxcalc::test {
namespace {

// A row as the reader gives it: its number, its cells, and one letter a cell for its
// kind (T text, N number, B boolean, D date).
struct Row {
    std::uint64_t Line;
    std::vector<std::string> Cells;
    std::string Kinds;
    bool operator==(const Row &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Row &row) {
    out << row.Line << ":";
    for (const std::string &cell : row.Cells) {
        out << " [" << cell << "]";
    }
    return out << " " << row.Kinds;
}

std::vector<Row> ReadAll(RecordSource &source, RecordSource::Status *ending = nullptr) {
    std::vector<Row> rows;
    CsvRecord record;
    RecordSource::Status status;
    while ((status = source.Read(record)) == RecordSource::Status::Record) {
        Row row{record.Line, {}, {}};
        for (std::size_t i = 0; i < record.Size(); ++i) {
            row.Cells.emplace_back(record.Cell(i));
            row.Kinds += "TNBMD"[static_cast<int>(record.Kind(i))];
        }
        rows.push_back(std::move(row));
    }
    if (ending != nullptr) {
        *ending = status;
    }
    return rows;
}

std::vector<Row> ReadWorkbook(const std::string &path) {
    XlsxReader reader;
    std::string error;
    EXPECT_TRUE(reader.Open(path, error)) << error;
    RecordSource::Status ending;
    std::vector<Row> rows = ReadAll(reader, &ending);
    EXPECT_EQ(ending, RecordSource::Status::End) << reader.Error();
    return rows;
}

TEST(XlsxReader, ReadsTheFirstWorksheetOfAnOpenpyxlWorkbook) {
    ScratchFolder folder;
    RunPython(folder, R"(import sys, openpyxl
from openpyxl.styles import Font
wb = openpyxl.Workbook()
wb.create_chartsheet("图表", 0)   # the first sheet is no worksheet
ws = wb["Sheet"]
ws.title = "工资"
other = wb.create_sheet("其他")
other["A1"] = "不该读到"
ws["A3"], ws["B3"], ws["D3"], ws["E3"], ws["F3"] = "工号", "姓名", "年终奖", "当月工资", "在职"
ws["A4"], ws["B4"], ws["D4"], ws["E4"], ws["F4"] = "000123", "张三", 18001, 3500, True
ws["A5"], ws["B5"], ws["D5"], ws["E5"], ws["F5"] = "1002", "李四", 18000.1, "=D4", False
ws["A7"], ws["B7"], ws["D7"], ws["E7"] = "1003", "王五, 财务\n北京", 0.1 + 0.2, -0.0
ws["A8"], ws["B8"], ws["D8"], ws["E8"], ws["G8"] = 1004, "张三", "一万", 1e-7, 123456789012345678
ws["H8"].font = Font(bold=True)   # styled, empty: trails off
ws["C10"].font = Font(bold=True)  # a row of styled empty cells after the last: dropped
wb.save(sys.argv[1])
)",
              {folder.Path("a.xlsx")});
    const std::vector<Row> expected{
        {3, {"工号", "姓名", "", "年终奖", "当月工资", "在职"}, "TTTTTT"},
        {4, {"000123", "张三", "", "18001", "3500", "TRUE"}, "TTTNNB"},
        // a formula without a cached value is an empty cell
        {5, {"1002", "李四", "", "18000.1", "", "FALSE"}, "TTTNTB"},
        {6, {}, ""},
        // openpyxl writes 16 significant digits: 0.3 and 1.234567890123457e+17
        {7, {"1003", "王五, 财务\n北京", "", "0.3", "0"}, "TTTNN"},
        {8, {"1004", "张三", "", "一万", "0.0000001", "", "123456789012345700"}, "NTTTNTN"},
    };
    EXPECT_EQ(ReadWorkbook(folder.Path("a.xlsx")), expected);
}

TEST(XlsxReader, ReadsRichTextAndCachedFormulaValuesFromLibxlsxwriter) {
    ScratchFolder folder;
    const std::string path = folder.Path("b.xlsx");
    lxw_workbook *workbook = workbook_new(path.c_str());
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format *bold = workbook_add_format(workbook);
    format_set_bold(bold);
    worksheet_write_string(sheet, 0, 0, "姓名", nullptr);
    worksheet_write_string(sheet, 0, 1, "年终奖", nullptr);
    worksheet_write_string(sheet, 0, 2, "说明", nullptr);
    lxw_rich_string_tuple first{bold, const_cast<char *>("张")};
    lxw_rich_string_tuple second{nullptr, const_cast<char *>("三丰")};
    lxw_rich_string_tuple *runs[] = {&first, &second, nullptr};
    worksheet_write_rich_string(sheet, 1, 0, runs, nullptr);
    worksheet_write_formula_num(sheet, 1, 1, "=9000*2+1", nullptr, 18001);
    worksheet_write_formula_str(sheet, 1, 2, "=\"盲\"&\"区\"", nullptr, "盲区");
    worksheet_write_string(sheet, 3, 3, "", nullptr);  // a blank string cell is no value
    worksheet_write_number(sheet, 4, 1, 54000.5, nullptr);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);

    const std::vector<Row> expected{
        {1, {"姓名", "年终奖", "说明"}, "TTT"},
        {2, {"张三丰", "18001", "盲区"}, "TNT"},
        {3, {}, ""},
        {4, {}, ""},
        {5, {"", "54000.5"}, "TN"},
    };
    EXPECT_EQ(ReadWorkbook(path), expected);
}

// The parts that a workbook needs, with the sheet and the shared strings given.
std::vector<std::pair<std::string, std::string>> Package(const std::string &sheet,
                                                         const std::string &strings) {
    return {
        {"[Content_Types].xml",
         "<Types xmlns='http://schemas.openxmlformats.org/package/2006/content-types'/>"},
        {"_rels/.rels",
         "<Relationships xmlns='http://schemas.openxmlformats.org/package/2006/relationships'>"
         "<Relationship Id='r1' Target='book/main.xml' "
         "Type='http://schemas.openxmlformats.org/officeDocument/"
         "2006/relationships/officeDocument'/></Relationships>"},
        {"book/main.xml",
         "<x:workbook xmlns:x='http://schemas.openxmlformats.org/spreadsheetml/2006/main' "
         "xmlns:rel='http://schemas.openxmlformats.org/officeDocument/2006/relationships'><x:sheets>"
         "<x:sheet name='一' sheetId='7' rel:id='s2'/><x:sheet name='二' sheetId='1' rel:id='s1'/>"
         "</x:sheets></x:workbook>"},
        {"book/_rels/main.xml.rels",
         "<Relationships xmlns='http://schemas.openxmlformats.org/package/2006/relationships'>"
         "<Relationship Id='s1' Target='other.xml' "
         "Type='http://schemas.openxmlformats.org/officeDocument/2006/"
         "relationships/worksheet'/>"
         "<Relationship Id='s2' Target='./sheets/../sheets/first.xml' "
         "Type='http://schemas.openxmlformats.org/"
         "officeDocument/2006/relationships/worksheet'/>"
         "<Relationship Id='s3' Target='strings.xml' "
         "Type='http://schemas.openxmlformats.org/officeDocument/2006/"
         "relationships/sharedStrings'/></Relationships>"},
        {"book/other.xml", "<worksheet xmlns='http://schemas.openxmlformats.org/spreadsheetml/2006/main'/>"},
        {"book/sheets/first.xml", sheet},
        {"book/strings.xml", strings},
    };
}

std::string Sheet(const std::string &rows) {
    return "<?xml version='1.0' encoding='UTF-8'?>"
           "<x:worksheet xmlns:x='http://schemas.openxmlformats.org/spreadsheetml/2006/main'><x:sheetData>" +
           rows + "</x:sheetData><x:mergeCells/></x:worksheet>";
}

const std::string kStrings =
    "<sst xmlns='http://schemas.openxmlformats.org/spreadsheetml/2006/main'>"
    "<si><t>年终奖</t></si>"
    "<si><r><rPr><b/></rPr><t>东</t></r><r><t xml:space='preserve'>京 都</t></r>"
    "<rPh sb='0' eb='1'><t>トウキョウ</t></rPh></si>"
    "<si><t/></si></sst>";

TEST(XlsxReader, FollowsTheRelationshipsAndReadsEveryKindOfCell) {
    ScratchFolder folder;
    ZipParts(
        folder, folder.Path("c.xlsx"),
        Package(Sheet("<x:row r='2'><x:c r='B2' t='s'><x:v>0</x:v></x:c><x:c t='s'><x:v>1</x:v></x:c></x:row>"
                      "<x:row><x:c><x:v>18000.099999999999</x:v></x:c><x:c><x:v>1.8E4</x:v></x:c>"
                      "<x:c t='e'><x:v>#DIV/0!</x:v></x:c><x:c t='str'><x:f>A1</x:f><x:v>是</x:v></x:c>"
                      "<x:c t='inlineStr'><x:is><x:r><x:t>行</x:t></x:r><x:r><x:t>内</x:t></x:r>"
                      "<x:rPh><x:t>ギョウ</x:t></x:rPh></x:is></x:c>"
                      "<x:c t='b'><x:v>1</x:v></x:c><x:c t='d'><x:v>2026-01-31</x:v></x:c>"
                      "<x:c t='s'><x:v>2</x:v></x:c><x:c><x:v> 5 </x:v></x:c></x:row>"
                      "<x:row r='6'><x:c r='AA6'><x:v>-1E-3</x:v></x:c></x:row>"),
                kStrings));
    std::vector<std::string> wide(27);
    wide[26] = "-0.001";
    const std::vector<Row> expected{
        {2, {"", "年终奖", "东京 都"}, "TTT"},
        {3, {"18000.1", "18000", "#DIV/0!", "是", "行内", "TRUE", "2026-01-31", "", "5"}, "NNTTTBTTN"},
        {4, {}, ""},
        {5, {}, ""},
        {6, wide, std::string(26, 'T') + "N"},
    };
    EXPECT_EQ(ReadWorkbook(folder.Path("c.xlsx")), expected);
}

TEST(XlsxReader, RefusesBrokenSheets) {
    struct Case {
        const char *Name;
        std::string Rows;
        const char *Error;
    };
    const std::vector<Case> cases{
        {"rows out of order", "<x:row r='3'><x:c><x:v>1</x:v></x:c></x:row><x:row r='2'/>", "次序错乱"},
        {"row beyond the sheet", "<x:row r='1048577'><x:c><x:v>1</x:v></x:c></x:row>", "1048576"},
        {"column beyond the sheet", "<x:row><x:c r='XFE1'><x:v>1</x:v></x:c></x:row>", "XFE1"},
        {"cells out of order", "<x:row><x:c r='B1'><x:v>1</x:v></x:c><x:c r='A1'><x:v>1</x:v></x:c></x:row>",
         "次序错乱"},
        {"missing shared string", "<x:row><x:c t='s'><x:v>3</x:v></x:c></x:row>", "共享字符串"},
        {"bad XML", "<x:row><x:c><x:v>1</x:c></x:row>", "XML"},
        {"cell in another row", "<x:row r='2'><x:c r='A3'><x:v>1</x:v></x:c></x:row>", "A3"},
        {"one token beyond the limit",
         "<x:row><x:c><x:v>1</x:v></x:c></x:row><!--" + std::string(2 * XlsxPackage::kMaxTokenBytes, 'x') +
             "-->",
         "1 MiB"},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.Name);
        ScratchFolder folder;
        ZipParts(folder, folder.Path("d.xlsx"), Package(Sheet(test.Rows), kStrings));
        XlsxReader reader;
        std::string error;
        ASSERT_TRUE(reader.Open(folder.Path("d.xlsx"), error)) << error;
        RecordSource::Status ending;
        ReadAll(reader, &ending);
        EXPECT_EQ(ending, RecordSource::Status::Failed);
        EXPECT_NE(reader.Error().find(test.Error), std::string::npos) << reader.Error();
    }
}

TEST(XlsxReader, RefusesADocumentTypeAndAnOversizedRow) {
    ScratchFolder folder;
    std::string withDoctype = Sheet("<x:row><x:c><x:v>&a;</x:v></x:c></x:row>");
    withDoctype.insert(withDoctype.find("?>") + 2, "<!DOCTYPE x [<!ENTITY a '1'>]>");
    ZipParts(folder, folder.Path("e.xlsx"), Package(withDoctype, kStrings));
    // Inflates from a few kilobytes to more than a row may hold.
    const std::string big(XlsxReader::kMaxRowBytes / 2 + 1, 'x');
    ZipParts(folder, folder.Path("f.xlsx"),
             Package(Sheet("<x:row><x:c t='s'><x:v>0</x:v></x:c><x:c t='s'><x:v>0</x:v></x:c></x:row>"),
                     "<sst xmlns='http://schemas.openxmlformats.org/spreadsheetml/2006/main'><si><t>" + big +
                         "</t></si></sst>"));
    for (const char *name : {"e.xlsx", "f.xlsx"}) {
        SCOPED_TRACE(name);
        XlsxReader reader;
        std::string error;
        ASSERT_TRUE(reader.Open(folder.Path(name), error)) << error;
        RecordSource::Status ending;
        EXPECT_TRUE(ReadAll(reader, &ending).empty());
        EXPECT_EQ(ending, RecordSource::Status::Failed);
    }
}

TEST(XlsxReader, NumberFormIsTheShortestDecimalThatReadsBack) {
    struct Case {
        const char *Value;
        const char *Form;
    };
    // The forms worked out by hand from the doubles nearest the values.
    const std::vector<Case> cases{
        {"18001", "18001"},
        {"18001.5", "18001.5"},
        {"18000.099999999999", "18000.1"},
        {"18000.1", "18000.1"},
        {"0.30000000000000004", "0.30000000000000004"},
        {"0.29999999999999999", "0.3"},
        {"1.8E4", "18000"},
        {"1e-7", "0.0000001"},
        {"-0", "0"},
        {"-12.50", "-12.5"},
        {"1E+21", "1000000000000000000000"},
        {"0.10000000000000001", "0.1"},
        {"1.234567890123457e+17", "123456789012345700"},
        {"123456789012345678", "123456789012345680"},
        {"9007199254740993", "9007199254740992"},
        {"2.5E-10", "0.00000000025"},
        {"  7 ", "7"},
    };
    for (const Case &test : cases) {
        std::string form;
        EXPECT_TRUE(XlsxReader::NumberForm(test.Value, form)) << test.Value;
        EXPECT_EQ(form, test.Form) << test.Value;
    }
    for (const char *value : {"", "abc", "1,5", "inf", "nan", "1e400", "0x10", "12a"}) {
        std::string form;
        EXPECT_FALSE(XlsxReader::NumberForm(value, form)) << value;
    }
}

TEST(XlsxReader, ReadsDatesAndTimesAsTheirIsoForms) {
    ScratchFolder folder;
    for (const char *epoch : {"CALENDAR_WINDOWS_1900", "CALENDAR_MAC_1904"}) {
        SCOPED_TRACE(epoch);
        RunPython(folder,
                  std::string(R"(import sys, openpyxl, datetime
from openpyxl.utils.datetime import )") +
                      epoch + R"(
wb = openpyxl.Workbook()
wb.epoch = )" + epoch +
                      R"(
ws = wb.active
ws.append(["入职", "打卡", "时刻", "中文日期", "比例", "时长"])
ws.append([datetime.date(2026, 1, 31), datetime.datetime(2025, 1, 31, 18, 0), datetime.time(8, 30),
           datetime.date(1904, 3, 1), 0.5, 1.5])
ws["B2"].number_format = "yyyy-mm-dd h:mm:ss"
ws["D2"].number_format = 'yyyy"年"m"月"d"日";@'
ws["E2"].number_format = "0.00%"
ws["F2"].number_format = "[h]:mm"
wb.save(sys.argv[1])
)",
                  {folder.Path("dates.xlsx")});
        const std::vector<Row> expected{
            {1, {"入职", "打卡", "时刻", "中文日期", "比例", "时长"}, "TTTTTT"},
            {2, {"2026-01-31", "2025-01-31 18:00:00", "08:30:00", "1904-03-01", "0.5", "1.5"}, "DDDDNN"},
        };
        EXPECT_EQ(ReadWorkbook(folder.Path("dates.xlsx")), expected);
    }
}

TEST(XlsxReader, DatePartsOfNumberFormats) {
    struct Case {
        const char *Code;
        std::uint8_t Parts;
    };
    constexpr std::uint8_t kDay = XlsxReader::kDay;
    constexpr std::uint8_t kTime = XlsxReader::kTimeOfDay;
    const std::vector<Case> cases{
        {"General", 0},
        {"0.00", 0},
        {"#,##0.00;[Red]-#,##0.00", 0},
        {"@", 0},
        {"yyyy-mm-dd", kDay},
        {"m/d/yy", kDay},
        {"mmm-yy", kDay},
        {"yyyy\"年\"m\"月\"d\"日\"", kDay},
        {"[$-804]yyyy\"年\"m\"月\"", kDay},
        {"h:mm", kTime},
        {"mm:ss", kTime},
        {"h:mm AM/PM", kTime},
        {"yyyy-mm-dd hh:mm:ss", kDay | kTime},
        {"[h]:mm:ss", 0},
        {"\"days\" 0", 0},
        {"0\\d", 0},
        {"0.00;yyyy", 0},
    };
    for (const Case &test : cases) {
        EXPECT_EQ(XlsxReader::DatePartsOf(test.Code), test.Parts) << test.Code;
    }
}

TEST(XlsxReader, DateFormCountsDaysAsSpreadsheetsDo) {
    struct Case {
        double Serial;
        std::uint8_t Parts;
        bool From1904;
        const char *Form;  // nullptr: stays a number
    };
    constexpr std::uint8_t kDay = XlsxReader::kDay;
    constexpr std::uint8_t kTime = XlsxReader::kTimeOfDay;
    const std::vector<Case> cases{
        {1, kDay, false, "1900-01-01"},
        {59, kDay, false, "1900-02-28"},
        {60, kDay, false, nullptr},  // the 29 February 1900 that the count invents
        {61, kDay, false, "1900-03-01"},
        {25569, kDay, false, "1970-01-01"},
        {45688, kDay, false, "2025-01-31"},
        {45688.75, kDay | kTime, false, "2025-01-31 18:00:00"},
        {45688.75, kDay, false, "2025-01-31 18:00:00"},  // the time is kept though not shown
        {0.5, kTime, false, "12:00:00"},
        {0.99999999, kTime, false, "1900-01-01 00:00:00"},
        {0, kDay, false, nullptr},
        {0, kDay, true, "1904-01-01"},
        {44226.5, kDay, true, "2025-01-31 12:00:00"},
        {2958465, kDay, false, "9999-12-31"},
        {2958466, kDay, false, nullptr},
        {-1, kDay, false, nullptr},
        {45688, 0, false, nullptr},
    };
    for (const Case &test : cases) {
        std::string form;
        const bool isDate = XlsxReader::DateForm(test.Serial, test.Parts, test.From1904, form);
        EXPECT_EQ(isDate, test.Form != nullptr) << test.Serial;
        if (isDate && test.Form != nullptr) {
            EXPECT_EQ(form, test.Form) << test.Serial;
        }
    }
}

// What RecordSource::Open says of each kind of file, read from a file or a pipe.
TEST(RecordSource, OpensByContentAndRefusesOtherSpreadsheets) {
    ScratchFolder folder;
    folder.Write("old.xls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'));
    ZipParts(folder, folder.Path("sheet.ods"),
             {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", "<x/>"}});
    ZipParts(folder, folder.Path("letter.docx"), {{"word/document.xml", "<x/>"}});
    ZipParts(folder, folder.Path("book.xlsx"),
             Package(Sheet("<x:row><x:c t='s'><x:v>0</x:v></x:c></x:row>"), kStrings));
    folder.Write("cut.xlsx", folder.Read("book.xlsx").substr(0, 200));
    folder.Write("payroll.csv", "姓名,年终奖\r\n张三,18001\r\n");

    struct Case {
        const char *Name;
        const char *Error;  // empty when the file opens
        const char *FirstCell;
    };
    const std::vector<Case> cases{
        {"old.xls", ".xls", ""}, {"sheet.ods", ".ods", ""},   {"letter.docx", "不是 .xlsx 工作簿", ""},
        {"cut.xlsx", "ZIP", ""}, {"book.xlsx", "", "年终奖"}, {"payroll.csv", "", "姓名"},
    };
    for (const bool piped : {false, true}) {
        for (const Case &test : cases) {
            SCOPED_TRACE(std::string(test.Name) + (piped ? " through a pipe" : ""));
            const std::string path = folder.Path(test.Name);
            std::FILE *file =
                piped ? popen(("cat '" + path + "'").c_str(), "r") : std::fopen(path.c_str(), "rb");
            ASSERT_NE(file, nullptr);
            std::string error;
            const std::unique_ptr<RecordSource> source = OpenRecordSource(file, error);
            if (*test.Error != '\0') {
                EXPECT_EQ(source, nullptr);
                EXPECT_NE(error.find(test.Error), std::string::npos) << error;
                EXPECT_NE(error.find(RecordSource::kReadableFormats), std::string::npos) << error;
            } else {
                ASSERT_NE(source, nullptr) << error;
                CsvRecord record;
                ASSERT_EQ(source->Read(record), RecordSource::Status::Record);
                EXPECT_EQ(record.Cell(0), test.FirstCell);
            }
            if (piped) {
                // Let cat finish writing whatever was not read.
                while (std::fgetc(file) != EOF) {
                }
                pclose(file);
            } else {
                std::fclose(file);
            }
        }
    }
}

// Workbooks damaged on the way or made to hurt: each is refused, whether on opening
// (the package) or on reading (the sheet).
TEST(XlsxReader, RefusesDamagedAndHostileWorkbooks) {
    ScratchFolder folder;
    const std::string row = "<x:row><x:c t='s'><x:v>0</x:v></x:c><x:c><x:v>18001</x:v></x:c></x:row>";
    const std::string tail = "<x:row><x:c t='s'><x:v>0</x:v></x:c></x:row>";
    // Stored, then one digit altered, as a bad disk or transfer would: only the
    // checksum at the sheet's end tells, after its data.
    ZipParts(folder, folder.Path("crc.xlsx"), Package(Sheet(row), kStrings));
    RunPython(folder, R"(import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    parts = [(i.filename, z.read(i)) for i in z.infolist()]
with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_STORED) as z:
    for name, data in parts:
        z.writestr(name, data)
data = open(sys.argv[1], 'rb').read()
assert data.count(b'>18001<') == 1
open(sys.argv[1], 'wb').write(data.replace(b'>18001<', b'>98001<'))
)",
              {folder.Path("crc.xlsx")});
    std::vector<std::pair<std::string, std::string>> twice = Package(Sheet(row), kStrings);
    twice.emplace_back("BOOK/sheets/first.xml", Sheet(tail));
    ZipParts(folder, folder.Path("twice.xlsx"), twice);
    const std::string sst = "<sst xmlns='http://schemas.openxmlformats.org/spreadsheetml/2006/main'>";
    ZipParts(folder, folder.Path("comment.xlsx"),
             Package(Sheet(row), sst + "<si><t>a</t></si><!--" +
                                     std::string(2 * XlsxPackage::kMaxTokenBytes, 'c') + "--></sst>"));
    // One string just over a row's limit, referenced once.
    ZipParts(folder, folder.Path("long.xlsx"),
             Package(Sheet(row),
                     sst + "<si><t>" + std::string(XlsxReader::kMaxRowBytes + 1, 'x') + "</t></si></sst>"));
    struct Case {
        const char *Name;
        bool Opens;
        const char *Error;
    };
    const Case cases[] = {
        {"crc.xlsx", true, "CRC"},
        {"twice.xlsx", false, "两个条目同名 BOOK/sheets/first.xml"},
        {"comment.xlsx", false, "1 MiB"},
        {"long.xlsx", true, "第 1 行超过 1 MiB 的上限"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        XlsxReader reader;
        std::string error;
        ASSERT_EQ(reader.Open(folder.Path(c.Name), error), c.Opens) << error;
        if (c.Opens) {
            RecordSource::Status ending;
            ReadAll(reader, &ending);
            EXPECT_EQ(ending, RecordSource::Status::Failed);
            error = reader.Error();
        }
        EXPECT_NE(error.find(c.Error), std::string::npos) << error;
    }
}

TEST(XlsxReader, DecodesTheFormatsEscapesAndNamesAHiddenSheet) {
    ScratchFolder folder;
    const std::string sst =
        "<sst xmlns='http://schemas.openxmlformats.org/spreadsheetml/2006/main'>"
        "<si><t>a_x000D__x000a_b</t></si><si><t>_x005F_x000D_</t></si>"
        "<si><t>_xD83D__xDE00_ _xD83D_ _x00G0_ _x4E09</t></si></sst>";
    ZipParts(
        folder, folder.Path("e.xlsx"),
        Package(
            Sheet("<x:row><x:c t='s'><x:v>0</x:v></x:c><x:c t='s'><x:v>1</x:v></x:c>"
                  "<x:c t='s'><x:v>2</x:v></x:c><x:c t='inlineStr'><x:is><x:t>张_x0000_三</x:t></x:is></x:c>"
                  "</x:row>"),
            sst));
    const std::vector<Row> expected{
        {1,
         {"a\r\nb", "_x000D_", "\xF0\x9F\x98\x80 _xD83D_ _x00G0_ _x4E09", std::string("张\0三", 7)},
         "TTTT"}};
    EXPECT_EQ(ReadWorkbook(folder.Path("e.xlsx")), expected);

    RunPython(folder, R"(import sys, openpyxl
wb = openpyxl.Workbook()
wb.active.title = "旧表"
wb.active.sheet_state = "hidden"
wb.create_sheet("新表")
wb.create_sheet("汇总")
wb.save(sys.argv[1])
openpyxl.Workbook().save(sys.argv[2])
)",
              {folder.Path("hidden.xlsx"), folder.Path("plain.xlsx")});
    XlsxReader reader;
    std::string error;
    ASSERT_TRUE(reader.Open(folder.Path("hidden.xlsx"), error)) << error;
    EXPECT_EQ(reader.Notice(), "读取的是工作表“旧表”（隐藏），另有 2 个工作表未读取");
    XlsxReader plain;
    ASSERT_TRUE(plain.Open(folder.Path("plain.xlsx"), error)) << error;
    EXPECT_EQ(plain.Notice(), "");
}

}  // namespace
}  // namespace taxcalc::test
