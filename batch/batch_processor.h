// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string_view>

#include "batch/batch_mode.h"
#include "engine/period_rules.h"

namespace taxcalc {

enum ExitStatus : int {
    kAllComputed = 0,
    kSomeRefused = 1,
    kUnusable = 2,  // bad arguments, an unreadable file, no usable header, a failed write
};

struct BatchCounts {
    std::uint64_t Rows = 0;  // records after the header; empty lines are not rows
    std::uint64_t Refused = 0;
};

// Reads a payroll CSV, computes every row's figures and writes the input columns,
// the computed ones and an error column. A refused row keeps its place, with its
// computed cells empty and the reason in the error column; processing goes on. Runs
// in constant memory, one record at a time.
class BatchProcessor {
public:
    using Progress = std::function<void(std::uint64_t bytesRead, std::uint64_t rows)>;

    // Row messages beyond this many are only counted, so that a wholly wrong file does
    // not flood the terminal.
    static constexpr std::uint64_t kMaxRowMessages = 100;

    // `rules` as named on the command line; nullptr where none is.
    BatchProcessor(BatchMode mode, std::FILE *input, std::FILE *output, std::FILE *diagnostics,
                   const PeriodRules *rules = nullptr);

    // `update` is called every few thousand rows; `clear` before every message, so that
    // a progress line on the same terminal can make way for it.
    void OnProgress(Progress update, std::function<void()> clear) {
        m_progress = std::move(update);
        m_clearProgress = std::move(clear);
    }

    // An ExitStatus. After kUnusable the output is incomplete and must be discarded.
    int Run();

    const BatchCounts &Counts() const noexcept { return m_counts; }

private:
    void Say(std::string_view message);
    int Fatal(std::string_view message);
    void ReportRow(std::uint64_t line, std::string_view error);

    BatchMode m_mode;
    const PeriodRules *m_rules;
    std::FILE *m_input;
    std::FILE *m_output;
    std::FILE *m_diagnostics;
    Progress m_progress;
    std::function<void()> m_clearProgress;
    BatchCounts m_counts;
};

}  // namespace taxcalc
