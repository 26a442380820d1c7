// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace taxcalc {

// The records of a BIFF8 stream (the Workbook stream of an Excel 97-2003 workbook),
// one after another from a given offset: each a type, a length and that many bytes,
// the CONTINUE records that follow one joined to it. A record that would run past
// the stream's end, is longer than the format allows, or has a header of zeros (a
// zeroed sector, which a reader taking it for the end would read as blank rows) is
// damage.
class BiffRecords {
public:
    static constexpr std::uint16_t kContinue = 0x003C;
    // The most data one record holds.
    static constexpr std::size_t kMaxRecordBytes = 8224;

    struct Record {
        std::uint16_t Type = 0;
        std::size_t Offset = 0;           // of its header in the stream
        std::string Data;                 // its data and that of its CONTINUE records
        std::vector<std::size_t> Breaks;  // where in Data each CONTINUE record's data begins
    };

    // Reads the parts of one record: numbers, and the format's strings (UTF-16 or, as
    // the format compresses them, one byte a character) as UTF-8, NUL and characters
    // beyond the Basic Multilingual Plane included. A string's characters may go on
    // in a CONTINUE record, which then starts with a byte saying how they go on.
    class Cursor {
    public:
        explicit Cursor(const Record &record, std::size_t at = 0) noexcept : m_record(record), m_at(at) {}

        bool Skip(std::size_t bytes) noexcept;
        bool U8(std::uint32_t &value) noexcept;
        bool U16(std::uint32_t &value) noexcept;
        bool U32(std::uint32_t &value) noexcept;
        // A string with a 16-bit count (XLUnicodeString), an 8-bit count
        // (ShortXLUnicodeString), or a 16-bit count and rich text runs and phonetic
        // text, which are skipped (XLUnicodeRichExtendedString).
        bool String(std::string &text);
        bool ShortString(std::string &text);
        bool RichString(std::string &text);
        std::size_t Left() const noexcept { return m_record.Data.size() - m_at; }

    private:
        bool Characters(std::size_t count, std::uint32_t flags, std::string &text);

        const Record &m_record;
        std::size_t m_at;
    };

    BiffRecords(std::string_view stream, std::size_t at) noexcept : m_stream(stream), m_at(at) {}

    // The next record; false at the stream's end (with `error` empty) or at damage
    // (saying where in `error`).
    bool Next(Record &record, std::string &error);
    // Whether the stream's bytes are all read.
    bool AtEnd() const noexcept { return m_at >= m_stream.size(); }

private:
    std::string_view m_stream;
    std::size_t m_at;
};

}  // namespace taxcalc
