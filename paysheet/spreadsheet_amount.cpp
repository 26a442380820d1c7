// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/spreadsheet_amount.h"

#include <array>
#include <optional>
#include <string>

#include "engine/number_text.h"
#include "paysheet/spreadsheet_field.h"

namespace taxcalc {
namespace {

constexpr std::string_view kYuan = "元";
// U+FF0B, U+FF0D, U+FF0E and U+FF10..U+FF19 share these two lead bytes.
constexpr std::string_view kFullWidthLead = "\xEF\xBC";

// Full-width characters as their ASCII twins; nullopt for any other non-ASCII one.
std::optional<std::string> Narrowed(std::string_view text) {
    std::string narrow;
    narrow.reserve(text.size());
    while (!text.empty()) {
        const auto c = static_cast<unsigned char>(text.front());
        if (c < 0x80) {
            narrow.push_back(static_cast<char>(c));
            text.remove_prefix(1);
            continue;
        }
        if (!text.starts_with(kFullWidthLead) || text.size() < 3) {
            return std::nullopt;
        }
        const auto last = static_cast<unsigned char>(text[2]);
        if (last >= 0x90 && last <= 0x99) {
            narrow.push_back(static_cast<char>('0' + (last - 0x90)));
        } else if (last == 0x8B || last == 0x8D || last == 0x8E) {
            narrow.push_back(last == 0x8B ? '+' : last == 0x8D ? '-' : '.');
        } else {
            return std::nullopt;
        }
        text.remove_prefix(3);
    }
    return narrow;
}

bool IsDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

// Digits, points, separators and signs around one e: what a sheet writes for a
// number it shows in scientific form.
bool IsExponentForm(std::string_view text) noexcept {
    const std::size_t e = text.find_first_of("eE");
    if (e == std::string_view::npos || e == 0 || !IsDigit(text[e - 1])) {
        return false;
    }
    std::string_view power = text.substr(e + 1);
    if (!power.empty() && (power.front() == '+' || power.front() == '-')) {
        power.remove_prefix(1);
    }
    return !power.empty() && power.find_first_not_of("0123456789") == std::string_view::npos;
}

// Takes out the separators of "1,234,567.89"; false when a group is not three digits
// or a separator stands after the point.
bool Ungrouped(std::string &text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) {
        return true;
    }
    const std::size_t point = std::min(text.find('.'), text.size());
    if (text.find(',', point) != std::string::npos) {
        return false;
    }
    const std::size_t start = text.front() == '+' || text.front() == '-' ? 1 : 0;
    std::size_t groupStart = start;
    for (std::size_t i = start; i <= point; ++i) {
        if (i < point && text[i] != ',') {
            continue;
        }
        const std::size_t length = i - groupStart;
        const bool first = groupStart == start;
        if (first ? (length < 1 || length > 3) : length != 3) {
            return false;
        }
        groupStart = i + 1;
    }
    std::erase(text, ',');
    return true;
}

}  // namespace

SpreadsheetAmount::Verdict SpreadsheetAmount::Read(std::string_view text, Amount &amount) {
    // Most cells hold the plain form already; this runs twice on every row.
    if (!text.empty() && text.find_first_not_of("0123456789.+-") == std::string_view::npos) {
        if (const std::optional<Amount> parsed = ParseAmount(text)) {
            amount = *parsed;
            return Verdict::Number;
        }
    }
    text = SpreadsheetField::Trimmed(text);
    if (text.empty()) {
        return Verdict::Empty;
    }
    if (text.ends_with(kYuan)) {
        text = SpreadsheetField::Trimmed(text.substr(0, text.size() - kYuan.size()));
    }
    std::optional<std::string> narrow = Narrowed(text);
    if (!narrow || narrow->empty()) {
        return Verdict::NotANumber;
    }
    if (IsExponentForm(*narrow)) {
        return Verdict::Exponent;
    }
    if (!Ungrouped(*narrow)) {
        return Verdict::Grouping;
    }
    if (const std::optional<Amount> parsed = ParseAmount(*narrow)) {
        amount = *parsed;
        return Verdict::Number;
    }
    // The plain form that ParseAmount still refuses overflows a double.
    std::string_view digits(*narrow);
    if (digits.starts_with('+') || digits.starts_with('-')) {
        digits.remove_prefix(1);
    }
    const bool plain = digits.find_first_not_of("0123456789.") == std::string_view::npos &&
                       digits.find('.') == digits.rfind('.') &&
                       digits.find_first_of("0123456789") != std::string_view::npos;
    return plain ? Verdict::TooLarge : Verdict::NotANumber;
}

std::string_view SpreadsheetAmount::Reason(Verdict verdict) noexcept {
    switch (verdict) {
        case Verdict::Number:
            return "";
        case Verdict::Empty:
            return "空白";
        case Verdict::NotANumber:
            return "不是数字";
        case Verdict::Grouping:
            return "千位分隔符的位置不对，无法确定数额（应每三位一组，如 1,234,567.89）";
        case Verdict::Exponent:
            return "是科学计数法，表格可能已丢掉了部分数位（请把单元格设为数值格式后重新导出）";
        case Verdict::TooLarge:
            return "数额过大，无法计算";
    }
    return "不是数字";
}

std::optional<Cents> SpreadsheetAmount::PlainCents(std::string_view text) noexcept {
    const bool negative = text.starts_with('-');
    if (negative) {
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    // Up to 13 whole digits: below 10^13 yuan, the bound of the cent arithmetic.
    if (whole.empty() || whole.size() > 13 || fraction.size() > 2) {
        return std::nullopt;
    }
    Cents cents = 0;
    for (const char c : whole) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        cents = cents * 10 + (c - '0');
    }
    for (std::size_t i = 0; i < 2; ++i) {
        const char c = i < fraction.size() ? fraction[i] : '0';
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        cents = cents * 10 + (c - '0');
    }
    return negative ? -cents : cents;
}

}  // namespace taxcalc
