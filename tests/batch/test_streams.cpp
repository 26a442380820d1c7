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

FilePtr FileWith(std::string_view bytes) {
    FilePtr file(std::tmpfile());
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    std::rewind(file.get());
    return file;
}

std::string Contents(std::FILE *file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, n);
    }
    return text;
}

std::vector<std::string> Cells(const CsvRecord &record) {
    std::vector<std::string> cells;
    for (std::size_t i = 0; i < record.Size(); ++i) {
        cells.emplace_back(record.Cell(i));
    }
    return cells;
}

CsvRecord RecordOf(const std::vector<std::string> &cells) {
    CsvRecord record;
    for (const std::string &cell : cells) {
        record.Text += cell;
        record.Ends.push_back(record.Text.size());
    }
    return record;
}

RowCalculator CalculatorFor(BatchMode mode, const std::vector<std::string> &header,
                            const PeriodRules *rules) {
    std::string error;
    std::optional<RowCalculator> calculator = RowCalculator::ForHeader(mode, rules, RecordOf(header), error);
    if (!calculator) {
        ADD_FAILURE() << error;
        std::abort();
    }
    return std::move(*calculator);
}

bool ComputeRow(const RowCalculator &calculator, const std::vector<std::string> &texts, RowFigures &figures) {
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    return calculator.Compute(std::span<const std::string_view>(views), figures);
}

std::vector<std::string> Computed(const RowCalculator &calculator, const RowFigures &figures) {
    return {figures.Cells.begin(), figures.Cells.begin() + static_cast<long>(calculator.Width())};
}

namespace {

// A stream with no file descriptor, which cannot seek: a pipe's stand-in.
FilePtr StreamOf(std::string_view &rest) {
    cookie_io_functions_t functions{};
    functions.read = [](void *cookie, char *buffer, std::size_t size) -> ssize_t {
        auto &bytes = *static_cast<std::string_view *>(cookie);
        const std::size_t count = std::min(size, bytes.size());
        std::memcpy(buffer, bytes.data(), count);
        bytes.remove_prefix(count);
        return static_cast<ssize_t>(count);
    };
    return FilePtr(fopencookie(&rest, "rb", functions));
}

BatchRun Run(BatchMode mode, std::string_view input, const PeriodRules *rules, InputForm form,
             Source source) {
    std::string_view rest = input;
    const FilePtr in = source == Source::File ? FileWith(input) : StreamOf(rest);
    const FilePtr out(std::tmpfile());
    const FilePtr diagnostics(std::tmpfile());
    BatchProcessor processor(mode, in.get(), out.get(), diagnostics.get(), rules);
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
