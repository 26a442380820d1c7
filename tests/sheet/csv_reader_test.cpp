// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/csv_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "sheet/csv_writer.h"
#include "tests/sheet/sheet_streams.h"

namespace taxcalc {
namespace {

using test::Cells;
using test::FileWith;
using Rows = std::vector<std::vector<std::string>>;

struct ReadAll {
    Rows Records;
    std::vector<std::uint64_t> Lines;
    CsvReader::Status Last;
    std::string Error;
    bool Bom;
};

ReadAll Read(std::string_view bytes, std::size_t limit = CsvReader::kDefaultRecordLimit) {
    const auto file = FileWith(bytes);
    CsvReader reader(file.get(), limit);
    ReadAll all{};
    CsvRecord record;
    while ((all.Last = reader.Read(record)) == CsvReader::Status::Record) {
        all.Records.push_back(Cells(record));
        all.Lines.push_back(record.Line);
    }
    all.Error = reader.Error();
    all.Bom = reader.HadByteOrderMark();
    return all;
}

TEST(CsvReader, ReadsRecordsAsSpreadsheetsWriteThem) {
    struct Case {
        const char *Name;
        std::string Input;
        Rows Records;
        std::vector<std::uint64_t> Lines;
    };
    const Case cases[] = {
        {"LF", "a,b\nc,d\n", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"CRLF, no final line end", "a,b\r\nc,d", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"bare CR", "a\rb\r", {{"a"}, {"b"}}, {1, 2}},
        {"comma inside quotes", "\"x,y\",z\n", {{"x,y", "z"}}, {1}},
        {"doubled quotes", "\"say \"\"hi\"\"\",\"\"\"\"\n", {{"say \"hi\"", "\""}}, {1}},
        {"line breaks inside quotes",
         "\"l1\r\nl2\nl3\",b\nnext\n",
         {{"l1\r\nl2\nl3", "b"}, {"next"}},
         {1, 4}},
        {"empty cells", ",,\n\"\",x\na,\n", {{"", "", ""}, {"", "x"}, {"a", ""}}, {1, 2, 3}},
        {"blank line", "a\n\nb", {{"a"}, {""}, {"b"}}, {1, 2, 3}},
        {"stray quote inside a cell", "ab\"c,d\n", {{"ab\"c", "d"}}, {1}},
        {"text after a closing quote", "\"ab\"c,d\n", {{"abc", "d"}}, {1}},
        {"closing quote at the end", "\"a\"", {{"a"}}, {1}},
        {"separator at the end", "a,", {{"a", ""}}, {1}},
        {"byte order mark", "\xEF\xBB\xBF\xE5\xB9\xB4,1\n", {{"\xE5\xB9\xB4", "1"}}, {1}},
        {"nothing", "", {}, {}},
    };
    for (const Case &c : cases) {
        const ReadAll all = Read(c.Input);
        EXPECT_EQ(all.Last, CsvReader::Status::End) << c.Name;
        EXPECT_EQ(all.Records, c.Records) << c.Name;
        EXPECT_EQ(all.Lines, c.Lines) << c.Name;
        EXPECT_EQ(all.Bom, c.Input.starts_with("\xEF\xBB\xBF")) << c.Name;
    }
}

TEST(CsvReader, FailsOnlyWhereNoRecordCanBeMadeOut) {
    struct Case {
        const char *Name;
        std::string Input;
        std::size_t Limit;
        std::size_t RecordsBefore;
        std::string ErrorPart;
    };
    const Case cases[] = {
        {"quote never closed", "a\n\"open,\nmore\n", CsvReader::kDefaultRecordLimit, 1,
         "第 2 行起的引号没有闭合"},
        {"UTF-16 cut short",
         std::string("\xFF\xFE"
                     "a\0b",
                     5),
         CsvReader::kDefaultRecordLimit, 0, "UTF-16 字符不完整"},
        {"UTF-16 lone surrogate", std::string("\xFF\xFE\x00\xDC\n\0", 6), CsvReader::kDefaultRecordLimit, 0,
         "不成对的 UTF-16 代理字符"},
        {"record over the limit", "short\n0123456789abcdefghij\n", 16, 1,
         "第 2 行起的记录超过 16 字节 的上限"},
        // Closed quotes are not blamed; only one that never closes is.
        {"quoted record over the limit", "\"0123456789\",\"abcdefghij\"\nnext\n", 16, 0,
         "第 1 行起的记录超过 16 字节 的上限"},
        {"open quote over the limit", "ok\n\"0123456789abcdefghij\n", 16, 1, "第 2 行起的引号没有闭合"},
        {"default limit", "\"" + std::string(CsvReader::kDefaultRecordLimit + 1, 'x') + "\"\n",
         CsvReader::kDefaultRecordLimit, 0, "第 1 行起的记录超过 1 MiB（1048576 字节） 的上限"},
    };
    for (const Case &c : cases) {
        const ReadAll all = Read(c.Input, c.Limit);
        EXPECT_EQ(all.Last, CsvReader::Status::Failed) << c.Name;
        EXPECT_EQ(all.Records.size(), c.RecordsBefore) << c.Name;
        EXPECT_NE(all.Error.find(c.ErrorPart), std::string::npos) << c.Name << ": " << all.Error;
    }
}

// Cells long enough to cross the reader's chunks, with escapes and line breaks at
// every offset around the boundary.
TEST(CsvReader, CellsCrossingChunkBoundariesArriveWhole) {
    std::string quoted;
    for (int i = 0; i < 40000; ++i) {
        quoted += "ab\"\r\n,xyz";
    }
    const std::string plain(300001, 'p');
    std::string escaped;
    for (const char c : quoted) {
        escaped += c == '"' ? "\"\"" : std::string(1, c);
    }
    const ReadAll all = Read("\"" + escaped + "\"," + plain + "\r\nlast\r\n");
    ASSERT_EQ(all.Last, CsvReader::Status::End);
    ASSERT_EQ(all.Records.size(), 2U);
    EXPECT_EQ(all.Records[0][0], quoted);
    EXPECT_EQ(all.Records[0][1], plain);
    EXPECT_EQ(all.Records[1], std::vector<std::string>{"last"});
    EXPECT_EQ(all.Lines[1], 40001U + 1);
}

// Whatever the writer writes, the reader reads back cell for cell.
TEST(CsvReader, ReadsBackWhatTheWriterWrote) {
    const std::string_view pieces[] = {"a", "1", ",", "\"", "\r", "\n", "\r\n", " ", "中", "\"\""};
    std::mt19937 random(20260101);
    Rows rows;
    for (int r = 0; r < 300; ++r) {
        std::vector<std::string> row(1 + random() % 5);
        for (std::string &cell : row) {
            for (unsigned n = random() % 6; n > 0; --n) {
                cell += pieces[random() % std::size(pieces)];
            }
        }
        rows.push_back(row);
    }
    const auto file = test::FileWith("");
    CsvWriter writer(file.get());
    for (const auto &row : rows) {
        for (const std::string &cell : row) {
            writer.Cell(cell);
        }
        writer.EndRow();
    }
    ASSERT_TRUE(writer.Flush());
    const ReadAll all = Read(test::Contents(file.get()));
    EXPECT_EQ(all.Records, rows);
}

}  // namespace
}  // namespace taxcalc
