// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "sheet/csv_record.h"
#include "sheet/record_source.h"
#include "sheet/xlsx_handles.h"

namespace taxcalc {

// The first worksheet of an Excel 97-2003 workbook (.xls), as the withholding
// software's templates and exports are: each row a record, the cells keeping their
// kinds (text, numbers in their shortest form, dates as 2026-01-31), empty rows kept
// as blank records. libfreexl reads the whole workbook when it opens it.
class XlsReader final : public RecordSource {
public:
    // A row of the sheet may hold this much text; a larger one stops the reading.
    static constexpr std::size_t kMaxRowBytes = RecordSource::kMaxRecordBytes;

    XlsReader();
    ~XlsReader() override;

    // Opens the workbook in `file` (a pipe is first copied to a temporary file).
    // Fails, saying why in `error`, for a damaged or encrypted workbook.
    bool Open(std::FILE *file, std::string &error);

    Status Read(CsvRecord &record) override;
    const std::string &Error() const noexcept override { return m_error; }
    TextEncoding Encoding() const noexcept override { return TextEncoding::Utf8; }
    std::uint64_t BytesRead() const noexcept override;

private:
    struct Close {
        void operator()(const void *handle) const noexcept;
    };

    std::unique_ptr<const void, Close> m_handle;
    StdioPtr m_spool;  // the copy of a pipe, open while the workbook is
    std::uint32_t m_rows = 0;
    std::uint16_t m_columns = 0;
    std::uint32_t m_row = 0;
    std::uint64_t m_fileSize = 0;
    std::string m_error;
};

}  // namespace taxcalc
