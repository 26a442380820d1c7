// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/record_sink.h"

#include "sheet/csv_sink.h"
#include "sheet/output_file.h"
#include "sheet/xlsx_writer.h"

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
