// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/column_map.h"

#include <algorithm>

namespace taxcalc {
namespace {

struct FigureNames {
    std::string_view Chinese;
    std::string_view English;
};

struct ModeColumns {
    FigureNames First;
    FigureNames Second;
};

constexpr ModeColumns kBonusColumns{{"年终奖", "bonus"}, {"当月工资", "wage"}};
constexpr ModeColumns kWageColumns{{"每月薪金", "wage"}, {"三险一金", "deductions"}};

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

bool Names(const FigureNames &names, std::string_view cell) noexcept {
    const std::string_view name = TrimBlanks(cell);
    return name == names.Chinese || EqualsIgnoringAsciiCase(name, names.English);
}

// The figure's column, kMissing if there is none; fails when there are two.
bool Locate(const FigureNames &names, const CsvRecord &header, std::size_t &column, std::string &error) {
    column = ColumnMap::kMissing;
    for (std::size_t i = 0; i < header.Size(); ++i) {
        if (!Names(names, header.Cell(i))) {
            continue;
        }
        if (column != ColumnMap::kMissing) {
            error = "表头有两列" + std::string(names.Chinese) + "（第 " + std::to_string(column + 1) +
                    " 列“" + std::string(TrimBlanks(header.Cell(column))) + "”和第 " + std::to_string(i + 1) +
                    " 列“" + std::string(TrimBlanks(header.Cell(i))) + "”），不知该用哪一列";
            return false;
        }
        column = i;
    }
    return true;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) noexcept {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<ColumnMap> ColumnMap::Find(BatchMode mode, const CsvRecord &header, std::string &error) {
    const ModeColumns &columns = mode == BatchMode::Bonus ? kBonusColumns : kWageColumns;
    ColumnMap map;
    if (!Locate(columns.First, header, map.m_first, error) ||
        !Locate(columns.Second, header, map.m_second, error)) {
        return std::nullopt;
    }
    if (map.m_first == kMissing) {
        error = "表头中没有" + std::string(columns.First.Chinese) + "列（列名“" +
                std::string(columns.First.Chinese) + "”或“" + std::string(columns.First.English) + "”）";
        return std::nullopt;
    }
    map.m_firstName = TrimBlanks(header.Cell(map.m_first));
    map.m_secondName =
        map.m_second == kMissing ? columns.Second.Chinese : TrimBlanks(header.Cell(map.m_second));
    return map;
}

}  // namespace taxcalc
