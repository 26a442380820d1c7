// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstdio>
#include <string_view>
#include <vector>

namespace taxcalc {

// Writes UTF-8 CSV the way Excel opens it right: a byte order mark first, CRLF line
// ends, and a cell quoted only when it holds a separator, a quote or a line break.
class CsvWriter {
public:
    explicit CsvWriter(std::FILE *output);

    void ByteOrderMark();
    void Cell(std::string_view text);
    // A cell known to hold no separator, quote or line break, as a computed figure.
    void TrustedCell(std::string_view text);
    void EndRow();

    // Hands everything buffered to the stream and flushes it; false once any write
    // has failed.
    bool Flush();
    bool Failed() const noexcept { return m_failed; }
    // The errno of the first failed write.
    int ErrorNumber() const noexcept { return m_errorNumber; }

private:
    // Room for `bytes` more; the buffer grows only for a cell larger than itself.
    char *Room(std::size_t bytes) {
        if (m_buffer.size() - m_used < bytes) {
            Grow(bytes);
        }
        return m_buffer.data() + m_used;
    }
    void Grow(std::size_t bytes);
    void Drain();

    std::FILE *m_output;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
    bool m_rowStarted = false;
    bool m_failed = false;
    int m_errorNumber = 0;
};

}  // namespace taxcalc
