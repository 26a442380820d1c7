// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/record_sink.h"

#include "batch/csv_sink.h"
#include "batch/output_file.h"
#include "batch/xlsx_writer.h"

namespace taxcalc {

std::unique_ptr<RecordSink> RecordSink::Open(OutputFile &output, const std::string &path, std::string &error) {
    const bool workbook = WantsXlsx(path);
    if (!output.Open(path, error, workbook ? OutputFile::Kind::Named : OutputFile::Kind::Any)) {
        return nullptr;
    }
    if (!workbook) {
        return std::make_unique<CsvSink>(output.Stream());
    }
    auto writer = std::make_unique<XlsxWriter>();
    if (!writer->Open(output.Path(), error)) {
        return nullptr;
    }
    return writer;
}

}  // namespace taxcalc
