// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/csv_reader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace taxcalc {
namespace {

constexpr std::size_t kChunkSize = std::size_t{1} << 18;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

constexpr std::array<bool, 256> kEndsUnquotedRun = [] {
    std::array<bool, 256> table{};
    for (const unsigned char c : {',', '\n', '\r'}) {
        table[c] = true;
    }
    return table;
}();

constexpr bool EndsUnquotedRun(char c) noexcept {
    return kEndsUnquotedRun[static_cast<unsigned char>(c)];
}

}  // namespace

CsvReader::CsvReader(std::FILE *input, std::size_t recordLimit)
    : m_input(input), m_recordLimit(recordLimit), m_buffer(kChunkSize) {}

bool CsvReader::Fill() {
    if (m_pos < m_end) {
        return true;
    }
    if (m_eof) {
        return false;
    }
    m_pos = 0;
    m_end = std::fread(m_buffer.data(), 1, m_buffer.size(), m_input);
    m_bytesRead += m_end;
    if (m_end == 0) {
        m_eof = true;
        if (std::ferror(m_input)) {
            m_error = std::string("读取失败：") + std::strerror(errno);
        }
        return false;
    }
    return true;
}

CsvReader::Status CsvReader::Fail(std::string message) {
    if (m_error.empty()) {
        m_error = std::move(message);
    }
    m_eof = true;
    m_pos = m_end;
    return Status::Failed;
}

// fread fills the whole chunk unless the stream ends first, so the first chunk
// holds the byte order mark whole if there is one.
bool CsvReader::Start() {
    m_started = true;
    if (!Fill()) {
        return m_error.empty();
    }
    const std::string_view head(m_buffer.data(), m_end);
    if (head.starts_with(kUtf8Bom)) {
        m_byteOrderMark = true;
        m_pos = kUtf8Bom.size();
    } else if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) {
        Fail("文件是 UTF-16 编码；请另存为 CSV UTF-8 或 GB18030 编码");
        return false;
    }
    return true;
}

bool CsvReader::TooLarge(const CsvRecord &record) const noexcept {
    return record.Text.size() + record.Ends.size() * sizeof(std::size_t) > m_recordLimit;
}

// Called after the opening quote; leaves the reader after the closing one.
bool CsvReader::ReadQuoted(CsvRecord &record) {
    for (;;) {
        if (!Fill()) {
            Fail("第 " + std::to_string(record.Line) + " 行起的引号没有闭合");
            return false;
        }
        const char *begin = m_buffer.data() + m_pos;
        const char *end = m_buffer.data() + m_end;
        const char *quote = static_cast<const char *>(std::memchr(begin, '"', m_end - m_pos));
        const char *runEnd = quote != nullptr ? quote : end;
        m_line += static_cast<std::uint64_t>(std::count(begin, runEnd, '\n'));
        record.Text.append(begin, runEnd);
        if (TooLarge(record)) {
            Fail("第 " + std::to_string(record.Line) + " 行起的记录超过 " + std::to_string(m_recordLimit) +
                 " 字节（引号可能没有闭合）");
            return false;
        }
        if (quote == nullptr) {
            m_pos = m_end;
            continue;
        }
        m_pos = static_cast<std::size_t>(quote - m_buffer.data()) + 1;
        if (!Fill()) {
            return m_error.empty();
        }
        if (m_buffer[m_pos] != '"') {
            return true;
        }
        record.Text.push_back('"');
        ++m_pos;
    }
}

CsvReader::Status CsvReader::Read(CsvRecord &record) {
    record.Clear();
    if (!m_started && !Start()) {
        return Status::Failed;
    }
    if (!Fill()) {
        return m_error.empty() ? Status::End : Status::Failed;
    }
    record.Line = m_line;
    for (;;) {
        if (m_buffer[m_pos] == '"') {
            ++m_pos;
            if (!ReadQuoted(record)) {
                return Status::Failed;
            }
        }
        // The unquoted cell, or what follows a closing quote.
        for (;;) {
            if (!Fill()) {
                if (!m_error.empty()) {
                    return Status::Failed;
                }
                record.Ends.push_back(record.Text.size());
                return Status::Record;
            }
            const char *begin = m_buffer.data() + m_pos;
            const char *end = m_buffer.data() + m_end;
            const char *stop = std::find_if(begin, end, EndsUnquotedRun);
            record.Text.append(begin, stop);
            if (TooLarge(record)) {
                return Fail("第 " + std::to_string(record.Line) + " 行起的记录超过 " +
                            std::to_string(m_recordLimit) + " 字节");
            }
            if (stop == end) {
                m_pos = m_end;
                continue;
            }
            m_pos = static_cast<std::size_t>(stop - m_buffer.data()) + 1;
            record.Ends.push_back(record.Text.size());
            if (*stop == ',') {
                break;
            }
            ++m_line;
            if (*stop == '\r' && Fill() && m_buffer[m_pos] == '\n') {
                ++m_pos;
            }
            return Status::Record;
        }
        if (!Fill()) {
            // A separator at the very end leaves one more, empty, cell.
            if (!m_error.empty()) {
                return Status::Failed;
            }
            record.Ends.push_back(record.Text.size());
            return Status::Record;
        }
    }
}

}  // namespace taxcalc
