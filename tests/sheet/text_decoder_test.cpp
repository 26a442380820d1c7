// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/text_decoder.h"

#include <gtest/gtest.h>

#include "tests/sheet/sheet_streams.h"

namespace taxcalc {
namespace {

using test::RecordOf;

// The GBK and GB18030 bytes below are those that iconv(1) gives for the text in the
// comment.
TEST(TextDecoder, JudgesTheFirstRecordBeyondAsciiWhenUnsettledAndKeepsCellsApart) {
    using Result = TextDecoder::Result;
    struct Step {
        std::vector<std::string> Cells;
        std::vector<std::string> Decoded;
        Result Outcome;
    };
    struct Case {
        const char *Name;
        TextEncoding Settled;
        std::vector<Step> Steps;
        TextEncoding Decided;
    };
    const Case cases[] = {
        {"UTF-8 without a mark",
         TextEncoding::Undecided,
         {{{"工号", "张三"}, {"工号", "张三"}, Result::Clean}},
         TextEncoding::Utf8},
        // 姓名,年终奖 | 1,张三,18000
        {"GBK",
         TextEncoding::Undecided,
         {{{"\xD0\xD5\xC3\xFB", "\xC4\xEA\xD6\xD5\xBD\xB1"}, {"姓名", "年终奖"}, Result::Clean},
          {{"1", "\xD5\xC5\xC8\xFD", "18000"}, {"1", "张三", "18000"}, Result::Clean}},
         TextEncoding::Gb18030},
        {"ASCII header, GBK rows",
         TextEncoding::Undecided,
         {{{"name", "bonus"}, {"name", "bonus"}, Result::Clean},
          {{"\xD5\xC5\xC8\xFD", "1"}, {"张三", "1"}, Result::Clean},
          {{"\xA2\xE3"}, {"€"}, Result::Clean}},
         TextEncoding::Gb18030},
        // U+20000 takes four bytes in GB18030; a lone lead byte at a cell's end is broken.
        {"GB18030 four-byte and broken",
         TextEncoding::Undecided,
         {{{"\x95\x32\x82\x36", "a"}, {"\xF0\xA0\x80\x80", "a"}, Result::Clean},
          {{"\xD5\xC5\x81", "\xFF"}, {"张\\x81", "\\xFF"}, Result::Escaped}},
         TextEncoding::Gb18030},
        // A byte order mark said UTF-8: GBK bytes are broken UTF-8, not a change of mind.
        {"marked UTF-8 with stray bytes",
         TextEncoding::Utf8,
         {{{"ok",
            "\xD5\xC5"
            "x"},
           {"ok", "\\xD5\\xC5x"},
           Result::Escaped},
          {{"\xE5\xB9\xB4"}, {"年"}, Result::Clean}},
         TextEncoding::Utf8},
        // An overlong form is no UTF-8; in GBK the same bytes are 蜡.
        {"ill-formed UTF-8 means GB18030",
         TextEncoding::Undecided,
         {{{"\xC0\xAF"}, {"蜡"}, Result::Clean}},
         TextEncoding::Gb18030},
    };
    for (const Case &c : cases) {
        TextDecoder decoder;
        decoder.Settle(c.Settled);
        for (const Step &step : c.Steps) {
            CsvRecord record = RecordOf(step.Cells);
            EXPECT_EQ(decoder.Decode(record), step.Outcome) << c.Name;
            EXPECT_EQ(test::Cells(record), step.Decoded) << c.Name;
        }
        EXPECT_EQ(decoder.Encoding(), c.Decided) << c.Name;
    }
}

TEST(TextDecoder, RejectsEveryIllFormedUtf8Sequence) {
    const std::string broken[] = {
        "\x80",
        "\xC1\xBF",
        "\xE0\x9F\xBF",
        "\xED\xA0\x80",
        "\xF0\x8F\xBF\xBF",
        "\xF4\x90\x80\x80",
        "\xF5\x80\x80\x80",
        "\xE5\xB9",
        "\xE5\xB9"
        "a",
    };
    for (const std::string &bytes : broken) {
        TextDecoder decoder;
        decoder.Settle(TextEncoding::Utf8);
        CsvRecord record = RecordOf({bytes});
        EXPECT_EQ(decoder.Decode(record), TextDecoder::Result::Escaped) << testing::PrintToString(bytes);
    }
    const std::string fine[] = {"\xC2\x80", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xF0\x90\x80\x80",
                                "\xF4\x8F\xBF\xBF"};
    for (const std::string &bytes : fine) {
        TextDecoder decoder;
        decoder.Settle(TextEncoding::Utf8);
        CsvRecord record = RecordOf({bytes});
        EXPECT_EQ(decoder.Decode(record), TextDecoder::Result::Clean) << testing::PrintToString(bytes);
        EXPECT_EQ(test::Cells(record), std::vector<std::string>{bytes});
    }
}

}  // namespace
}  // namespace taxcalc
