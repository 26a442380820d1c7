// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "sheet/sheet_reader.h"

#include "sheet/csv_source.h"

namespace taxcalc {
namespace {

constexpr std::string_view kNoGb18030 = "本机的 iconv 不能转换 GB18030 编码";

std::string EscapedReason(const TextDecoder &decoder) {
    std::string columns;
    for (const std::size_t column : decoder.EscapedCells()) {
        columns += std::string(columns.empty() ? "" : "、") + std::to_string(column + 1);
    }
    return "第 " + columns + " 列有无法按 " + std::string(EncodingName(decoder.Encoding())) +
           " 读出的字节，已写作 \\xHH";
}

}  // namespace

SheetReader::Status SheetReader::ReadHeader(CsvRecord &header, std::string &error) {
    // The first Read settles a CSV file's encoding, or says why it cannot.
    RecordSource::Status status;
    while ((status = m_source.Read(header)) == RecordSource::Status::Record && header.Blank()) {
        ++m_leadingBlank;
    }
    if (status == RecordSource::Status::Failed) {
        error = m_source.Error();
        return Status::Failed;
    }
    if (status == RecordSource::Status::End) {
        error = "输入是空的，没有表头";
        return Status::Failed;
    }
    m_decoder.Settle(m_source.Encoding());
    switch (m_decoder.Decode(header)) {
        case TextDecoder::Result::Clean:
            if (const std::string form = m_source.Form(); !form.empty() && m_note) {
                m_note(form);
            }
            if (const std::string notice = m_source.Notice(); !notice.empty() && m_note) {
                m_note(notice);
            }
            return Status::Record;
        case TextDecoder::Result::Escaped:
            error = "表头含有无法识别的字节：文件既不是 UTF-8 也不是 GB18030 编码。" +
                    std::string(RecordSource::kReadableFormats);
            break;
        case TextDecoder::Result::Unsettled:
            error = CsvSource::Unsettled(header.Line);
            m_unsettled = true;
            break;
        case TextDecoder::Result::Unavailable:
            error = kNoGb18030;
            break;
    }
    return Status::Failed;
}

SheetReader::Status SheetReader::ReadRow(CsvRecord &row, std::string &escaped, std::string &error) {
    escaped.clear();
    switch (m_source.Read(row)) {
        case RecordSource::Status::Record:
            break;
        case RecordSource::Status::End:
            return Status::End;
        case RecordSource::Status::Failed:
            error = m_source.Error();
            return Status::Failed;
    }
    if (row.Blank()) {
        return Status::Record;
    }
    const bool undecided = m_decoder.Encoding() == TextEncoding::Undecided;
    switch (m_decoder.Decode(row)) {
        case TextDecoder::Result::Clean:
            break;
        case TextDecoder::Result::Escaped:
            escaped = EscapedReason(m_decoder);
            break;
        case TextDecoder::Result::Unsettled:
            error = CsvSource::Unsettled(row.Line);
            m_unsettled = true;
            return Status::Failed;
        case TextDecoder::Result::Unavailable:
            error = kNoGb18030;
            return Status::Failed;
    }
    if (undecided && m_decoder.Encoding() != TextEncoding::Undecided && m_note) {
        m_note("编码 " + std::string(EncodingName(m_decoder.Encoding())) + "（按第 " +
               std::to_string(row.Line) + " 行判断）");
    }
    return Status::Record;
}

}  // namespace taxcalc
