// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "batch/batch_mode.h"
#include "batch/csv_record.h"

namespace taxcalc {

// Where a file's header puts the two figures of a row: in bonus mode the bonus
// (年终奖 or bonus) and the wage of the month (当月工资 or wage); in wage mode the
// monthly wage (每月薪金 or wage) and the deductions (三险一金 or deductions). The
// first is required, the second may be missing. Header cells match with blanks
// around them trimmed and the English names in any case.
class ColumnMap {
public:
    static constexpr std::size_t kMissing = static_cast<std::size_t>(-1);

    // The header's columns for the mode. Fails, saying why in `error`, when the first
    // figure has no column, or when a figure has more than one.
    static std::optional<ColumnMap> Find(BatchMode mode, const CsvRecord &header, std::string &error);

    std::size_t First() const noexcept { return m_first; }
    std::size_t Second() const noexcept { return m_second; }

    // The names that refusals give the two figures: the header cells as the file
    // writes them, or the Chinese name of a missing column.
    const std::string &FirstName() const noexcept { return m_firstName; }
    const std::string &SecondName() const noexcept { return m_secondName; }

private:
    std::size_t m_first = kMissing;
    std::size_t m_second = kMissing;
    std::string m_firstName;
    std::string m_secondName;
};

// A header cell without the blanks and tabs around it.
std::string_view TrimBlanks(std::string_view text) noexcept;

}  // namespace taxcalc
