// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "tests/batch/test_streams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <span>
#include <utility>

namespace taxcalc::test {

namespace {

BatchRun Run(BatchMode mode, std::string_view input, const PeriodRules *rules, InputForm form,
             Source source) {
    std::string_view rest = input;
    const FilePtr in = source == Source::File ? FileWith(input) : StreamOf(rest);
    const FilePtr out(std::tmpfile());
    const FilePtr diagnostics(std::tmpfile());
    const std::optional<Computation> computation = Computation::Resolve(mode, rules);
    if (!computation) {
        ADD_FAILURE() << "no such computation";
        return {};
    }
    BatchProcessor processor(*computation, in.get(), out.get(), diagnostics.get());
    processor.SetInputForm(form);
    const int status = processor.Run();
    return {status, Contents(out.get()), Contents(diagnostics.get()), processor.Counts()};
}

}  // namespace

BatchRun RunBatch(BatchMode mode, std::string_view input, const PeriodRules *rules) {
    return Run(mode, input, rules, {}, Source::File);
}

BatchRun RunBatch(BatchMode mode, std::string_view input, InputForm form, Source source) {
    return Run(mode, input, nullptr, form, source);
}

std::string Sheet(const std::vector<std::string> &rows) {
    std::string text = "\xEF\xBB\xBF";
    for (const std::string &row : rows) {
        text += row + "\r\n";
    }
    return text;
}

}  // namespace taxcalc::test
