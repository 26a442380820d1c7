// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/spreadsheet_field.h"

#include <array>

namespace taxcalc {
namespace {

constexpr std::array<std::string_view, 4> kBlanks{" ", "\t", "\xC2\xA0", "\xE3\x80\x80"};

// Up to `most` ASCII digits at the front of `text`, taken off it.
std::optional<int> Digits(std::string_view &text, std::size_t most) noexcept {
    std::size_t count = 0;
    int value = 0;
    while (count < text.size() && count < most && text[count] >= '0' && text[count] <= '9') {
        value = value * 10 + (text[count] - '0');
        ++count;
    }
    if (count == 0) {
        return std::nullopt;
    }
    text.remove_prefix(count);
    return value;
}

bool Take(std::string_view &text, std::string_view what) noexcept {
    if (!text.starts_with(what)) {
        return false;
    }
    text.remove_prefix(what.size());
    return true;
}

// "2026" and then "-", "/" or "年": the year and which separator it was.
std::optional<int> YearAndSeparator(std::string_view &text, std::string_view &separator) noexcept {
    std::string_view rest = text;
    const std::optional<int> year = Digits(rest, 4);
    if (!year || text.size() - rest.size() != 4 || *year < 1900) {
        return std::nullopt;
    }
    for (const std::string_view candidate : {"-", "/", "年"}) {
        if (Take(rest, candidate)) {
            separator = candidate;
            text = rest;
            return year;
        }
    }
    return std::nullopt;
}

std::optional<int> MonthNumber(std::string_view &text) noexcept {
    const std::size_t before = text.size();
    const std::optional<int> month = Digits(text, 2);
    if (!month || *month < 1 || *month > 12 || before - text.size() > 2) {
        return std::nullopt;
    }
    return month;
}

int DaysIn(int year, int month) noexcept {
    constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

// "2026-3", "2026/03" or "2026年3": the year and month at the front of `text`, taken
// off it, and the separator after the year.
std::optional<YearMonth> Leading(std::string_view &text, std::string_view &separator) noexcept {
    const std::optional<int> year = YearAndSeparator(text, separator);
    if (!year) {
        return std::nullopt;
    }
    const std::optional<int> month = MonthNumber(text);
    if (!month) {
        return std::nullopt;
    }
    return YearMonth{*year, *month};
}

// A workbook's date and time cell ends in " 00:00:00" or "T00:00:00".
bool OnlyMidnight(std::string_view rest) noexcept {
    return rest.empty() || rest == " 00:00:00" || rest == "T00:00:00";
}

}  // namespace

std::string_view SpreadsheetField::Trimmed(std::string_view text) noexcept {
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (const std::string_view blank : kBlanks) {
            if (text.starts_with(blank)) {
                text.remove_prefix(blank.size());
                trimmed = true;
            }
            if (text.ends_with(blank)) {
                text.remove_suffix(blank.size());
                trimmed = true;
            }
        }
    }
    return text;
}

std::optional<YearMonth> SpreadsheetField::ReadMonth(std::string_view text) noexcept {
    text = Trimmed(text);
    const std::string_view whole = text;
    std::string_view separator;
    const std::optional<YearMonth> month = Leading(text, separator);
    if (!month) {
        return std::nullopt;
    }
    if (separator == "年") {
        return text == "月" || text.empty() ? month : std::nullopt;
    }
    // A workbook's date stands for its month: 2026-03-01.
    return text.empty() || ReadDate(whole) ? month : std::nullopt;
}

std::optional<CalendarDate> SpreadsheetField::ReadDate(std::string_view text) noexcept {
    text = Trimmed(text);
    std::string_view separator;
    const std::optional<YearMonth> leading = Leading(text, separator);
    if (!leading) {
        return std::nullopt;
    }
    if (!Take(text, separator == "年" ? std::string_view("月") : separator)) {
        return std::nullopt;
    }
    const std::size_t before = text.size();
    const std::optional<int> day = Digits(text, 2);
    if (!day || before - text.size() > 2 || *day < 1 || *day > DaysIn(leading->Year, leading->Month)) {
        return std::nullopt;
    }
    if (separator == "年" ? !(text == "日" || text.empty()) : !OnlyMidnight(text)) {
        return std::nullopt;
    }
    return CalendarDate{leading->Year, leading->Month, *day};
}

std::optional<bool> SpreadsheetField::ReadYesNo(std::string_view text) noexcept {
    text = Trimmed(text);
    // A workbook's boolean cell reads TRUE or FALSE.
    if (text == "是" || text == "TRUE") {
        return true;
    }
    if (text == "否" || text == "FALSE") {
        return false;
    }
    return std::nullopt;
}

std::optional<int> SpreadsheetField::ReadYear(std::string_view text) noexcept {
    text = Trimmed(text);
    if (text.ends_with(".0")) {
        text.remove_suffix(2);
    }
    std::string_view rest = text;
    const std::optional<int> year = Digits(rest, 4);
    if (!year || !rest.empty() || text.size() != 4) {
        return std::nullopt;
    }
    return year;
}

}  // namespace taxcalc
