// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace taxcalc {

// Writes UTF-8 CSV the way Excel opens it right: a byte order mark first, CRLF line
// ends, and a cell quoted only when it holds a separator, a quote or a line break.
class CsvWriter {
public:
    explicit CsvWriter(std::FILE *output);

    void ByteOrderMark();
    void Cell(std::string_view text);
    void EndRow();

    // Hands everything buffered to the stream and flushes it; false once any write
    // has failed.
    bool Flush();
    bool Failed() const noexcept { return m_failed; }
    // The errno of the first failed write.
    int ErrorNumber() const noexcept { return m_errorNumber; }

private:
    void Drain();

    std::FILE *m_output;
    std::string m_buffer;
    bool m_rowStarted = false;
    bool m_failed = false;
    int m_errorNumber = 0;
};

}  // namespace taxcalc
