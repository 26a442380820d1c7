// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sheet/record_sink.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace taxcalc {

// Writes rows as the one worksheet of an .xlsx workbook, with libxlsxwriter in its
// constant-memory mode, so that a million rows take no more memory than ten. Text
// stays text (000123 keeps its zeros), a number is a number, a boolean a boolean,
// money a number shown as 0.00, a date a date shown in ISO form. The first row that holds a cell is the
// header (empty rows before it stay empty): bold, and frozen so that it stays in view. Each column is made
// wide enough for its longest cell, within reason. A cell whose text does not hold the number its kind
// promises is written as text, so nothing is ever lost.
//
// The workbook is built at the path given to Open only by Finish; a writer destroyed
// unfinished writes nothing. libxlsxwriter spools the sheet to a temporary file of its
// own and does not report every failed write to it, so Finish reads the workbook back
// whole (every entry's checksum, every row and cell) before it calls it done.
//
// Text that would not survive the format as it is gets the format's escapes: a NUL
// byte is "_x0000_" (the library escapes the other control characters), U+FFFE and
// U+FFFF, which XML may not hold, are "_xFFFE_" and "_xFFFF_", and a literal
// "_x000D_" is written so that it reads back as itself.
class XlsxWriter final : public RecordSink {
public:
    static constexpr std::uint32_t kMaxRows = 1048576;
    static constexpr std::size_t kMaxColumns = 16384;
    static constexpr std::size_t kMaxCellCharacters = 32767;
    // Column widths in the width of a digit, margin included: at least enough for a
    // short header, at most a readable share of a screen.
    static constexpr std::uint16_t kMinColumnWidth = 10;
    static constexpr std::uint16_t kMaxColumnWidth = 62;

    XlsxWriter() = default;
    ~XlsxWriter() override;
    XlsxWriter(const XlsxWriter &) = delete;
    XlsxWriter &operator=(const XlsxWriter &) = delete;

    bool Open(const std::string &path, std::string &error);

    void Cell(std::string_view text, CellKind kind) override;
    void EndRow() override;
    bool Failed() const noexcept override { return !m_error.empty(); }
    bool Finish(std::string &error) override;

private:
    void Fail(std::string message);
    bool ReadsBack(std::string &error) const;
    void WriteText(std::string_view text, lxw_format *format);
    bool WriteDate(std::string_view text, lxw_format *header);

    struct WorkbookFree {
        // An unfinished workbook is freed with its spooled sheet, and nothing is written.
        void operator()(lxw_workbook *workbook) const noexcept;
    };
    std::unique_ptr<lxw_workbook, WorkbookFree> m_workbook;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_header = nullptr;
    lxw_format *m_money = nullptr;
    lxw_format *m_date = nullptr;
    lxw_format *m_time = nullptr;
    lxw_format *m_dateTime = nullptr;
    std::string m_path;
    std::uint32_t m_row = 0;
    // What was written, to be found again: the rows that hold a cell, the last of
    // them (from 1; 0 for none), and the cells that hold anything.
    std::uint64_t m_filledRows = 0;
    std::uint64_t m_lastFilled = 0;
    std::uint64_t m_filledCells = 0;
    std::size_t m_column = 0;
    bool m_pastHeader = false;
    std::vector<std::uint16_t> m_widths;  // the widest cell of each column, in character widths
    std::string m_scratch;
    std::string m_error;
};

}  // namespace taxcalc
