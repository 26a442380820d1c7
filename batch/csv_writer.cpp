// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/csv_writer.h"

#include <cerrno>

namespace taxcalc {
namespace {

constexpr std::size_t kDrainAt = std::size_t{1} << 17;

// A plain loop: find_first_of calls memchr once per character of the cell.
bool NeedsQuotes(std::string_view text) noexcept {
    for (const char c : text) {
        if (c == ',' || c == '"' || c == '\r' || c == '\n') {
            return true;
        }
    }
    return false;
}

}  // namespace

CsvWriter::CsvWriter(std::FILE *output) : m_output(output) {
    m_buffer.reserve(2 * kDrainAt);
}

void CsvWriter::ByteOrderMark() {
    m_buffer.append("\xEF\xBB\xBF");
}

void CsvWriter::Cell(std::string_view text) {
    if (m_rowStarted) {
        m_buffer.push_back(',');
    }
    m_rowStarted = true;
    if (!NeedsQuotes(text)) {
        m_buffer.append(text);
        return;
    }
    m_buffer.push_back('"');
    for (std::size_t quote; (quote = text.find('"')) != std::string_view::npos;) {
        m_buffer.append(text.substr(0, quote + 1)).push_back('"');
        text.remove_prefix(quote + 1);
    }
    m_buffer.append(text).push_back('"');
}

void CsvWriter::EndRow() {
    m_buffer.append("\r\n");
    m_rowStarted = false;
    if (m_buffer.size() >= kDrainAt) {
        Drain();
    }
}

void CsvWriter::Drain() {
    if (!m_failed && !m_buffer.empty() &&
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_output) != m_buffer.size()) {
        m_failed = true;
        m_errorNumber = errno;
    }
    m_buffer.clear();
}

bool CsvWriter::Flush() {
    Drain();
    if (!m_failed && std::fflush(m_output) != 0) {
        m_failed = true;
        m_errorNumber = errno;
    }
    return !m_failed;
}

}  // namespace taxcalc
