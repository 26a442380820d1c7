// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "paysheet/computation.h"
#include "paysheet/row_calculator.h"
#include "sheet/csv_record.h"

namespace taxcalc {

class RecordSink;

// What becomes of each row of a payroll under one mode: which cells it reads, what
// it adds, how the output row is laid out and what kind each cell is. The streaming
// tool and the in-memory table both go through it, so that a table saved from the
// window is the file the tool writes.
class RowEvaluator {
public:
    // The last added column: why a row was refused.
    static constexpr std::string_view kErrorHeader = "错误";

    // The evaluator for a file with this header. Fails, saying why in `error`, where
    // the header lacks the mode's columns. Columns that a former run added (the mode's
    // own added columns and 错误) are replaced by this run's.
    static std::optional<RowEvaluator> ForHeader(const Computation &computation, const CsvRecord &header,
                                                 std::string &error);

    const Computation &Computing() const noexcept { return m_calculator.Computing(); }
    const RowCalculator &Calculator() const noexcept { return m_calculator; }
    // Which columns of a former run are replaced, for the user; empty when none is.
    const std::string &ReplacedNote() const noexcept { return m_replacedNote; }
    // The columns that would be replaced but that no former run of this mode wrote, as
    // "“累计收入”、“错误”": a former run writes its added columns and 错误 together, in
    // their order. Empty when there is none; writing over the input would lose them.
    const std::string &UsersColumns() const noexcept { return m_usersColumns; }
    // Whether the input column is one a former run added, which the output drops.
    bool Replaced(std::size_t column) const noexcept { return m_replaced[column]; }

    // The figures of a row read after the header. A blank row gets none and no
    // reason; a row with undecodable bytes (`escaped` says where) or more cells than
    // the header is refused. Returns whether the row was refused.
    bool Evaluate(const CsvRecord &row, std::string_view escaped, RowFigures &figures,
                  const RowContext *context = nullptr) const;
    // The row's fields for the links between rows, refused as Evaluate refuses it.
    RowRead Read(const CsvRecord &row, std::string_view escaped, RowInput &input) const;

    // The blank rows that stood before the header, the header's cells, the added
    // columns' names and the error column.
    void WriteHeader(RecordSink &sink, std::uint64_t leadingBlank) const;
    // The row's cells, its figures, its error and any cells beyond the header.
    void WriteRow(RecordSink &sink, const CsvRecord &row, const RowFigures &figures) const;

private:
    RowEvaluator(RowCalculator calculator, const CsvRecord &header);

    RowCalculator m_calculator;
    CsvRecord m_header;
    std::vector<bool> m_replaced;
    std::string m_replacedNote;
    std::string m_usersColumns;
};

}  // namespace taxcalc
