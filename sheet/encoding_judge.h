// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sheet/text_encoding.h"

namespace taxcalc {

// Judges whether bytes without a byte order mark are UTF-8 or GB18030 by reading
// them both ways and asking which reading looks like a Chinese payroll. Validity
// alone does not settle it: a UTF-8 file with one cut character is still UTF-8, and
// GBK names such as 叶伟 (D2 B6 CE B0) happen to be valid UTF-8 for a Cyrillic and a
// Greek letter. Each reading pays for every character that is unusual: nothing for
// the 3755 common hanzi (GB2312 level 1) or for a letter that goes on a word of its
// own alphabet (é in José), a little for punctuation, the first letter of a word
// and a common hanzi against an ASCII letter (Müller read as GBK is M茂ller), more
// for rare hanzi, other scripts and letters of two alphabets side by side, most for
// bytes that do not decode. The cheaper reading wins by a clear margin, or nothing
// is settled. Bytes are fed in pieces of any size, in constant memory.
class EncodingJudge {
public:
    // How much cheaper the winning reading must be: one name such as José or Иван
    // (common hanzi in GBK) does not settle a file; one rare hanzi does.
    static constexpr std::int64_t kMargin = 6;

    void Feed(std::string_view bytes);
    // The end of the input: a character cut off there counts as broken.
    void Finish();

    // Utf8 or Gb18030; Undecided when no byte is above 0x7F or neither reading wins.
    TextEncoding Verdict() const noexcept;
    bool SawNonAscii() const noexcept { return m_firstLine != 0; }
    // The line of the first byte above 0x7F, from 1.
    std::uint64_t FirstLine() const noexcept { return m_firstLine; }

    // The costs so far, for tests and for the message of an unsettled file.
    std::int64_t Utf8Cost() const noexcept { return m_utf8Cost; }
    std::int64_t Gb18030Cost() const noexcept { return m_gbCost; }

private:
    // Both read from the front of `bytes` and return how many bytes they took; 0
    // when the character may go on beyond them (only when !final).
    std::size_t ReadUtf8(std::string_view bytes, bool final);
    std::size_t ReadGb18030(std::string_view bytes, bool final);
    void Consume(bool final);

    std::string m_utf8Pending;
    std::string m_gbPending;
    int m_utf8Script = 0;          // of the character before, in the UTF-8 reading
    bool m_gbAfterLetter = false;  // whether an ASCII letter stands before, in the GB18030 reading
    std::int64_t m_utf8Cost = 0;
    std::int64_t m_gbCost = 0;
    std::uint64_t m_lines = 0;
    std::uint64_t m_firstLine = 0;
    bool m_afterCr = false;
    char m_lastAscii = '\n';
};

}  // namespace taxcalc
