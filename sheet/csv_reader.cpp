// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/csv_reader.h"

#include "sheet/system_error.h"
#include "sheet/utf8_bytes.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace taxcalc {
namespace {

constexpr std::size_t kChunkSize = std::size_t{1} << 18;
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

std::string LimitText(std::size_t limit) {
    const std::string bytes = std::to_string(limit) + " 字节";
    return limit % (std::size_t{1} << 20) == 0 ? std::to_string(limit >> 20) + " MiB（" + bytes + "）"
                                               : bytes;
}

}  // namespace

CsvReader::CsvReader(std::FILE *input, std::size_t recordLimit, char separator)
    : m_input(input), m_recordLimit(recordLimit), m_separator(separator), m_buffer(kChunkSize) {}

CsvReader::~CsvReader() {
    if (m_transcoder != kNoConverter) {
        iconv_close(m_transcoder);
    }
}

void CsvReader::Prepend(std::string bytes) {
    m_bytesRead += bytes.size();
    m_buffer.assign(bytes.begin(), bytes.end());
    m_pos = 0;
    m_end = m_buffer.size();
    m_buffer.resize(std::max(m_buffer.size(), kChunkSize));
}

bool CsvReader::Fill() {
    if (m_pos < m_end) {
        return true;
    }
    if (m_eof) {
        return false;
    }
    m_pos = 0;
    if (m_transcoder != kNoConverter) {
        return FillTranscoded();
    }
    m_end = std::fread(m_buffer.data(), 1, m_buffer.size(), m_input);
    m_bytesRead += m_end;
    if (m_end == 0) {
        m_eof = true;
        if (std::ferror(m_input)) {
            m_error = std::string("读取失败：") + SystemErrorText(errno);
        }
        return false;
    }
    return true;
}

// UTF-16 to UTF-8, a bufferful at a time; a character cut at the end of what was
// read waits for the next read.
bool CsvReader::FillTranscoded() {
    for (;;) {
        char *in = m_raw.data() + m_rawPos;
        std::size_t inLeft = m_rawEnd - m_rawPos;
        char *out = m_buffer.data();
        std::size_t outLeft = m_buffer.size();
        const std::size_t done = iconv(m_transcoder, &in, &inLeft, &out, &outLeft);
        const int reason = errno;
        m_rawPos = static_cast<std::size_t>(in - m_raw.data());
        m_end = static_cast<std::size_t>(out - m_buffer.data());
        if (done == static_cast<std::size_t>(-1) && reason == EILSEQ) {
            Fail("第 " + std::to_string(m_line) + " 行附近有不成对的 UTF-16 代理字符，文件已损坏");
            return false;
        }
        if (m_end > 0) {
            return true;
        }
        // What is left is at most a cut character: keep it and read on.
        const std::size_t left = m_rawEnd - m_rawPos;
        std::memmove(m_raw.data(), m_raw.data() + m_rawPos, left);
        m_rawPos = 0;
        const std::size_t read = std::fread(m_raw.data() + left, 1, m_raw.size() - left, m_input);
        m_bytesRead += read;
        m_rawEnd = left + read;
        if (read == 0) {
            m_eof = true;
            if (std::ferror(m_input)) {
                m_error = std::string("读取失败：") + SystemErrorText(errno);
            } else if (left > 0) {
                m_error = "文件末尾的 UTF-16 字符不完整";
            }
            return false;
        }
    }
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
    const std::string_view head(m_buffer.data() + m_pos, m_end - m_pos);
    if (head.starts_with(kUtf8Bom)) {
        m_mark = Mark::Utf8;
        m_pos += kUtf8Bom.size();
    } else if (head.starts_with(kUtf16LeBom) || head.starts_with(kUtf16BeBom)) {
        m_mark = head.starts_with(kUtf16LeBom) ? Mark::Utf16Le : Mark::Utf16Be;
        m_transcoder = iconv_open("UTF-8", m_mark == Mark::Utf16Le ? "UTF-16LE" : "UTF-16BE");
        if (m_transcoder == kNoConverter) {
            Fail("本机的 iconv 不能转换 UTF-16 编码");
            return false;
        }
        m_raw.assign(head.begin() + 2, head.end());
        m_raw.resize(std::max(m_raw.size(), kChunkSize));
        m_rawPos = 0;
        m_rawEnd = head.size() - 2;
        m_pos = m_end = 0;
        if (!Fill()) {
            return m_error.empty();
        }
    }
    if (m_separator == kFindSeparator) {
        FindSeparator();
    }
    for (const char c : {m_separator, '\n', '\r'}) {
        m_endsUnquotedRun[static_cast<unsigned char>(c)] = true;
    }
    return true;
}

// Looks at the first line with anything on it, as far as the buffer holds it.
void CsvReader::FindSeparator() {
    std::size_t commas = 0;
    std::size_t semicolons = 0;
    std::size_t tabs = 0;
    bool quoted = false;
    bool seen = false;
    for (std::size_t i = m_pos; i < m_end; ++i) {
        const char c = m_buffer[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (quoted) {
        } else if (c == '\n' || c == '\r') {
            if (seen) {
                break;
            }
        } else {
            seen = true;
            commas += c == ',' ? 1 : 0;
            semicolons += c == ';' ? 1 : 0;
            tabs += c == '\t' ? 1 : 0;
        }
        seen = seen || quoted;
    }
    m_separator = commas > 0 || (semicolons == 0 && tabs == 0) ? ',' : semicolons > tabs ? ';' : '\t';
}

bool CsvReader::TooLarge(const CsvRecord &record) const noexcept {
    return record.Text.size() + record.Ends.size() * sizeof(std::size_t) > m_recordLimit;
}

// Reads on, keeping nothing, to the quote that closes the current cell ("" being an
// escaped one), or to the end of the input; false when it never comes.
bool CsvReader::SkipRestOfQuote() {
    while (Fill()) {
        const char *begin = m_buffer.data() + m_pos;
        const char *quote = static_cast<const char *>(std::memchr(begin, '"', m_end - m_pos));
        if (quote == nullptr) {
            m_pos = m_end;
            continue;
        }
        m_pos = static_cast<std::size_t>(quote - m_buffer.data()) + 1;
        if (!Fill() || m_buffer[m_pos] != '"') {
            return true;
        }
        ++m_pos;
    }
    return false;
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
            // Only the rest of the file can tell an open quote from a long record.
            const std::uint64_t line = record.Line;
            Fail(!SkipRestOfQuote() ? "第 " + std::to_string(line) + " 行起的引号没有闭合"
                                    : "第 " + std::to_string(line) + " 行起的记录超过 " +
                                          LimitText(m_recordLimit) + " 的上限");
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
            const char *stop = std::find_if(
                begin, end, [this](char c) { return m_endsUnquotedRun[static_cast<unsigned char>(c)]; });
            record.Text.append(begin, stop);
            if (TooLarge(record)) {
                return Fail("第 " + std::to_string(record.Line) + " 行起的记录超过 " +
                            LimitText(m_recordLimit) + " 的上限");
            }
            if (stop == end) {
                m_pos = m_end;
                continue;
            }
            m_pos = static_cast<std::size_t>(stop - m_buffer.data()) + 1;
            record.Ends.push_back(record.Text.size());
            if (*stop == m_separator) {
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
