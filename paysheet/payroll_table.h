// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sheet/csv_record.h"
#include "sheet/record_source.h"
#include "sheet/sheet_reader.h"

namespace taxcalc {

// A whole payroll held in memory as the reader hands it over: the header and every
// row's cells, decoded to UTF-8. Nothing is computed here; the rows are read once
// and then computed under any mode without reading the file again. A million rows
// take little more than their text: the cells of a row lie back to back in large
// blocks, with one small index entry a row. Read-only once read, so that several
// threads may read it at once.
class PayrollTable {
public:
    // Unsettled: the text reads as well in UTF-8 as in GB18030; read it again with
    // the encoding the user names.
    enum class Status { Done, Cancelled, Failed, Unsettled };
    using Progress = std::function<void(std::uint64_t bytesRead, std::uint64_t rows)>;

    static constexpr std::uint64_t kProgressEvery = 16384;

    // Reads the whole file, CSV or .xlsx, as taxcalc-batch reads it. `progress` is called every
    // kProgressEvery rows and at the end; a set `cancel` stops the reading at the next such point. Fails,
    // saying why in `error`, where taxcalc-batch would find the file unusable.
    Status Read(std::FILE *input, std::string &error, const Progress &progress = {},
                const std::atomic<bool> *cancel = nullptr, InputForm form = {});

    // The rows after a header that `reader` has read already: the same as Read for a
    // reader opened by the caller.
    Status ReadRows(SheetReader &reader, const CsvRecord &header, std::string &error,
                    const Progress &progress = {}, const std::atomic<bool> *cancel = nullptr);

    const CsvRecord &Header() const noexcept { return m_header; }
    std::size_t Width() const noexcept { return m_header.Size(); }
    std::size_t Rows() const noexcept { return m_rows.size(); }

    // The row's cells as read, with their kinds, cells beyond the header included.
    void Row(std::size_t row, CsvRecord &record) const;
    // The cell, empty beyond the row's last.
    std::string_view Cell(std::size_t row, std::size_t column) const noexcept;
    // For a row that held bytes invalid in the file's encoding, which cells hold them
    // (as \xHH); empty for every other row.
    std::string_view Escaped(std::size_t row) const noexcept;
    // The blank lines before the header.
    std::uint64_t LeadingBlank() const noexcept { return m_leadingBlank; }
    // What the reader noted about the file's form (its encoding and separator where
    // they are not the plain ones), one note a line.
    const std::string &Notes() const noexcept { return m_notes; }
    // The encoding the file's text was found in (Utf8 for a workbook), and how many
    // rows held bytes invalid in it.
    TextEncoding Encoding() const noexcept { return m_encoding; }
    std::size_t EscapedRows() const noexcept { return m_escaped.size(); }
    // The line (CSV) or row (worksheet) of the file where the row starts, from 1.
    std::uint64_t Line(std::size_t row) const noexcept { return m_rows[row].Line; }

private:
    struct RowEntry {
        std::uint64_t Line : 61;
        std::uint64_t Escaped : 1;
        std::uint64_t Kinds : 1;  // the cells' kinds follow their ends (a worksheet's rows)
        // The cells' ends take four bytes each; two where the row's text is shorter than
        // 64 KiB, as nearly every row's is.
        std::uint64_t WideEnds : 1;
        std::uint32_t Block;
        std::uint32_t Offset;  // of the row's cell count; then the cells' ends, any kinds, the text
    };

    static constexpr std::size_t kBlockSize = std::size_t{4} << 20;

    void Append(const CsvRecord &record, std::string_view escaped);
    const char *Start(const RowEntry &entry) const noexcept {
        return m_blocks[entry.Block].get() + entry.Offset;
    }

    CsvRecord m_header;
    std::uint64_t m_leadingBlank = 0;
    std::string m_notes;
    TextEncoding m_encoding = TextEncoding::Undecided;
    std::vector<RowEntry> m_rows;
    // The reasons of the rows with escaped bytes, which are few, by row.
    std::vector<std::pair<std::size_t, std::string>> m_escaped;
    struct BlockFree {
        void operator()(char *block) const noexcept;
    };
    std::vector<std::unique_ptr<char[], BlockFree>> m_blocks;
    std::size_t m_blockUsed = 0;
    std::size_t m_blockCapacity = 0;
};

}  // namespace taxcalc
