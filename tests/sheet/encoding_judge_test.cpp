// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/encoding_judge.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <random>
#include <string>
#include <vector>

namespace taxcalc {
namespace {

TextEncoding Judge(const std::string &bytes, std::size_t piece = 0) {
    EncodingJudge judge;
    if (piece == 0) {
        judge.Feed(bytes);
    } else {
        for (std::size_t i = 0; i < bytes.size(); i += piece) {
            judge.Feed(std::string_view(bytes).substr(i, piece));
        }
    }
    judge.Finish();
    return judge.Verdict();
}

// The text in another encoding, by the system's iconv: an independent hand.
std::string Converted(const std::string &text, const char *from, const char *to) {
    const iconv_t converter = iconv_open(to, from);
    std::string out(text.size() * 4 + 4, '\0');
    char *in = const_cast<char *>(text.data());
    char *outPointer = out.data();
    std::size_t inLeft = text.size();
    std::size_t outLeft = out.size();
    const std::size_t done = iconv(converter, &in, &inLeft, &outPointer, &outLeft);
    iconv_close(converter);
    EXPECT_NE(done, static_cast<std::size_t>(-1)) << text;
    out.resize(out.size() - outLeft);
    return out;
}

TEST(EncodingJudge, ReadsPayrollFilesTheWayTheyWereWritten) {
    struct Case {
        const char *Name;
        std::string Bytes;
        TextEncoding Expected;
        std::uint64_t FirstLine;
    };
    const Case cases[] = {
        {"ASCII only", "name,bonus\nAl,1\n", TextEncoding::Undecided, 0},
        {"UTF-8 with a cut character first",
         "name,bonus,wage\nA\xE4\xB8,1,\n\xE5\xBC\xA0\xE4\xB8\x89,18001,3500\n", TextEncoding::Utf8, 2},
        {"UTF-8 with a stray Windows-1252 space", "name,bonus\r\nA\xA0,1\r\n张三,18001\r\n",
         TextEncoding::Utf8, 2},
        // 叶伟 and 谢强 in GBK are valid UTF-8 for Cyrillic, Greek and Latin letters.
        {"GBK names that are valid UTF-8", "name,bonus\n\xD2\xB6\xCE\xB0,18001\n\xD0\xBB\xC7\xBF,5\n",
         TextEncoding::Gb18030, 2},
        {"GBK header", "\xD0\xD5\xC3\xFB,\xC4\xEA\xD6\xD5\xBD\xB1\n", TextEncoding::Gb18030, 1},
        {"UTF-8 header", "姓名,年终奖\n", TextEncoding::Utf8, 1},
        // One accented letter is a common hanzi in GBK (茅): not enough to tell.
        {"one letter", "name\nJos\xC3\xA9\n", TextEncoding::Undecided, 2},
        {"one letter and Chinese", "name\nJos\xC3\xA9\n李伟\n", TextEncoding::Utf8, 2},
        {"letters within words", "name\nJos\xC3\xA9\nM\xC3\xBCller\n", TextEncoding::Utf8, 2},
        {"a Cyrillic name alone", "name\n\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\n", TextEncoding::Undecided, 2},
        {"GB18030 four-byte character", "name\n\x95\x32\x82\x36\n", TextEncoding::Gb18030, 2},
        {"bare CR lines", "a\rb\r\xD5\xC5\xC8\xFD\r", TextEncoding::Gb18030, 3},
    };
    for (const Case &c : cases) {
        for (const std::size_t piece : {std::size_t{0}, std::size_t{1}, std::size_t{3}}) {
            EncodingJudge judge;
            for (std::size_t i = 0; i < c.Bytes.size(); i += piece == 0 ? c.Bytes.size() : piece) {
                judge.Feed(std::string_view(c.Bytes).substr(i, piece == 0 ? std::string::npos : piece));
            }
            judge.Finish();
            EXPECT_EQ(judge.Verdict(), c.Expected) << c.Name << " in pieces of " << piece;
            EXPECT_EQ(judge.FirstLine(), c.FirstLine) << c.Name;
        }
    }
}

// Every common hanzi (GB2312 level 1), in a name beside common ones, in a file with
// an English header: the GBK file is never taken for UTF-8 nor the UTF-8 file for
// GBK, and each is settled.
TEST(EncodingJudge, EveryCommonHanziInANameSettlesTheRightWay) {
    int checked = 0;
    for (unsigned lead = 0xB0; lead <= 0xD7; ++lead) {
        for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) {
            if (lead == 0xD7 && trail > 0xF9) {
                continue;
            }
            const std::string hanzi{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string utf8 = Converted(hanzi, "GB18030", "UTF-8");
            const std::string file = "id,name,bonus\n1," + utf8 + "伟,18001\n2,李" + utf8 + ",5\n";
            ASSERT_EQ(Judge(file), TextEncoding::Utf8) << utf8;
            ASSERT_EQ(Judge(Converted(file, "UTF-8", "GB18030"), 5), TextEncoding::Gb18030) << utf8;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 3755);
}

// Files of a few random common names: the verdict is always the encoding they were
// written in. (A single name may be left unsettled: GBK 伟霞 reads as the Greek ΰϼ.)
TEST(EncodingJudge, RandomNameListsAreJudgedRight) {
    const std::string common =
        Converted("张王李赵刘陈杨黄周吴徐孙胡朱高林何郭马罗伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂",
                  "UTF-8", "UTF-32LE");
    std::mt19937 random(11);
    for (int file = 0; file < 300; ++file) {
        std::string text = "name,bonus\n";
        for (int row = 0, rows = 2 + static_cast<int>(random() % 3); row < rows; ++row) {
            for (int i = 0, length = 2 + static_cast<int>(random() % 2); i < length; ++i) {
                text +=
                    Converted(common.substr(4 * (random() % (common.size() / 4)), 4), "UTF-32LE", "UTF-8");
            }
            text += "," + std::to_string(random() % 100000) + "\n";
        }
        EXPECT_EQ(Judge(text), TextEncoding::Utf8) << text;
        EXPECT_EQ(Judge(Converted(text, "UTF-8", "GB18030")), TextEncoding::Gb18030) << text;
    }
}

}  // namespace
}  // namespace taxcalc
