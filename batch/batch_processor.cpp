// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/batch_processor.h"

#include <cstring>
#include <string>

#include "batch/csv_reader.h"
#include "batch/csv_record.h"
#include "batch/csv_writer.h"
#include "batch/row_calculator.h"
#include "batch/text_decoder.h"

namespace taxcalc {
namespace {

constexpr std::string_view kProgram = "taxcalc-batch: ";
constexpr std::string_view kErrorHeader = "错误";
constexpr std::uint64_t kProgressEvery = 4096;

bool IsEmptyLine(const CsvRecord &record) noexcept {
    return record.Size() == 1 && record.Blank();
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

}  // namespace

BatchProcessor::BatchProcessor(BatchMode mode, std::FILE *input, std::FILE *output, std::FILE *diagnostics,
                               const PeriodRules *rules)
    : m_mode(mode), m_rules(rules), m_input(input), m_output(output), m_diagnostics(diagnostics) {}

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

int BatchProcessor::Run() {
    m_counts = {};
    CsvReader reader(m_input);
    TextDecoder decoder;
    CsvRecord record;

    CsvReader::Status status;
    while ((status = reader.Read(record)) == CsvReader::Status::Record && IsEmptyLine(record)) {
    }
    if (status == CsvReader::Status::Failed) {
        return Fatal(reader.Error());
    }
    if (status == CsvReader::Status::End) {
        return Fatal("输入是空的，没有表头");
    }
    if (reader.HadByteOrderMark()) {
        decoder.Settle(TextEncoding::Utf8);
    }
    switch (decoder.Decode(record)) {
        case TextDecoder::Result::Clean:
            break;
        case TextDecoder::Result::Replaced:
            return Fatal("表头含有无法识别的字节：文件既不是 UTF-8 也不是 GB18030 编码");
        case TextDecoder::Result::Unavailable:
            return Fatal("本机的 iconv 不能转换 GB18030 编码");
    }
    std::string error;
    const std::optional<RowCalculator> calculator = RowCalculator::ForHeader(m_mode, m_rules, record, error);
    if (!calculator) {
        return Fatal(error);
    }
    const std::size_t width = record.Size();
    const std::size_t computedWidth = calculator->Width();

    CsvWriter writer(m_output);
    writer.ByteOrderMark();
    for (std::size_t i = 0; i < width; ++i) {
        writer.Cell(record.Cell(i));
    }
    for (const std::string_view name : calculator->Headers()) {
        writer.Cell(name);
    }
    writer.Cell(kErrorHeader);
    writer.EndRow();

    RowFigures figures;
    while ((status = reader.Read(record)) == CsvReader::Status::Record) {
        if (IsEmptyLine(record)) {
            continue;
        }
        ++m_counts.Rows;
        std::size_t extra = 0;
        if (record.Blank()) {
            figures.Clear();
        } else {
            const TextDecoder::Result decoded = decoder.Decode(record);
            extra = ExtraCells(record, width);
            if (decoded == TextDecoder::Result::Unavailable) {
                return Fatal("本机的 iconv 不能转换 GB18030 编码");
            }
            if (decoded == TextDecoder::Result::Replaced) {
                figures.Clear();
                figures.Refuse("编码", "含有无法识别的字节（已替换为 \xEF\xBF\xBD）");
            } else if (extra > 0) {
                figures.Clear();
                figures.Refuse("列数", "比表头多 " + std::to_string(extra) + " 列");
            } else {
                calculator->Compute(record, figures);
            }
        }
        for (std::size_t i = 0; i < width; ++i) {
            writer.Cell(CellOrEmpty(record, i));
        }
        for (std::size_t i = 0; i < computedWidth; ++i) {
            writer.TrustedCell(figures.Cells[i]);
        }
        writer.Cell(figures.Error);
        for (std::size_t i = width; i < width + extra; ++i) {
            writer.Cell(record.Cell(i));
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
    if (status == CsvReader::Status::Failed) {
        return Fatal(reader.Error());
    }
    if (!writer.Flush()) {
        return Fatal(std::string("写入失败：") + std::strerror(writer.ErrorNumber()));
    }
    if (m_progress) {
        m_progress(reader.BytesRead(), m_counts.Rows);
    }
    if (m_counts.Refused == 0) {
        return kAllComputed;
    }
    if (m_counts.Refused > kMaxRowMessages) {
        Say("其余 " + std::to_string(m_counts.Refused - kMaxRowMessages) + " 行的原因从略");
    }
    Say(std::to_string(m_counts.Rows) + " 行中有 " + std::to_string(m_counts.Refused) +
        " 行未能计算，原因见输出的“错误”列");
    return kSomeRefused;
}

}  // namespace taxcalc
