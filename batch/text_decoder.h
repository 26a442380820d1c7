// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <iconv.h>

#include "batch/csv_record.h"

namespace taxcalc {

enum class TextEncoding { Undecided, Utf8, Gb18030 };

// Turns the cells of a file's records into UTF-8. A spreadsheet writes either UTF-8
// (with or without a byte order mark) or, on Chinese Windows, GB18030/GBK; ASCII
// reads the same in both, so the first record that holds a byte above 0x7F decides:
// UTF-8 if its bytes are valid UTF-8, GB18030 otherwise. Real Chinese text in GBK is
// practically never valid UTF-8.
class TextDecoder {
public:
    enum class Result {
        Clean,
        Replaced,     // bytes that are not valid in the file's encoding became U+FFFD
        Unavailable,  // the system's iconv cannot convert GB18030
    };

    TextDecoder() = default;
    ~TextDecoder();
    TextDecoder(const TextDecoder &) = delete;
    TextDecoder &operator=(const TextDecoder &) = delete;

    // A byte order mark settles the encoding before any record is read.
    void Settle(TextEncoding encoding) noexcept { m_encoding = encoding; }
    TextEncoding Encoding() const noexcept { return m_encoding; }

    // Re-encodes the record's cells as UTF-8, in place.
    Result Decode(CsvRecord &record);

private:
    Result FromUtf8(CsvRecord &record);
    Result FromGb18030(CsvRecord &record);

    TextEncoding m_encoding = TextEncoding::Undecided;
    iconv_t m_gb18030 = reinterpret_cast<iconv_t>(-1);
    CsvRecord m_scratch;
};

}  // namespace taxcalc
