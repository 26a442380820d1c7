// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "batch/csv_record.h"

namespace taxcalc {

// Reads RFC 4180 records from a byte stream, as spreadsheets write them: cells
// separated by ",", quoted cells with "" for a quote, records ended by CRLF, LF or a
// bare CR. Bytes are handed on as they stand; ",", quotes and line ends never occur
// inside a multi-byte character of UTF-8 or GB18030, so no decoding is needed here.
//
// Where the file strays from the RFC the reader keeps every byte: a quote inside an
// unquoted cell is an ordinary character, and text after a closing quote is added to
// the cell. Only a quote that is never closed is fatal.
class CsvReader {
public:
    enum class Status { Record, End, Failed };

    // A record larger than this is refused, which keeps memory bounded when a stray
    // quote swallows the rest of a file.
    static constexpr std::size_t kDefaultRecordLimit = std::size_t{1} << 20;

    explicit CsvReader(std::FILE *input, std::size_t recordLimit = kDefaultRecordLimit);

    Status Read(CsvRecord &record);

    // Whether the stream began with a UTF-8 byte order mark, which is skipped.
    bool HadByteOrderMark() const noexcept { return m_byteOrderMark; }
    std::uint64_t BytesRead() const noexcept { return m_bytesRead; }
    // Why the last Read failed.
    const std::string &Error() const noexcept { return m_error; }

private:
    bool Fill();
    Status Fail(std::string message);
    bool Start();
    bool ReadQuoted(CsvRecord &record);
    bool TooLarge(const CsvRecord &record) const noexcept;

    std::FILE *m_input;
    std::size_t m_recordLimit;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_eof = false;
    bool m_started = false;
    bool m_byteOrderMark = false;
    std::uint64_t m_bytesRead = 0;
    std::uint64_t m_line = 1;
    std::string m_error;
};

}  // namespace taxcalc
