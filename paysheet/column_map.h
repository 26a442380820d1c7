// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "paysheet/computation.h"
#include "sheet/csv_record.h"

namespace taxcalc {

// Where a file's header puts a mode's input figures (bonus mode: 年终奖 or bonus, and
// 当月工资 or wage; wage mode: 每月薪金 or wage, and 三险一金 or deductions; ...).
// Columns that do not apply under the period are not looked for. Header cells match
// with blanks around them trimmed and the English names in any case.
class ColumnMap {
public:
    static constexpr std::size_t kMissing = static_cast<std::size_t>(-1);

    // The header's columns for the computation's mode under its period. Fails, saying
    // why in `error`, when a required figure has no column, or when a figure has more
    // than one.
    static std::optional<ColumnMap> Find(const Computation &computation, const CsvRecord &header,
                                         std::string &error);

    // The column of the mode's input figure `input`; kMissing when the header lacks it
    // or it does not apply under the period.
    std::size_t Column(std::size_t input) const noexcept { return m_columns[input]; }

    // The name that refusals give the figure: the header cell as the file writes it, or
    // the Chinese name of a missing column.
    const std::string &Name(std::size_t input) const noexcept { return m_names[input]; }

    // Whether the column is where the header has one of the mode's figures.
    bool Maps(std::size_t column) const noexcept;
    // Lets the figure's column go, as if the header lacked it.
    void Forget(std::size_t input) noexcept { m_columns[input] = kMissing; }

private:
    std::array<std::size_t, RowInput::kMaxInputs> m_columns{};
    std::array<std::string, RowInput::kMaxInputs> m_names;
};

// A header cell without the blanks and tabs around it.
std::string_view TrimBlanks(std::string_view text) noexcept;

}  // namespace taxcalc
