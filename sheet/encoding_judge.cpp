// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/encoding_judge.h"

#include "sheet/utf8_bytes.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace taxcalc {
namespace {

// What a character costs a reading; see the class comment.
constexpr std::int64_t kCommon = 0;
constexpr std::int64_t kSymbol = 1;
constexpr std::int64_t kWordStart = 3;    // a Latin, Greek or Cyrillic letter after no letter of its own
constexpr std::int64_t kHanziInWord = 4;  // a common hanzi against an ASCII letter: M茂ller is Müller
constexpr std::int64_t kRareHanzi = 6;
constexpr std::int64_t kForeign = 8;  // and letters of two alphabets side by side: 叶伟 is Ҷΰ
constexpr std::int64_t kBroken = 10;

constexpr char32_t kFirstUnified = 0x4E00;
constexpr char32_t kLastUnified = 0x9FFF;

enum HanziLevel : std::uint8_t { kOther = 0, kLevelOne = 1, kLevelTwo = 2 };

enum class Script { None, Latin, Greek, Cyrillic };

// The GB2312 level of every unified ideograph, made once from the system's own
// GB18030 table so that both readings class a character alike.
const std::array<std::uint8_t, kLastUnified - kFirstUnified + 1> &HanziLevels() {
    static const auto levels = [] {
        std::array<std::uint8_t, kLastUnified - kFirstUnified + 1> table{};
        const iconv_t converter = iconv_open("UTF-32LE", "GB18030");
        if (converter == reinterpret_cast<iconv_t>(-1)) {
            // Without a table every ideograph counts as common; GB18030 input
            // cannot be decoded then anyway.
            table.fill(kLevelOne);
            return table;
        }
        for (unsigned lead = 0xB0; lead <= 0xF7; ++lead) {
            for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) {
                char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                unsigned char out[4] = {};
                char *inPointer = in;
                auto *outPointer = reinterpret_cast<char *>(out);
                std::size_t inLeft = 2;
                std::size_t outLeft = 4;
                iconv(converter, nullptr, nullptr, nullptr, nullptr);
                if (iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) ==
                    static_cast<std::size_t>(-1)) {
                    continue;
                }
                const char32_t code =
                    out[0] | out[1] << 8 | out[2] << 16 | static_cast<char32_t>(out[3]) << 24;
                if (code >= kFirstUnified && code <= kLastUnified) {
                    table[code - kFirstUnified] = lead <= 0xD7 ? kLevelOne : kLevelTwo;
                }
            }
        }
        iconv_close(converter);
        return table;
    }();
    return levels;
}

bool IsAsciiLetter(char c) noexcept {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

Script ScriptOf(char32_t code) noexcept {
    // ASCII letters are Latin: é in José continues a word.
    if (code < 0x80) {
        return IsAsciiLetter(static_cast<char>(code)) ? Script::Latin : Script::None;
    }
    if (code >= 0xC0 && code <= 0x24F && code != 0xD7 && code != 0xF7) {
        return Script::Latin;
    }
    if (code >= 0x370 && code <= 0x3FF) {
        return Script::Greek;
    }
    if (code >= 0x400 && code <= 0x4FF) {
        return Script::Cyrillic;
    }
    return Script::None;
}

// A character of the UTF-8 reading, after a character of script `before`.
std::int64_t CostOfCodePoint(char32_t code, Script before) {
    if (code >= kFirstUnified && code <= kLastUnified) {
        const std::uint8_t level = HanziLevels()[code - kFirstUnified];
        return level == kLevelOne ? kCommon : level == kLevelTwo ? kRareHanzi : kForeign;
    }
    if ((code >= 0x3000 && code <= 0x303F) || (code >= 0xFF00 && code <= 0xFFEF) ||
        (code >= 0x2000 && code <= 0x206F) || (code >= 0xA0 && code <= 0xBF) || code == 0xD7 ||
        code == 0xF7) {
        return kSymbol;
    }
    const Script script = ScriptOf(code);
    if (script == Script::None) {
        return kForeign;
    }
    return before == script ? kCommon : before == Script::None ? kWordStart : kForeign;
}

// A two-byte GB18030 character by its GB2312 zone.
std::int64_t CostOfGbPair(unsigned lead, unsigned trail, bool besideLetter) {
    if (trail < 0xA1 || trail > 0xFE) {
        return kForeign;  // GBK's extension zones: rare hanzi and vertical forms
    }
    if (lead >= 0xB0 && lead <= 0xD7) {
        return lead == 0xD7 && trail > 0xF9 ? kForeign : besideLetter ? kHanziInWord : kCommon;
    }
    if (lead >= 0xD8 && lead <= 0xF7) {
        return kRareHanzi;
    }
    if (lead >= 0xA1 && lead <= 0xA9) {
        return kSymbol;
    }
    return kForeign;
}

std::uint64_t LineEnds(std::string_view bytes, bool &afterCr) {
    std::uint64_t ends = 0;
    for (const char c : bytes) {
        if (c == '\n') {
            ends += afterCr ? 0 : 1;
        } else if (c == '\r') {
            ++ends;
        }
        afterCr = c == '\r';
    }
    return ends;
}

}  // namespace

void EncodingJudge::Feed(std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    if (m_firstLine == 0) {
        const std::size_t ascii = AsciiRun(bytes);
        m_lines += LineEnds(bytes.substr(0, ascii), m_afterCr);
        if (ascii == bytes.size()) {
            m_lastAscii = bytes.back();
            return;
        }
        m_firstLine = m_lines + 1;
        // The byte before still tells whether the first character stands in a word.
        if (ascii == 0) {
            m_utf8Pending.push_back(m_lastAscii);
            m_gbPending.push_back(m_lastAscii);
        }
        m_lines += LineEnds(bytes.substr(ascii), m_afterCr);
        bytes.remove_prefix(ascii > 0 ? ascii - 1 : 0);
    }
    m_utf8Pending.append(bytes);
    m_gbPending.append(bytes);
    Consume(false);
}

void EncodingJudge::Finish() {
    Consume(true);
}

void EncodingJudge::Consume(bool final) {
    // Each reading goes through its own copy of the bytes; an ASCII run tells both
    // whether the next character stands against a letter.
    const auto consume = [final](std::string &pending, auto read, auto afterAscii) {
        std::string_view rest(pending);
        while (!rest.empty()) {
            if (const std::size_t ascii = AsciiRun(rest); ascii > 0) {
                afterAscii(rest[ascii - 1]);
                rest.remove_prefix(ascii);
                continue;
            }
            const std::size_t taken = read(rest, final);
            if (taken == 0) {
                break;
            }
            rest.remove_prefix(taken);
        }
        pending.erase(0, pending.size() - rest.size());
    };
    consume(
        m_utf8Pending, [this](std::string_view bytes, bool last) { return ReadUtf8(bytes, last); },
        [this](char c) { m_utf8Script = static_cast<int>(ScriptOf(static_cast<unsigned char>(c))); });
    consume(
        m_gbPending, [this](std::string_view bytes, bool last) { return ReadGb18030(bytes, last); },
        [this](char c) { m_gbAfterLetter = IsAsciiLetter(c); });
}

// A broken sequence costs once for its longest well-begun part, as a decoder that
// replaces it would show one replacement character.
std::size_t EncodingJudge::ReadUtf8(std::string_view bytes, bool final) {
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[i]));
    };
    const std::optional<Utf8Lead> lead = Utf8LeadOf(static_cast<unsigned char>(bytes[0]));
    if (!lead) {
        m_utf8Cost += kBroken;
        m_utf8Script = static_cast<int>(Script::None);
        return 1;
    }
    const std::size_t length = lead->Length;
    const unsigned low = lead->Low;
    const unsigned high = lead->High;
    char32_t code = lead->Bits;
    for (std::size_t i = 1; i < length; ++i) {
        if (i == bytes.size()) {
            if (!final) {
                return 0;
            }
            m_utf8Cost += kBroken;
            m_utf8Script = static_cast<int>(Script::None);
            return i;
        }
        const unsigned next = byte(i);
        if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) {
            m_utf8Cost += kBroken;
            m_utf8Script = static_cast<int>(Script::None);
            return i;
        }
        code = code << 6 | (next & 0x3F);
    }
    m_utf8Cost += CostOfCodePoint(code, static_cast<Script>(m_utf8Script));
    m_utf8Script = static_cast<int>(ScriptOf(code));
    return length;
}

std::size_t EncodingJudge::ReadGb18030(std::string_view bytes, bool final) {
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[i]));
    };
    const auto isLead = [](unsigned b) { return b >= 0x81 && b <= 0xFE; };
    const auto isDigit = [](unsigned b) { return b >= 0x30 && b <= 0x39; };
    if (!isLead(byte(0))) {
        m_gbCost += kBroken;
        m_gbAfterLetter = false;
        return 1;
    }
    if (bytes.size() < 2) {
        if (!final) {
            return 0;
        }
        m_gbCost += kBroken;
        return 1;
    }
    const unsigned second = byte(1);
    if (bytes.size() < 3 && !final) {
        return 0;  // the byte after tells whether the character stands in a word
    }
    const bool afterLetter = m_gbAfterLetter;
    m_gbAfterLetter = false;
    if ((second >= 0x40 && second <= 0x7E) || (second >= 0x80 && second <= 0xFE)) {
        const bool beforeLetter = bytes.size() > 2 && IsAsciiLetter(bytes[2]);
        m_gbCost += CostOfGbPair(byte(0), second, afterLetter || beforeLetter);
        return 2;
    }
    if (!isDigit(second)) {
        m_gbCost += kBroken;
        return 1;
    }
    if (bytes.size() < 4 && !final) {
        return 0;
    }
    if (bytes.size() < 4 || !isLead(byte(2)) || !isDigit(byte(3))) {
        m_gbCost += kBroken;
        return 1;
    }
    m_gbCost += kForeign;  // four-byte characters lie outside everyday Chinese
    return 4;
}

TextEncoding EncodingJudge::Verdict() const noexcept {
    if (m_firstLine == 0) {
        return TextEncoding::Undecided;
    }
    if (m_gbCost - m_utf8Cost >= kMargin) {
        return TextEncoding::Utf8;
    }
    if (m_utf8Cost - m_gbCost >= kMargin) {
        return TextEncoding::Gb18030;
    }
    return TextEncoding::Undecided;
}

}  // namespace taxcalc
