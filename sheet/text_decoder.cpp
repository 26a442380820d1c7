// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/text_decoder.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "sheet/encoding_judge.h"

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

// Eight bytes at a time: records are mostly ASCII, and this runs on every one.
bool IsAscii(std::string_view text) noexcept {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & kHighBits) != 0) {
            return false;
        }
    }
    for (; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

// The length of the well-formed UTF-8 sequence at the start of text, 0 if there is
// none: no overlong forms, no surrogates, nothing above U+10FFFF.
std::size_t Utf8SequenceLength(std::string_view text) noexcept {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

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
