// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <iconv.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "sheet/csv_record.h"
#include "sheet/record_source.h"

namespace taxcalc {

// Reads RFC 4180 records from a byte stream, as spreadsheets write them: cells
// separated by ",", quoted cells with "" for a quote, records ended by CRLF, LF or a
// bare CR. Bytes are handed on as they stand; ",", quotes and line ends never occur
// inside a multi-byte character of UTF-8 or GB18030, so no decoding is needed here.
// UTF-16 with a byte order mark (a spreadsheet's "Unicode text") is the exception:
// it is turned into UTF-8 as it is read.
//
// The separator is ",", ";" or a tab. Unless it is given, the first line that holds
// anything decides: "," if it holds one outside quotes, else whichever of ";" and
// tab it holds more of.
//
// Where the file strays from the RFC the reader keeps every byte: a quote inside an
// unquoted cell is an ordinary character, and text after a closing quote is added to
// the cell. Only a quote that is never closed is fatal.
class CsvReader {
public:
    enum class Status { Record, End, Failed };

    // A record larger than this is refused, which keeps memory bounded when a stray
    // quote swallows the rest of a file.
    static constexpr std::size_t kDefaultRecordLimit = RecordSource::kMaxRecordBytes;
    // A separator of 0 is found from the first line.
    static constexpr char kFindSeparator = 0;

    enum class Mark { None, Utf8, Utf16Le, Utf16Be };

    explicit CsvReader(std::FILE *input, std::size_t recordLimit = kDefaultRecordLimit,
                       char separator = kFindSeparator);
    ~CsvReader();
    CsvReader(const CsvReader &) = delete;
    CsvReader &operator=(const CsvReader &) = delete;

    // Bytes already taken from the stream, to be read before it; only before the
    // first Read.
    void Prepend(std::string bytes);

    Status Read(CsvRecord &record);

    // Whether the stream began with a UTF-8 byte order mark, which is skipped.
    bool HadByteOrderMark() const noexcept { return m_mark == Mark::Utf8; }
    // The byte order mark the stream began with; after a UTF-16 one the records
    // hold UTF-8.
    Mark ByteOrderMark() const noexcept { return m_mark; }
    // The separator in use, known after the first Read.
    char Separator() const noexcept { return m_separator; }
    std::uint64_t BytesRead() const noexcept { return m_bytesRead; }
    // Why the last Read failed.
    const std::string &Error() const noexcept { return m_error; }

private:
    bool Fill();
    bool FillTranscoded();
    Status Fail(std::string message);
    bool Start();
    void FindSeparator();
    bool SkipRestOfQuote();
    bool ReadQuoted(CsvRecord &record);
    bool TooLarge(const CsvRecord &record) const noexcept;

    std::FILE *m_input;
    std::size_t m_recordLimit;
    char m_separator;
    std::array<bool, 256> m_endsUnquotedRun{};
    std::vector<char> m_buffer;
    // UTF-16 bytes not yet turned into UTF-8.
    std::vector<char> m_raw;
    std::size_t m_rawPos = 0;
    std::size_t m_rawEnd = 0;
    iconv_t m_transcoder = reinterpret_cast<iconv_t>(-1);
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_eof = false;
    bool m_started = false;
    Mark m_mark = Mark::None;
    std::uint64_t m_bytesRead = 0;
    std::uint64_t m_line = 1;
    std::string m_error;
};

}  // namespace taxcalc
