// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "sheet/csv_record.h"

namespace taxcalc {

class OutputFile;

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

    // Opens `output` at `path` ("-" for standard output) and the sink that writes it
    // in the format the name asks for (see WantsXlsx): a workbook is written by name,
    // so it goes through a temporary file that has one. Fails, saying why in `error`;
    // the output file, abandoned unless committed, then leaves nothing behind.
    static std::unique_ptr<RecordSink> Open(OutputFile &output, const std::string &path, std::string &error);

    // Whether an output of this name is written as .xlsx: by its extension, in any
    // case. Anything else, and standard output ("-"), is CSV.
    static bool WantsXlsx(std::string_view name) noexcept {
        constexpr std::string_view kExtension = ".xlsx";
        if (name.size() < kExtension.size()) {
            return false;
        }
        const std::string_view end = name.substr(name.size() - kExtension.size());
        return std::equal(end.begin(), end.end(), kExtension.begin(),
                          [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b; });
    }
};

}  // namespace taxcalc
