// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/csv_writer.h"

#include <cerrno>

namespace taxcalc {
namespace {

constexpr std::size_t kDrainAt = std::size_t{1} << 17;

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
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        m_buffer.append(text);
        return;
    }
    m_buffer.push_back('"');
    for (const char c : text) {
        if (c == '"') {
            m_buffer.push_back('"');
        }
        m_buffer.push_back(c);
    }
    m_buffer.push_back('"');
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
