// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// What the readers of text need to know of its bytes: byte order marks, runs of
// ASCII, ASCII letters in either case, and which sequences are well-formed UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace taxcalc {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
inline constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
inline constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// Whether the bytes start with a byte order mark of UTF-8 or UTF-16.
constexpr bool StartsWithByteOrderMark(std::string_view bytes) noexcept {
    return bytes.starts_with(kUtf8Bom) || bytes.starts_with(kUtf16LeBom) || bytes.starts_with(kUtf16BeBom);
}

// How many bytes at the start are ASCII, eight at a time: most of a payroll is.
std::size_t AsciiRun(std::string_view bytes) noexcept;

inline bool IsAscii(std::string_view bytes) noexcept {
    return AsciiRun(bytes) == bytes.size();
}

// What a lead byte above 0x7F begins: a sequence of Length bytes, whose second byte
// lies in [Low, High] (no overlong forms, no surrogates, nothing above U+10FFFF) and
// whose others in [0x80, 0xBF]; Bits are the code point's bits in the lead byte.
struct Utf8Lead {
    std::size_t Length;
    unsigned char Low;
    unsigned char High;
    unsigned Bits;
};

// Whether two texts are equal but for the case of ASCII letters.
constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) {
        return false;
    }
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// Nothing for a byte that begins no well-formed sequence.
std::optional<Utf8Lead> Utf8LeadOf(unsigned char lead) noexcept;

// The length of the well-formed UTF-8 sequence at the start of text, 0 if there is
// none.
std::size_t Utf8SequenceLength(std::string_view text) noexcept;

}  // namespace taxcalc
