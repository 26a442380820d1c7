// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "batch/batch_mode.h"

namespace taxcalc {

// The cells that one row adds to the file. Reused from row to row.
struct RowFigures {
    static constexpr std::size_t kMaxCells = 8;
    std::array<std::string, kMaxCells> Cells;  // the first Width() of them, in header order
    std::string Error;                         // empty when the row was computed

    void Clear() noexcept {
        for (std::string &cell : Cells) {
            cell.clear();
        }
        Error.clear();
    }

    // A refused row shows no figure at all; the reasons are joined with "；".
    void Refuse(std::string_view field, std::string_view reason) {
        for (std::string &cell : Cells) {
            cell.clear();
        }
        if (!Error.empty()) {
            Error += "；";
        }
        Error.append(field).append("：").append(reason);
    }
};

// Turns a row's two figure texts into the figures that the mode's panel shows for
// the same entry texts: the same conversion, the same engine calls, the same number
// forms. An empty second figure takes the panel's default (wage 3500, deductions 0).
class RowCalculator {
public:
    RowCalculator(BatchMode mode, std::string firstName, std::string secondName);

    // The names of the added columns, without the error column.
    static std::span<const std::string_view> ComputedHeaders(BatchMode mode) noexcept;
    std::size_t Width() const noexcept { return ComputedHeaders(m_mode).size(); }

    // Fills figures.Cells, or leaves them empty and says in figures.Error which field
    // holds no number, or that the figures are too large to compute. Returns whether
    // the row was computed.
    bool Compute(std::string_view first, std::string_view second, RowFigures &figures) const;

private:
    bool ComputeBonus(double bonus, double wage, RowFigures &figures) const;
    bool ComputeWage(double wage, double deductions, RowFigures &figures) const;

    BatchMode m_mode;
    std::string m_firstName;
    std::string m_secondName;
};

}  // namespace taxcalc
