// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "sheet/csv_record.h"
#include "sheet/record_source.h"
#include "sheet/text_decoder.h"

namespace taxcalc {

// A payroll's records as UTF-8 cells, whatever the file: the header first, after any
// blank rows before it, then every row, blank ones too. The streaming tool and the
// window's in-memory table both read through it, so that they see the very same
// rows and refuse the same bytes.
class SheetReader {
public:
    enum class Status { Record, End, Failed };
    // Hears what the user may want to know about the input: how it was found to be
    // written (encoding, separator), which sheet of a workbook is read, and the line
    // that settled a late encoding.
    using Note = std::function<void(std::string_view)>;

    // `source` must outlive the reader.
    SheetReader(RecordSource &source, Note note) : m_source(source), m_note(std::move(note)) {}

    // Fails, saying why in `error`, on an empty input, a header in no known encoding
    // or an unreadable file.
    Status ReadHeader(CsvRecord &header, std::string &error);
    // The next row, decoded unless blank. For a row with bytes not valid in the
    // file's encoding `escaped` says which cells hold them (as \xHH); it is empty
    // for every other row. Fails only where the input can be read no further.
    Status ReadRow(CsvRecord &row, std::string &escaped, std::string &error);

    // Whether reading failed because the text reads as well in UTF-8 as in GB18030:
    // the user may name the encoding and read the input again.
    bool EncodingUnsettled() const noexcept { return m_unsettled || m_source.EncodingUnsettled(); }
    // The blank rows before the header, which the output keeps.
    std::uint64_t LeadingBlank() const noexcept { return m_leadingBlank; }
    std::uint64_t BytesRead() const noexcept { return m_source.BytesRead(); }
    // The encoding the cells were found in; Utf8 for a workbook.
    TextEncoding Encoding() const noexcept { return m_decoder.Encoding(); }
    // A separator the file may use instead, where its header is one column holding it.
    std::optional<char> SuspectedSeparator(const CsvRecord &header) const {
        return m_source.SuspectedSeparator(header);
    }

private:
    RecordSource &m_source;
    Note m_note;
    TextDecoder m_decoder;
    std::uint64_t m_leadingBlank = 0;
    bool m_unsettled = false;
};

}  // namespace taxcalc
