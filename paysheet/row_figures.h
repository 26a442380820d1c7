// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "paysheet/mode_result.h"

namespace taxcalc {

// The cells that one row adds to the file. Reused from row to row.
struct RowFigures {
    static constexpr std::size_t kMaxCells = 16;
    std::array<std::string, kMaxCells> Cells;  // the first Width() of them, in header order
    std::string Error;                         // empty when the row was computed
    // What the mode computed, from which the cells are written; empty for a row not
    // computed.
    ModeResult Result;
    // The figures carry advice that lowers the tax: a bonus in a blind zone, or a
    // split of the year's pay that costs less.
    bool Advised = false;
    // The month the figures are for (year x 100 + month), where the mode has one.
    std::int32_t Month = 0;
    // A payment that the rules waive.
    bool Waived = false;
    // What the run tells about the rules the row was computed by, once for all rows
    // that say the same: empty for most.
    std::string Note;

    void Clear() noexcept {
        for (std::string &cell : Cells) {
            cell.clear();
        }
        Error.clear();
        Result = std::monostate{};
        Advised = false;
        Month = 0;
        Waived = false;
        Note.clear();
    }

    // A refused row shows no figure at all; the reasons are joined with "；".
    void Refuse(std::string_view field, std::string_view reason) {
        RefuseRow(field);
        Error.append("：").append(reason);
    }

    // The same for a reason that concerns the row as a whole and names its own fields.
    void RefuseRow(std::string_view reason) {
        for (std::string &cell : Cells) {
            cell.clear();
        }
        Result = std::monostate{};
        Advised = false;
        Note.clear();
        if (!Error.empty()) {
            Error += "；";
        }
        Error.append(reason);
    }
};

}  // namespace taxcalc
