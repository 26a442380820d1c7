// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/help_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace taxcalc {
namespace {

std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    EXPECT_EQ(start, text.size()) << "the last line has no line end";
    return lines;
}

TEST(HelpLines, ChineseCharactersTakeTwoColumns) {
    EXPECT_EQ(DisplayWidth(""), 0u);
    EXPECT_EQ(DisplayWidth("bonus"), 5u);
    EXPECT_EQ(DisplayWidth("年终奖"), 6u);
    EXPECT_EQ(DisplayWidth("企业(职业)年金"), 14u);
    EXPECT_EQ(DisplayWidth("累计3岁以下婴幼儿照护 (infant_care)"), 20u + 2u + 13u);
    EXPECT_EQ(Padded("年终奖", 10), "年终奖    ");
    EXPECT_EQ(Padded("累计3岁以下婴幼儿照护", 10), "累计3岁以下婴幼儿照护  ");
}

TEST(HelpLines, ShortTextStaysOnOneLine) {
    EXPECT_EQ(Wrapped("  ", "读取 年终奖 (bonus)", 4), "  读取 年终奖 (bonus)\n");
    EXPECT_EQ(Wrapped("", "", 0), "\n");
}

// Whatever the text, the lines fit where a break is allowed, put back together they
// are the text (the blanks at breaks aside), and a name keeps its English name.
TEST(HelpLines, LinesFitAndGiveBackTheText) {
    std::string names;
    for (int i = 0; i < 30; ++i) {
        names +=
            (i == 0 ? "" : "、") + std::string(i % 2 == 0 ? "累计专项附加扣除" : "工号") + " (employee_id)";
    }
    const std::string english =
        "every wage is tried to the cent, and the current split is kept when no other "
        "saves more, else the largest wage among the cheapest ones";
    const std::string chinese =
        "全年收入是十二个月的月薪加年终奖逐分比较每一种月薪专项附加扣除是全年的合计现在的分配"
        "已经最省时保持不变否则取最省的分配中月薪最高的一种";
    for (const std::string &text : {names, english, chinese, english + "：" + chinese}) {
        for (const std::size_t indent : {0u, 4u, 16u}) {
            const std::string lead(indent, ' ');
            const std::vector<std::string> lines = Lines(Wrapped(lead, text, indent));
            ASSERT_GT(lines.size(), 1u);
            std::string joined;
            for (const std::string &line : lines) {
                EXPECT_LE(DisplayWidth(line), kHelpWidth) << line;
                ASSERT_TRUE(line.starts_with(lead)) << line;
                const std::string rest = line.substr(indent);
                EXPECT_FALSE(rest.starts_with(" ") || rest.ends_with(" ")) << line;
                EXPECT_FALSE(rest.starts_with("、") || rest.starts_with("(")) << line;
                joined += rest;
            }
            std::string compact = text;
            std::erase(compact, ' ');
            std::erase(joined, ' ');
            EXPECT_EQ(joined, compact);
        }
    }
}

TEST(HelpLines, AnUnbreakableWordStaysWhole) {
    const std::string word(100, 'x');
    EXPECT_EQ(Wrapped("  ", word, 2), "  " + word + "\n");
    EXPECT_EQ(Wrapped("", word + " y", 2), word + "\n  y\n");
}

}  // namespace
}  // namespace taxcalc
