// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace taxcalc {

// What a cell holds, so that a spreadsheet written back keeps it: text (an ID such
// as 000123 stays text), a number in its decimal form, a boolean as TRUE or FALSE,
// an amount of money in its money form, shown with two decimals, or a date, a time
// or both in ISO form (2026-01-31, 08:30:00, 2026-01-31 08:30:00).
enum class CellKind : std::uint8_t { Text, Number, Boolean, Money, Date };

// One record of a CSV file or a worksheet. The cells lie back to back in one string,
// so that a file of any length is read with the same few allocations.
struct CsvRecord {
    std::string Text;
    std::vector<std::size_t> Ends;  // one past each cell's last byte in Text
    std::vector<CellKind> Kinds;    // one per cell, or none when every cell is text (CSV)
    std::uint64_t Line = 0;         // the physical line (CSV) or row (worksheet) where it starts, from 1

    std::size_t Size() const noexcept { return Ends.size(); }

    std::string_view Cell(std::size_t index) const noexcept {
        const std::size_t begin = index == 0 ? 0 : Ends[index - 1];
        return std::string_view(Text).substr(begin, Ends[index] - begin);
    }

    CellKind Kind(std::size_t index) const noexcept {
        return index < Kinds.size() ? Kinds[index] : CellKind::Text;
    }

    // Empty cells only, as a blank line or a row of bare separators.
    bool Blank() const noexcept { return Text.empty(); }

    void Clear() noexcept {
        Text.clear();
        Ends.clear();
        Kinds.clear();
    }
};

}  // namespace taxcalc
