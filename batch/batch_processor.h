// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "paysheet/computation.h"
#include "sheet/csv_record.h"
#include "sheet/csv_source.h"

namespace taxcalc {

enum ExitStatus : int {
    kAllComputed = 0,
    kSomeRefused = 1,
    kUnusable = 2,  // bad arguments, an unreadable file, no usable header, a failed write
};

struct BatchCounts {
    std::uint64_t Rows = 0;          // records after the header, blank ones too
    std::uint64_t Blank = 0;         // among them those with nothing in any cell, blank lines too
    std::uint64_t LeadingBlank = 0;  // blank lines before the header
    std::uint64_t Refused = 0;       // among them those with undecodable bytes:
    std::uint64_t Escaped = 0;       // the output holds those bytes as \xHH, not as they were
};

class RecordSink;
class SheetReader;
class RowEvaluator;

// Reads a payroll (CSV or .xlsx), computes every row's figures and writes the input
// columns, the computed ones and an error column. A refused row keeps its place, with
// its computed cells empty and the reason in the error column; processing goes on. So
// does a blank row or line, with nothing computed; no input line is lost. Columns
// that a former run added are replaced. Runs in constant memory, one record at a
// time; how a CSV input's encoding and separator are found is its source's affair.
class BatchProcessor {
public:
    using Progress = std::function<void(std::uint64_t bytesRead, std::uint64_t rows)>;

    // Row messages beyond this many are only counted, so that a wholly wrong file does
    // not flood the terminal.
    static constexpr std::uint64_t kMaxRowMessages = 100;
    static constexpr std::size_t kEncodingSample = CsvSource::kEncodingSample;
    // How the note on the input's form says that the command line named the encoding.
    static constexpr std::string_view kEncodingNamedBy = "由 --encoding 指定";

    // Reads `input` as CSV or .xlsx, by its content, and writes CSV to `output`.
    BatchProcessor(const Computation &computation, std::FILE *input, std::FILE *output,
                   std::FILE *diagnostics);
    // Reads from any source and writes to any sink; both must outlive the processor.
    BatchProcessor(const Computation &computation, RecordSource &source, RecordSink &sink,
                   std::FILE *diagnostics);

    // How a CSV `input` of the first constructor is written; a source of the second
    // was opened with its form already.
    void SetInputForm(InputForm form) noexcept { m_form = form; }

    // `update` is called every few thousand rows; `clear` before every message, so that
    // a progress line on the same terminal can make way for it.
    void OnProgress(Progress update, std::function<void()> clear) {
        m_progress = std::move(update);
        m_clearProgress = std::move(clear);
    }

    // An ExitStatus. After kUnusable the output is incomplete and must be discarded.
    int Run();

    const BatchCounts &Counts() const noexcept { return m_counts; }
    // The input's columns that this run replaced but that no former run wrote (see
    // RowEvaluator::UsersColumns): writing over the input would lose them.
    const std::string &UsersColumns() const noexcept { return m_usersColumns; }

private:
    void Say(std::string_view message);
    int Fatal(std::string_view message);
    void ReportRow(std::uint64_t line, std::string_view error);
    void Summarise();
    // Keeps a row's note about its rules, to be said once at the end of the run.
    void Remember(const std::string &note);
    // For a mode whose rows depend on each other: reads every row, then computes and
    // writes them in the file's order.
    // Completes the output and says how the run went.
    int Finish(const SheetReader &reader, RecordSink &writer);
    int RunWhole(SheetReader &reader, const CsvRecord &header, const RowEvaluator &evaluator,
                 RecordSink &writer);

    Computation m_computation;
    InputForm m_form;
    std::FILE *m_input = nullptr;
    std::FILE *m_output = nullptr;
    RecordSource *m_source = nullptr;
    RecordSink *m_sink = nullptr;
    std::FILE *m_diagnostics;
    Progress m_progress;
    std::function<void()> m_clearProgress;
    BatchCounts m_counts;
    std::vector<std::string> m_notes;  // each different note once, in the order first met
    std::string m_usersColumns;
};

}  // namespace taxcalc
