// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/csv_writer.h"

#include <gtest/gtest.h>

#include "tests/sheet/sheet_streams.h"

namespace taxcalc {
namespace {

TEST(CsvWriter, QuotesOnlyWhatNeedsQuotes) {
    struct Case {
        std::vector<std::string> Cells;
        std::string Bytes;
    };
    const Case cases[] = {
        {{"a", "1.00", "年终奖"}, "a,1.00,年终奖\r\n"},
        {{"", ""}, ",\r\n"},
        {{"x,y"}, "\"x,y\"\r\n"},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\"\r\n"},
        {{"\""}, "\"\"\"\"\r\n"},
        {{"l1\r\nl2", "l3\nl4", "cr\r"}, "\"l1\r\nl2\",\"l3\nl4\",\"cr\r\"\r\n"},
        {{" blank kept ", "-2270.05"}, " blank kept ,-2270.05\r\n"},
    };
    for (const Case &c : cases) {
        const auto file = test::FileWith("");
        CsvWriter writer(file.get());
        for (const std::string &cell : c.Cells) {
            writer.Cell(cell);
        }
        writer.EndRow();
        ASSERT_TRUE(writer.Flush());
        EXPECT_EQ(test::Contents(file.get()), c.Bytes);
    }
}

TEST(CsvWriter, ByteOrderMarkComesFirst) {
    const auto file = test::FileWith("");
    CsvWriter writer(file.get());
    writer.ByteOrderMark();
    writer.Cell("a");
    writer.EndRow();
    writer.Cell("b");
    writer.EndRow();
    ASSERT_TRUE(writer.Flush());
    EXPECT_EQ(test::Contents(file.get()),
              "\xEF\xBB\xBF"
              "a\r\nb\r\n");
}

TEST(CsvWriter, ReportsAFailedWrite) {
    test::FilePtr full(std::fopen("/dev/full", "wb"));
    ASSERT_NE(full, nullptr);
    CsvWriter writer(full.get());
    writer.Cell("a");
    writer.EndRow();
    EXPECT_FALSE(writer.Flush());
    EXPECT_TRUE(writer.Failed());
    EXPECT_EQ(writer.ErrorNumber(), ENOSPC);
}

}  // namespace
}  // namespace taxcalc
