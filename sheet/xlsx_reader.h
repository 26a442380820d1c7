// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "sheet/csv_record.h"
#include "sheet/record_source.h"
#include "sheet/xlsx_package.h"

namespace taxcalc {

// Reads the first worksheet of an .xlsx workbook (the first sheet of the workbook's
// tab order that is a worksheet), row by row: its XML streamed through expat from the
// archive, so that a sheet of any size is read in bounded memory. Only the shared
// strings are held whole (see XlsxPackage).
//
// Each record is one row, its cells in their columns: a cell missing from the file
// (a skipped column) is an empty text cell in its place, and trailing empty cells are
// dropped. Rows before the first that holds a value are skipped; an empty row after it
// is an empty record (no cells) in its place; empty rows after the last are dropped.
// Record::Line is the row number in the sheet.
//
// Cells: shared and inline strings (rich text runs joined, phonetic guides left out),
// a formula's text result, an error value ("#DIV/0!") and an ISO date text are Text;
// numbers are Number in the shortest decimal form that reads back as the same double,
// without exponent (18000.1, never 18000.099999999999 or 1.8E4); a number shown as a
// date or a time is Date in ISO form; booleans are Boolean as TRUE or FALSE; a
// formula gives its cached value, or an empty cell if it has none.
class XlsxReader final : public RecordSource {
public:
    // The sheet's limits, as the format itself sets them.
    static constexpr std::uint64_t kMaxRows = 1048576;
    static constexpr std::size_t kMaxColumns = 16384;
    // The sheet is streamed, so its limit only bounds time; a row is held whole, and
    // holds no more than a CSV record may.
    static constexpr std::uint64_t kMaxSheetBytes = XlsxPackage::kMaxStreamedBytes;
    static constexpr std::size_t kMaxRowBytes = kMaxRecordBytes;

    XlsxReader();
    ~XlsxReader() override;
    XlsxReader(const XlsxReader &) = delete;
    XlsxReader &operator=(const XlsxReader &) = delete;

    // Opens the workbook at `path`, or in `file` from its start (a file that cannot
    // seek, as a pipe, is copied to a temporary file first). Fails, saying why in
    // `error`, for a file that is not a ZIP archive, an OpenDocument spreadsheet, an
    // archive without a workbook, or a workbook without a worksheet.
    bool Open(const std::string &path, std::string &error);
    bool Open(std::FILE *file, std::string &error);

    Status Read(CsvRecord &record) override;
    const std::string &Error() const noexcept override { return m_error; }
    TextEncoding Encoding() const noexcept override { return TextEncoding::Utf8; }
    std::uint64_t BytesRead() const noexcept override;
    std::string Notice() const override;

    // The shortest decimal form of the number that a cell's value holds ("1.8E4" gives
    // "18000", "0.30000000000000004" stays); false for a value that is no finite number.
    static bool NumberForm(std::string_view value, std::string &form);

    // What a number format shows of a date: its date, its time of day, or both.
    static constexpr std::uint8_t kNoDate = 0;
    static constexpr std::uint8_t kDay = 1;
    static constexpr std::uint8_t kTimeOfDay = 2;
    // The parts that a number format code shows ("yyyy-mm-dd" a day, "h:mm" a time);
    // none for a number, a duration ("[h]:mm") or text.
    static std::uint8_t DatePartsOf(std::string_view formatCode);
    // The parts that a built-in number format shows, by its id (the East Asian ones
    // included); none for a number, and for 46 ([h]:mm:ss), a duration.
    static std::uint8_t BuiltinDateParts(unsigned id) noexcept;
    // The ISO form of a serial date with these parts ("2026-01-31", "08:30:00",
    // "2026-01-31 08:30:00"), counted from 1900 (with its phantom 29 February) or from
    // 1904; false outside the years 1900 to 9999.
    static bool DateForm(double serial, std::uint8_t parts, bool from1904, std::string &form);
    // What Notice() says of a workbook whose sheet of this name is read, hidden or
    // not, beside `others` sheets that are not; empty for a lone visible sheet.
    static std::string SheetNotice(const std::string &name, bool hidden, std::size_t others);

private:
    enum class ValueType : std::uint8_t { Number, Shared, Inline, Text, Boolean };

    Status Fail(std::string message);
    Status Continue();

    // The sheet's expat handlers.
    static void OnStart(void *self, const char *name, const char **attributes);
    static void OnEnd(void *self, const char *name);
    static void OnText(void *self, const char *text, int length);
    void StartRow(const char **attributes);
    void StartCell(const char **attributes);
    void EndCell();
    void EndRow();
    void Stop(std::string message);

    XlsxPackage m_package;
    ZipFilePtr m_sheet;
    XmlParserPtr m_parser;  // after the sheet it reads, so that it goes first
    std::uint64_t m_sheetSize = 0;
    std::uint64_t m_sheetRead = 0;
    std::vector<char> m_chunk;
    bool m_chunkFinal = false;
    bool m_suspended = false;
    bool m_sheetDone = false;

    // The date parts that each cell style shows.
    std::vector<std::uint8_t> m_styleDates;
    std::uint8_t m_cellDate = kNoDate;

    // The row being read, and what the handlers have found.
    CsvRecord m_row;
    std::uint64_t m_rowNumber = 0;
    std::uint64_t m_lastEmitted = 0;
    std::uint64_t m_pendingEmpty = 0;
    bool m_haveRow = false;
    std::size_t m_column = 0;
    ValueType m_type = ValueType::Number;
    bool m_inCell = false;
    bool m_collect = false;
    int m_inlineDepth = 0;
    int m_phoneticDepth = 0;
    std::string m_value;
    std::string m_form;
    std::string m_error;
};

}  // namespace taxcalc
