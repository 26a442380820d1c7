// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "sheet/csv_record.h"

namespace taxcalc {

// Where the rows of a computed payroll go: a CSV file or an .xlsx workbook, row by
// row, each cell with its kind. The first row is the header.
class RecordSink {
public:
    virtual ~RecordSink() = default;

    // An empty text is an empty cell.
    virtual void Cell(std::string_view text, CellKind kind) = 0;
    virtual void EndRow() = 0;

    // Whether a write has failed already, so that a run can stop early.
    virtual bool Failed() const noexcept = 0;
    // Completes the output. False, saying why in `error`, when anything failed; the
    // output is then incomplete and must be discarded.
    virtual bool Finish(std::string &error) = 0;
};

}  // namespace taxcalc
