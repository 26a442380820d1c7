// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace taxcalc {

// The cells that are not amounts, as a clerk types them or a spreadsheet exports
// them: a month (2026-03, 2026-3, 2026/03, 2026年3月, or a workbook's date), a date
// (2026-04-15, 2026/4/15, 2026年4月15日, or a workbook's date and time), a yes/no
// (是 or 否), a year (2026). Blanks around them are dropped.
struct YearMonth {
    int Year = 0;
    int Month = 0;  // 1 to 12

    bool operator==(const YearMonth &) const = default;
};

struct CalendarDate {
    int Year = 0;
    int Month = 0;
    int Day = 0;

    bool operator==(const CalendarDate &) const = default;
};

class SpreadsheetField {
public:
    static std::optional<YearMonth> ReadMonth(std::string_view text) noexcept;
    // A day that the calendar has (2026-02-29 is none).
    static std::optional<CalendarDate> ReadDate(std::string_view text) noexcept;
    // 是 or 否, or a workbook's boolean.
    static std::optional<bool> ReadYesNo(std::string_view text) noexcept;
    // A year of four digits, or the same as a workbook number ("2024.0").
    static std::optional<int> ReadYear(std::string_view text) noexcept;

    // Blanks around a cell: space, tab, no-break space, ideographic space.
    static std::string_view Trimmed(std::string_view text) noexcept;
};

}  // namespace taxcalc
