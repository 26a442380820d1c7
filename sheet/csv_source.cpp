// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/csv_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

#include "sheet/encoding_judge.h"
#include "sheet/input_mark.h"
#include "sheet/system_error.h"
#include "sheet/utf8_bytes.h"

namespace taxcalc {

CsvSource::CsvSource(std::FILE *input, InputForm form)
    : m_input(input), m_form(form), m_reader(input, CsvReader::kDefaultRecordLimit, form.Separator) {}

std::string CsvSource::Unsettled(std::uint64_t line) {
    return "无法确定输入的编码：从第 " + std::to_string(line) + " 行起的文字读作 UTF-8 或 GB18030 都说得通";
}

RecordSource::Status CsvSource::Read(CsvRecord &record) {
    if (!m_started) {
        m_started = true;
        if (!SettleEncoding()) {
            m_error = std::move(m_how);
            return Status::Failed;
        }
    }
    if (!m_error.empty()) {
        return Status::Failed;
    }
    switch (m_reader.Read(record)) {
        case CsvReader::Status::Record:
            return Status::Record;
        case CsvReader::Status::End:
            return Status::End;
        case CsvReader::Status::Failed:
            break;
    }
    return Status::Failed;
}

TextEncoding CsvSource::Encoding() const noexcept {
    return m_reader.ByteOrderMark() != CsvReader::Mark::None ? TextEncoding::Utf8 : m_encoding;
}

// Reads the whole input, or its first kEncodingSample bytes where it cannot be read
// twice, and judges its encoding. False, with the reason in m_how, when it stays
// open; the encoding stays Undecided too when everything looked at was ASCII or
// began with a byte order mark.
bool CsvSource::SettleEncoding() {
    m_encoding = m_form.Encoding;
    if (m_encoding != TextEncoding::Undecided) {
        m_how = m_form.NamedBy;
        return true;
    }
    const InputMark start(m_input);
    const bool rereadable = start.Regular();
    EncodingJudge judge;
    std::string sample;
    std::vector<char> chunk(std::size_t{1} << 18);
    bool marked = false;
    bool whole = false;
    for (bool first = true;; first = false) {
        const std::size_t want =
            rereadable ? chunk.size() : std::min(chunk.size(), kEncodingSample - sample.size());
        const std::size_t got = want == 0 ? 0 : std::fread(chunk.data(), 1, want, m_input);
        const std::string_view bytes(chunk.data(), got);
        if (!rereadable) {
            sample.append(bytes);
        }
        if (first && StartsWithByteOrderMark(bytes)) {
            // The reader honours the mark; nothing to judge.
            marked = true;
            break;
        }
        if (got == 0) {
            whole = want != 0 && !std::ferror(m_input);
            break;
        }
        judge.Feed(bytes);
    }
    if (std::ferror(m_input)) {
        m_how = std::string("读取失败：") + SystemErrorText(errno);
        return false;
    }
    if (rereadable) {
        if (!start.Return()) {
            m_how = std::string("无法回到输入的开头：") + SystemErrorText(errno);
            return false;
        }
    } else {
        m_reader.Prepend(std::move(sample));
    }
    if (marked) {
        return true;
    }
    if (whole) {
        judge.Finish();
    }
    m_encoding = judge.Verdict();
    m_how = rereadable ? "按全文判断" : whole ? "按全部输入判断" : "按输入的前 4 MiB 判断";
    if (m_encoding == TextEncoding::Undecided && judge.SawNonAscii()) {
        m_how = Unsettled(judge.FirstLine());
        m_unsettled = true;
        return false;
    }
    return true;
}

std::string CsvSource::Form() const {
    std::string form;
    switch (m_reader.ByteOrderMark()) {
        case CsvReader::Mark::Utf8:
            form = "编码 UTF-8（带 BOM）";
            break;
        case CsvReader::Mark::Utf16Le:
            form = "编码 UTF-16LE（带 BOM）";
            break;
        case CsvReader::Mark::Utf16Be:
            form = "编码 UTF-16BE（带 BOM）";
            break;
        case CsvReader::Mark::None:
            if (m_encoding != TextEncoding::Undecided) {
                form = "编码 " + std::string(EncodingName(m_encoding)) + "（" + m_how + "）";
            }
            break;
    }
    if (m_reader.Separator() != ',') {
        form += std::string(form.empty() ? "" : "；") + "分隔符 " +
                (m_reader.Separator() == ';' ? "分号“;”" : "制表符");
    }
    return form;
}

// Where the header shows no column because the file uses another separator.
std::optional<char> CsvSource::SuspectedSeparator(const CsvRecord &header) const {
    if (header.Size() != 1) {
        return std::nullopt;
    }
    for (const char separator : {';', '\t', '|'}) {
        if (header.Cell(0).find(separator) != std::string_view::npos) {
            return separator;
        }
    }
    return std::nullopt;
}

}  // namespace taxcalc
