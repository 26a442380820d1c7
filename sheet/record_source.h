// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "sheet/csv_record.h"
#include "sheet/text_encoding.h"

namespace taxcalc {

// How a CSV input is written, where the user says so; by default both are found from
// the input itself. A workbook is always UTF-8 and has no separator.
struct InputForm {
    TextEncoding Encoding = TextEncoding::Undecided;
    char Separator = 0;  // ',', ';' or '\t'; 0 finds it from the header line
    // How the note on the input's form says who named the encoding: the caller's
    // words for its own way of naming it.
    std::string_view NamedBy = "由使用者指定";
};

// Where the rows of a payroll come from: a CSV file or the first worksheet of an
// .xlsx workbook, one record at a time, so that the same row logic runs over both.
class RecordSource {
public:
    enum class Status { Record, End, Failed };

    // What every refusal of an unreadable input names.
    static constexpr std::string_view kReadableFormats =
        "能读取的格式：UTF-8 或 GB18030 编码的 CSV 文件，以及 .xlsx 和 .xls 工作簿";

    // The longest record that is read: a longer one is no payroll row, and holding it
    // would let a small file take any amount of memory.
    static constexpr std::size_t kMaxRecordBytes = std::size_t{1} << 20;

    virtual ~RecordSource() = default;

    // The next record; after Failed, Error() says why. Cells are UTF-8 once the
    // encoding below is applied.
    virtual Status Read(CsvRecord &record) = 0;
    virtual const std::string &Error() const noexcept = 0;
    // Whether reading failed because the text reads as well in one encoding as in
    // another, which the user may settle by naming one (InputForm::Encoding).
    virtual bool EncodingUnsettled() const noexcept { return false; }

    // The encoding of the cells as far as the source knows it: Undecided leaves it to
    // the decoder. Valid after the first Read.
    virtual TextEncoding Encoding() const noexcept = 0;

    // How far reading has come, in bytes of the input file, for a progress display.
    virtual std::uint64_t BytesRead() const noexcept = 0;

    // How the input was found to be written (encoding, separator), to be told to the
    // user once the header is read; empty when there is nothing worth saying.
    virtual std::string Form() const { return {}; }
    // Which sheet of a workbook is read, where the user may expect another: the
    // workbook holds more than one, or hides the one read. Empty otherwise.
    virtual std::string Notice() const { return {}; }
    // A separator other than the one the file was read with, where a header of one
    // column holds one: the file may use it. Nothing where there is no such sign.
    virtual std::optional<char> SuspectedSeparator(const CsvRecord & /*header*/) const {
        return std::nullopt;
    }
};

}  // namespace taxcalc
