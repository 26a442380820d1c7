// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>

#include "sheet/csv_reader.h"
#include "sheet/record_source.h"

namespace taxcalc {

// The records of a CSV file, every cell text, in the bytes of the file's encoding.
// Before the first record it settles that encoding from one look at the whole input
// (a stream is looked at as far as kEncodingSample bytes, which are kept for the
// reading), unless a byte order mark or the user already says it; the separator is
// the user's or found from the header line.
class CsvSource final : public RecordSource {
public:
    static constexpr std::size_t kEncodingSample = std::size_t{4} << 20;

    explicit CsvSource(std::FILE *input, InputForm form = {});

    // Why the encoding stays open, naming the line where the doubt starts.
    // Where the text from `line` on reads as well in UTF-8 as in GB18030; the user
    // must name the encoding (RecordSource::EncodingUnsettled).
    static std::string Unsettled(std::uint64_t line);

    Status Read(CsvRecord &record) override;
    bool EncodingUnsettled() const noexcept override { return m_unsettled; }
    const std::string &Error() const noexcept override {
        return m_error.empty() ? m_reader.Error() : m_error;
    }
    // Settled before the first record; UTF-8 after any byte order mark (UTF-16 is
    // turned into UTF-8 as it is read); Undecided leaves it to the decoder.
    TextEncoding Encoding() const noexcept override;
    std::uint64_t BytesRead() const noexcept override { return m_reader.BytesRead(); }
    std::string Form() const override;
    std::optional<char> SuspectedSeparator(const CsvRecord &header) const override;

private:
    bool SettleEncoding();

    std::FILE *m_input;
    InputForm m_form;
    CsvReader m_reader;
    bool m_started = false;
    bool m_unsettled = false;
    TextEncoding m_encoding = TextEncoding::Undecided;
    std::string m_how;
    std::string m_error;
};

}  // namespace taxcalc
