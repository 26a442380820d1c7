// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "tests/batch/test_streams.h"

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

BatchRun RunBatch(BatchMode mode, std::string_view input) {
    const FilePtr in = FileWith(input);
    const FilePtr out(std::tmpfile());
    const FilePtr diagnostics(std::tmpfile());
    BatchProcessor processor(mode, in.get(), out.get(), diagnostics.get());
    const int status = processor.Run();
    return {status, Contents(out.get()), Contents(diagnostics.get()), processor.Counts()};
}

std::string Sheet(const std::vector<std::string> &rows) {
    std::string text = "\xEF\xBB\xBF";
    for (const std::string &row : rows) {
        text += row + "\r\n";
    }
    return text;
}

}  // namespace taxcalc::test
