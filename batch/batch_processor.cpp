// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/batch_processor.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "batch/csv_record.h"
#include "batch/csv_sink.h"
#include "batch/record_sink.h"
#include "batch/record_source.h"
#include "batch/row_calculator.h"
#include "batch/text_decoder.h"

namespace taxcalc {
namespace {

constexpr std::string_view kProgram = "taxcalc-batch: ";
constexpr std::string_view kErrorHeader = "错误";
constexpr std::uint64_t kProgressEvery = 4096;

std::string EscapedReason(const TextDecoder &decoder) {
    std::string columns;
    for (const std::size_t column : decoder.EscapedCells()) {
        columns += std::string(columns.empty() ? "" : "、") + std::to_string(column + 1);
    }
    return "第 " + columns + " 列有无法按 " + std::string(EncodingName(decoder.Encoding())) +
           " 读出的字节，已写作 \\xHH";
}

std::string_view CellOrEmpty(const CsvRecord &record, std::size_t column) noexcept {
    return column < record.Size() ? record.Cell(column) : std::string_view{};
}

// How many cells stand beyond the header's last column, up to the last that holds
// something: trailing empty ones are the spreadsheet's doing and carry nothing.
std::size_t ExtraCells(const CsvRecord &record, std::size_t width) noexcept {
    std::size_t size = record.Size();
    while (size > width && record.Cell(size - 1).empty()) {
        --size;
    }
    return size > width ? size - width : 0;
}

// The computed cells are money forms (two decimals), the plain form of the advised
// bonus, or words; a spreadsheet gets the figures as numbers.
CellKind FigureKind(std::string_view figure) noexcept {
    const std::size_t start = figure.starts_with('-') ? 1 : 0;
    const std::size_t point = figure.find('.');
    if (figure.size() == start) {
        return CellKind::Text;
    }
    for (std::size_t i = start; i < figure.size(); ++i) {
        if ((figure[i] < '0' || figure[i] > '9') && i != point) {
            return CellKind::Text;
        }
    }
    return point != std::string_view::npos && figure.size() - point == 3 ? CellKind::Money : CellKind::Number;
}

}  // namespace

BatchProcessor::BatchProcessor(BatchMode mode, std::FILE *input, std::FILE *output, std::FILE *diagnostics,
                               const PeriodRules *rules)
    : m_mode(mode), m_rules(rules), m_input(input), m_output(output), m_diagnostics(diagnostics) {}

BatchProcessor::BatchProcessor(BatchMode mode, RecordSource &source, RecordSink &sink, std::FILE *diagnostics,
                               const PeriodRules *rules)
    : m_mode(mode), m_rules(rules), m_source(&source), m_sink(&sink), m_diagnostics(diagnostics) {}

void BatchProcessor::Say(std::string_view message) {
    if (m_clearProgress) {
        m_clearProgress();
    }
    std::fprintf(m_diagnostics, "%.*s%.*s\n", static_cast<int>(kProgram.size()), kProgram.data(),
                 static_cast<int>(message.size()), message.data());
}

int BatchProcessor::Fatal(std::string_view message) {
    Say(message);
    return kUnusable;
}

void BatchProcessor::ReportRow(std::uint64_t line, std::string_view error) {
    if (m_counts.Refused > kMaxRowMessages) {
        return;
    }
    std::string message = "第 " + std::to_string(line) + " 行：";
    message.append(error);
    Say(message);
}

// Blank rows are counted apart: nothing was computed for them, and nothing refused.
void BatchProcessor::Summarise() {
    if (m_counts.Refused > kMaxRowMessages) {
        Say("其余 " + std::to_string(m_counts.Refused - kMaxRowMessages) + " 行的原因从略");
    }
    std::string parts;
    if (m_counts.Blank > 0) {
        parts = std::to_string(m_counts.Blank) + " 行空行（原样保留，未计算）";
    }
    if (m_counts.Refused > 0) {
        parts += (parts.empty() ? "" : "，") + std::to_string(m_counts.Refused) +
                 " 行未能计算，原因见输出的“错误”列";
    }
    if (!parts.empty()) {
        Say(std::to_string(m_counts.Rows) + " 行中有 " + parts);
    }
    if (m_counts.LeadingBlank > 0) {
        Say("表头前的 " + std::to_string(m_counts.LeadingBlank) + " 行空行已原样保留");
    }
}

int BatchProcessor::Run() {
    m_counts = {};
    std::unique_ptr<RecordSource> ownSource;
    std::unique_ptr<RecordSink> ownSink;
    std::string error;
    if (m_source == nullptr) {
        ownSource = RecordSource::Open(m_input, error, m_form);
        if (!ownSource) {
            return Fatal(error);
        }
    }
    RecordSource &reader = m_source != nullptr ? *m_source : *ownSource;
    TextDecoder decoder;
    CsvRecord record;

    // The first Read settles a CSV file's encoding, or says why it cannot.
    RecordSource::Status status;
    while ((status = reader.Read(record)) == RecordSource::Status::Record && record.Blank()) {
        ++m_counts.LeadingBlank;
    }
    if (status == RecordSource::Status::Failed) {
        return Fatal(reader.Error());
    }
    if (status == RecordSource::Status::End) {
        return Fatal("输入是空的，没有表头");
    }
    decoder.Settle(reader.Encoding());
    switch (decoder.Decode(record)) {
        case TextDecoder::Result::Clean:
            break;
        case TextDecoder::Result::Escaped:
            return Fatal("表头含有无法识别的字节：文件既不是 UTF-8 也不是 GB18030 编码。" +
                         std::string(RecordSource::kReadableFormats));
        case TextDecoder::Result::Unsettled:
            return Fatal(CsvSource::Unsettled(record.Line));
        case TextDecoder::Result::Unavailable:
            return Fatal("本机的 iconv 不能转换 GB18030 编码");
    }
    if (const std::string form = reader.Form(); !form.empty()) {
        Say(form);
    }
    const std::optional<RowCalculator> calculator = RowCalculator::ForHeader(m_mode, m_rules, record, error);
    if (!calculator) {
        return Fatal(error + reader.HeaderHint(record));
    }
    const std::size_t width = record.Size();
    const std::size_t computedWidth = calculator->Width();
    const std::vector<bool> replaced = FormerResults(record, calculator->Headers());

    if (m_sink == nullptr) {
        ownSink = std::make_unique<CsvSink>(m_output);
    }
    RecordSink &writer = m_sink != nullptr ? *m_sink : *ownSink;
    for (std::uint64_t i = 0; i < m_counts.LeadingBlank; ++i) {
        writer.EndRow();
    }
    for (std::size_t i = 0; i < width; ++i) {
        if (!replaced[i]) {
            writer.Cell(record.Cell(i), record.Kind(i));
        }
    }
    for (const std::string_view name : calculator->Headers()) {
        writer.Cell(name, CellKind::Text);
    }
    writer.Cell(kErrorHeader, CellKind::Text);
    writer.EndRow();

    RowFigures figures;
    while ((status = reader.Read(record)) == RecordSource::Status::Record) {
        ++m_counts.Rows;
        std::size_t extra = 0;
        figures.Clear();
        if (record.Blank()) {
            ++m_counts.Blank;
        } else {
            const bool undecided = decoder.Encoding() == TextEncoding::Undecided;
            const TextDecoder::Result decoded = decoder.Decode(record);
            if (undecided && decoder.Encoding() != TextEncoding::Undecided) {
                Say("编码 " + std::string(EncodingName(decoder.Encoding())) + "（按第 " +
                    std::to_string(record.Line) + " 行判断）");
            }
            extra = ExtraCells(record, width);
            if (decoded == TextDecoder::Result::Unavailable) {
                return Fatal("本机的 iconv 不能转换 GB18030 编码");
            }
            if (decoded == TextDecoder::Result::Unsettled) {
                return Fatal(CsvSource::Unsettled(record.Line));
            }
            if (decoded == TextDecoder::Result::Escaped) {
                ++m_counts.Escaped;
                figures.Refuse("编码", EscapedReason(decoder));
            } else if (extra > 0) {
                figures.Refuse("列数", "比表头多 " + std::to_string(extra) + " 列");
            } else {
                calculator->Compute(record, figures);
            }
        }
        for (std::size_t i = 0; i < width; ++i) {
            if (!replaced[i]) {
                writer.Cell(CellOrEmpty(record, i), record.Kind(i));
            }
        }
        for (std::size_t i = 0; i < computedWidth; ++i) {
            writer.Cell(figures.Cells[i], FigureKind(figures.Cells[i]));
        }
        writer.Cell(figures.Error, CellKind::Text);
        for (std::size_t i = width; i < width + extra; ++i) {
            writer.Cell(record.Cell(i), record.Kind(i));
        }
        writer.EndRow();
        if (!figures.Error.empty()) {
            ++m_counts.Refused;
            ReportRow(record.Line, figures.Error);
        }
        if (m_counts.Rows % kProgressEvery == 0) {
            if (writer.Failed()) {
                break;
            }
            if (m_progress) {
                m_progress(reader.BytesRead(), m_counts.Rows);
            }
        }
    }
    if (status == RecordSource::Status::Failed) {
        return Fatal(reader.Error());
    }
    if (!writer.Finish(error)) {
        return Fatal(error);
    }
    if (m_progress) {
        m_progress(reader.BytesRead(), m_counts.Rows);
    }
    Summarise();
    return m_counts.Refused == 0 ? kAllComputed : kSomeRefused;
}

std::vector<bool> BatchProcessor::FormerResults(const CsvRecord &header,
                                                std::span<const std::string_view> computed) {
    std::vector<bool> replaced(header.Size());
    std::string names;
    for (std::size_t i = 0; i < header.Size(); ++i) {
        const std::string_view name = TrimBlanks(header.Cell(i));
        replaced[i] =
            name == kErrorHeader || std::find(computed.begin(), computed.end(), name) != computed.end();
        if (replaced[i]) {
            names += std::string(names.empty() ? "" : "、") + std::string(name);
        }
    }
    if (!names.empty()) {
        Say("输入已有上次计算的列（" + names + "），已换成这次的结果");
    }
    return replaced;
}

}  // namespace taxcalc
