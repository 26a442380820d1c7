// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Byte streams in memory for the readers and writers, and records built from cells.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sheet/csv_record.h"

namespace taxcalc::test {

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// A temporary file holding the bytes, positioned at its start.
FilePtr FileWith(std::string_view bytes);
// A stream with no file descriptor, which cannot seek: a pipe's stand-in. It reads
// what `rest` holds and consumes it; `rest` must outlive the stream.
FilePtr StreamOf(std::string_view &rest);
// Everything the file holds.
std::string Contents(std::FILE *file);

std::vector<std::string> Cells(const CsvRecord &record);
CsvRecord RecordOf(const std::vector<std::string> &cells);

}  // namespace taxcalc::test
