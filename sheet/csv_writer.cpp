// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/csv_writer.h"

#include "sheet/utf8_bytes.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace taxcalc {
namespace {

constexpr std::size_t kDrainAt = std::size_t{1} << 17;

constexpr std::array<bool, 256> kNeedsQuotes = [] {
    std::array<bool, 256> table{};
    for (const unsigned char c : {',', '"', '\r', '\n'}) {
        table[c] = true;
    }
    return table;
}();

bool NeedsQuotes(std::string_view text) noexcept {
    for (const char c : text) {
        if (kNeedsQuotes[static_cast<unsigned char>(c)]) {
            return true;
        }
    }
    return false;
}

}  // namespace

CsvWriter::CsvWriter(std::FILE *output) : m_output(output), m_buffer(2 * kDrainAt) {}

void CsvWriter::Grow(std::size_t bytes) {
    m_buffer.resize(std::max(2 * m_buffer.size(), m_used + bytes));
}

void CsvWriter::ByteOrderMark() {
    constexpr std::string_view kMark = kUtf8Bom;
    std::memcpy(Room(kMark.size()), kMark.data(), kMark.size());
    m_used += kMark.size();
}

// Written straight into the buffer: this runs a dozen times for every row.
void CsvWriter::Cell(std::string_view text) {
    char *out = Room(2 * text.size() + 3);
    if (m_rowStarted) {
        *out++ = ',';
    }
    m_rowStarted = true;
    if (!NeedsQuotes(text)) {
        // An empty view may carry a null pointer, which memcpy must not see.
        if (!text.empty()) {
            std::memcpy(out, text.data(), text.size());
            out += text.size();
        }
    } else {
        *out++ = '"';
        for (const char c : text) {
            if (c == '"') {
                *out++ = '"';
            }
            *out++ = c;
        }
        *out++ = '"';
    }
    m_used = static_cast<std::size_t>(out - m_buffer.data());
}

void CsvWriter::TrustedCell(std::string_view text) {
    char *out = Room(text.size() + 1);
    if (m_rowStarted) {
        *out++ = ',';
    }
    m_rowStarted = true;
    if (!text.empty()) {
        std::memcpy(out, text.data(), text.size());
        out += text.size();
    }
    m_used = static_cast<std::size_t>(out - m_buffer.data());
}

void CsvWriter::EndRow() {
    char *out = Room(2);
    out[0] = '\r';
    out[1] = '\n';
    m_used += 2;
    m_rowStarted = false;
    if (m_used >= kDrainAt) {
        Drain();
    }
}

void CsvWriter::Drain() {
    if (!m_failed && m_used > 0 && std::fwrite(m_buffer.data(), 1, m_used, m_output) != m_used) {
        m_failed = true;
        m_errorNumber = errno;
    }
    m_used = 0;
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
