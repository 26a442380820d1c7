// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "tests/sheet/sheet_streams.h"

#include <algorithm>
#include <cstring>

namespace taxcalc::test {

FilePtr FileWith(std::string_view bytes) {
    FilePtr file(std::tmpfile());
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    std::rewind(file.get());
    return file;
}

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

}  // namespace taxcalc::test
