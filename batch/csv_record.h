// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace taxcalc {

// One record of a CSV file. The cells lie back to back in one string, so that a
// file of any length is read with the same few allocations.
struct CsvRecord {
    std::string Text;
    std::vector<std::size_t> Ends;  // one past each cell's last byte in Text
    std::uint64_t Line = 0;         // the physical line where the record starts, from 1

    std::size_t Size() const noexcept { return Ends.size(); }

    std::string_view Cell(std::size_t index) const noexcept {
        const std::size_t begin = index == 0 ? 0 : Ends[index - 1];
        return std::string_view(Text).substr(begin, Ends[index] - begin);
    }

    // Empty cells only, as a blank line or a row of bare separators.
    bool Blank() const noexcept { return Text.empty(); }

    void Clear() noexcept {
        Text.clear();
        Ends.clear();
    }
};

}  // namespace taxcalc
