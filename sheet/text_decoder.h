// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <iconv.h>

#include <cstddef>
#include <vector>

#include "sheet/csv_record.h"
#include "sheet/text_encoding.h"

namespace taxcalc {

// Turns the cells of a file's records into UTF-8. A spreadsheet writes either UTF-8
// (with or without a byte order mark) or, on Chinese Windows, GB18030/GBK. The
// encoding is normally settled from the whole input before the first record; where
// it is not (a stream that was all ASCII as far as it was looked at), the first
// record beyond ASCII is judged alone, and if that does not settle it either the
// record is left as it is and Unsettled returned.
class TextDecoder {
public:
    enum class Result {
        Clean,
        Escaped,      // bytes that are not valid in the file's encoding were written as \xHH
        Unsettled,    // the record does not show which encoding it is in
        Unavailable,  // the system's iconv cannot convert GB18030
    };

    TextDecoder() = default;
    ~TextDecoder();
    TextDecoder(const TextDecoder &) = delete;
    TextDecoder &operator=(const TextDecoder &) = delete;

    // A byte order mark settles the encoding before any record is read.
    void Settle(TextEncoding encoding) noexcept { m_encoding = encoding; }
    TextEncoding Encoding() const noexcept { return m_encoding; }

    // Re-encodes the record's cells as UTF-8, in place. A byte that is no part of a
    // character is kept as the four characters \xHH, so that nothing of it is lost.
    Result Decode(CsvRecord &record);
    // After Escaped: the cells, from 0, that hold such bytes.
    const std::vector<std::size_t> &EscapedCells() const noexcept { return m_escapedCells; }

private:
    Result FromUtf8(CsvRecord &record);
    Result FromGb18030(CsvRecord &record);

    TextEncoding m_encoding = TextEncoding::Undecided;
    iconv_t m_gb18030 = reinterpret_cast<iconv_t>(-1);
    CsvRecord m_scratch;
    std::vector<std::size_t> m_escapedCells;
};

}  // namespace taxcalc
