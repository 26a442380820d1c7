// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "sheet/csv_record.h"
#include "sheet/record_source.h"
#include "sheet/xls_workbook.h"

namespace taxcalc {

// The first worksheet of an Excel 97-2003 workbook (.xls), as the withholding
// software's templates and exports are, read as XlsxReader reads an .xlsx one: the
// same records (rows before the first that holds a value skipped, an empty row after
// it an empty record, trailing empty cells and rows dropped), the same cell kinds and
// forms, a formula's cached value (a number, text, a boolean or an error), and the
// same notice of which sheet is read.
//
// The cells of the sheet are gathered when the workbook is opened, a few bytes each,
// and put in row order; a row's text is made when it is read. A cell that says it is
// where another already is, a cell past the format's 256 columns, a record that does
// not fit, or records missing at the end make the workbook damaged.
class XlsReader final : public RecordSource {
public:
    // A row of the sheet may hold this much text; a larger one stops the reading.
    static constexpr std::size_t kMaxRowBytes = RecordSource::kMaxRecordBytes;
    static constexpr std::uint32_t kMaxColumns = 256;

    XlsReader();
    ~XlsReader() override;
    XlsReader(const XlsReader &) = delete;
    XlsReader &operator=(const XlsReader &) = delete;

    // Opens the workbook in `file`, read from where it stands to its end. Fails,
    // saying why in `error`, for a damaged, truncated or encrypted workbook, an Excel
    // 95 one, or one without a worksheet.
    bool Open(std::FILE *file, std::string &error);

    Status Read(CsvRecord &record) override;
    const std::string &Error() const noexcept override { return m_error; }
    TextEncoding Encoding() const noexcept override { return TextEncoding::Utf8; }
    std::uint64_t BytesRead() const noexcept override;
    std::string Notice() const override;

private:
    enum class Value : std::uint8_t { Number, Shared, Text, Boolean, Error, Empty };
    struct Cell {
        std::uint32_t Row = 0;
        std::uint16_t Column = 0;
        std::uint16_t Xf = 0;
        Value Type = Value::Empty;
        std::uint32_t Index = 0;   // a shared string's, a boolean's or an error's code, a text's start
        std::uint32_t Length = 0;  // a text's length
        double Number = 0;
    };

    bool ReadSheet(std::string &error);
    // The text and kind of a cell, for the row being made.
    bool CellText(const Cell &cell, std::string &text, CellKind &kind);
    Status MakeRow();

    XlsWorkbook m_book;
    std::vector<Cell> m_cells;
    std::string m_texts;  // the text cells' and text formula results' texts
    std::size_t m_next = 0;
    CsvRecord m_row;
    bool m_haveRow = false;
    std::uint64_t m_lastEmitted = 0;
    std::uint64_t m_pendingEmpty = 0;
    std::string m_form;
    std::string m_error;
};

}  // namespace taxcalc
