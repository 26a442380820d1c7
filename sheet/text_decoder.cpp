// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/text_decoder.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "sheet/encoding_judge.h"
#include "sheet/utf8_bytes.h"

namespace taxcalc {
namespace {

// Where a byte is not part of a character it is written as \xHH.
constexpr std::size_t kEscapeLength = 4;

char *WriteEscaped(char *out, unsigned char byte) noexcept {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    out[0] = '\\';
    out[1] = 'x';
    out[2] = kHex[byte >> 4];
    out[3] = kHex[byte & 0x0F];
    return out + kEscapeLength;
}
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

bool IsUtf8(std::string_view text) noexcept {
    while (!text.empty()) {
        if (static_cast<unsigned char>(text.front()) < 0x80) {
            text.remove_prefix(1);
            continue;
        }
        const std::size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            return false;
        }
        text.remove_prefix(length);
    }
    return true;
}

}  // namespace

TextDecoder::~TextDecoder() {
    if (m_gb18030 != kNoConverter) {
        iconv_close(m_gb18030);
    }
}

TextDecoder::Result TextDecoder::Decode(CsvRecord &record) {
    if (IsAscii(record.Text)) {
        return Result::Clean;
    }
    m_escapedCells.clear();
    if (m_encoding == TextEncoding::Undecided) {
        EncodingJudge judge;
        judge.Feed(record.Text);
        judge.Finish();
        m_encoding = judge.Verdict();
        if (m_encoding == TextEncoding::Undecided) {
            return Result::Unsettled;
        }
    }
    return m_encoding == TextEncoding::Utf8 ? FromUtf8(record) : FromGb18030(record);
}

// Cells never split a character, so the record as a whole is checked, and rebuilt
// cell by cell only when something has to be escaped.
TextDecoder::Result TextDecoder::FromUtf8(CsvRecord &record) {
    if (IsUtf8(record.Text)) {
        return Result::Clean;
    }
    m_scratch.Clear();
    for (std::size_t i = 0; i < record.Size(); ++i) {
        std::string_view cell = record.Cell(i);
        if (!IsUtf8(cell)) {
            m_escapedCells.push_back(i);
        }
        while (!cell.empty()) {
            const std::size_t length = Utf8SequenceLength(cell);
            if (length == 0) {
                char escaped[kEscapeLength];
                WriteEscaped(escaped, static_cast<unsigned char>(cell.front()));
                m_scratch.Text.append(escaped, kEscapeLength);
                cell.remove_prefix(1);
            } else {
                m_scratch.Text.append(cell.substr(0, length));
                cell.remove_prefix(length);
            }
        }
        m_scratch.Ends.push_back(m_scratch.Text.size());
    }
    std::swap(record.Text, m_scratch.Text);
    std::swap(record.Ends, m_scratch.Ends);
    return Result::Escaped;
}

TextDecoder::Result TextDecoder::FromGb18030(CsvRecord &record) {
    if (m_gb18030 == kNoConverter) {
        m_gb18030 = iconv_open("UTF-8", "GB18030");
        if (m_gb18030 == kNoConverter) {
            return Result::Unavailable;
        }
    }
    m_scratch.Clear();
    for (std::size_t i = 0; i < record.Size(); ++i) {
        const std::string_view cell = record.Cell(i);
        if (IsAscii(cell)) {
            m_scratch.Text.append(cell);
            m_scratch.Ends.push_back(m_scratch.Text.size());
            continue;
        }
        // A GB18030 character takes at most 4 bytes and becomes at most 4 of UTF-8;
        // an escaped byte becomes 4.
        std::size_t start = m_scratch.Text.size();
        m_scratch.Text.resize(start + cell.size() * 4 + 4);
        char *in = const_cast<char *>(cell.data());
        std::size_t inLeft = cell.size();
        char *out = m_scratch.Text.data() + start;
        std::size_t outLeft = m_scratch.Text.size() - start;
        iconv(m_gb18030, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            if (iconv(m_gb18030, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1)) {
                break;
            }
            // EILSEQ, or EINVAL for a character cut off at the cell's end.
            if (m_escapedCells.empty() || m_escapedCells.back() != i) {
                m_escapedCells.push_back(i);
            }
            out = WriteEscaped(out, static_cast<unsigned char>(*in));
            outLeft -= kEscapeLength;
            ++in;
            --inLeft;
            iconv(m_gb18030, nullptr, nullptr, nullptr, nullptr);
        }
        m_scratch.Text.resize(static_cast<std::size_t>(out - m_scratch.Text.data()));
        m_scratch.Ends.push_back(m_scratch.Text.size());
    }
    std::swap(record.Text, m_scratch.Text);
    std::swap(record.Ends, m_scratch.Ends);
    return m_escapedCells.empty() ? Result::Clean : Result::Escaped;
}

}  // namespace taxcalc
