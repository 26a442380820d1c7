// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/batch_processor.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "paysheet/payroll_outcomes.h"
#include "paysheet/payroll_table.h"
#include "paysheet/row_evaluator.h"
#include "sheet/csv_record.h"
#include "sheet/csv_sink.h"
#include "sheet/record_sink.h"
#include "sheet/record_source.h"
#include "sheet/sheet_files.h"
#include "sheet/sheet_reader.h"

namespace taxcalc {
namespace {

constexpr std::string_view kProgram = "taxcalc-batch: ";
constexpr std::uint64_t kProgressEvery = 4096;
constexpr std::string_view kEncodingAdvice = "；请用 --encoding utf-8 或 --encoding gb18030 指定";

}  // namespace

BatchProcessor::BatchProcessor(const Computation &computation, std::FILE *input, std::FILE *output,
                               std::FILE *diagnostics)
    : m_computation(computation), m_input(input), m_output(output), m_diagnostics(diagnostics) {}

BatchProcessor::BatchProcessor(const Computation &computation, RecordSource &source, RecordSink &sink,
                               std::FILE *diagnostics)
    : m_computation(computation), m_source(&source), m_sink(&sink), m_diagnostics(diagnostics) {}

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

void BatchProcessor::Remember(const std::string &note) {
    if (!note.empty() && std::find(m_notes.begin(), m_notes.end(), note) == m_notes.end()) {
        m_notes.push_back(note);
    }
}

// Blank rows are counted apart: nothing was computed for them, and nothing refused.
void BatchProcessor::Summarise() {
    for (const std::string &note : m_notes) {
        Say(note);
    }
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
    m_notes.clear();
    std::unique_ptr<RecordSource> ownSource;
    std::unique_ptr<RecordSink> ownSink;
    std::string error;
    if (m_source == nullptr) {
        InputForm form = m_form;
        form.NamedBy = kEncodingNamedBy;
        ownSource = OpenRecordSource(m_input, error, form);
        if (!ownSource) {
            return Fatal(error);
        }
    }
    SheetReader reader(m_source != nullptr ? *m_source : *ownSource,
                       [this](std::string_view note) { Say(note); });
    CsvRecord record;
    if (reader.ReadHeader(record, error) == SheetReader::Status::Failed) {
        return Fatal(reader.EncodingUnsettled() ? error.append(kEncodingAdvice) : error);
    }
    m_counts.LeadingBlank = reader.LeadingBlank();
    const std::optional<RowEvaluator> evaluator = RowEvaluator::ForHeader(m_computation, record, error);
    if (!evaluator) {
        if (const std::optional<char> separator = reader.SuspectedSeparator(record)) {
            error += std::string("；表头只有一列，其中有“") +
                     (*separator == '\t' ? "制表符" : std::string(1, *separator)) +
                     "”：若它是分隔符，请用 --delimiter 指定";
        }
        return Fatal(error);
    }
    if (!evaluator->ReplacedNote().empty()) {
        Say(evaluator->ReplacedNote());
    }
    m_usersColumns = evaluator->UsersColumns();

    if (m_sink == nullptr) {
        ownSink = std::make_unique<CsvSink>(m_output);
    }
    RecordSink &writer = m_sink != nullptr ? *m_sink : *ownSink;
    evaluator->WriteHeader(writer, m_counts.LeadingBlank);

    if (m_computation.Mode().Links != nullptr) {
        return RunWhole(reader, record, *evaluator, writer);
    }

    RowFigures figures;
    std::string escaped;
    SheetReader::Status status;
    while ((status = reader.ReadRow(record, escaped, error)) == SheetReader::Status::Record) {
        ++m_counts.Rows;
        m_counts.Blank += record.Blank() ? 1 : 0;
        m_counts.Escaped += escaped.empty() ? 0 : 1;
        evaluator->Evaluate(record, escaped, figures);
        evaluator->WriteRow(writer, record, figures);
        Remember(figures.Note);
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
    if (status == SheetReader::Status::Failed) {
        return Fatal(reader.EncodingUnsettled() ? error.append(kEncodingAdvice) : error);
    }
    return Finish(reader, writer);
}

int BatchProcessor::Finish(const SheetReader &reader, RecordSink &writer) {
    std::string error;
    if (!writer.Finish(error)) {
        return Fatal(error);
    }
    if (m_progress) {
        m_progress(reader.BytesRead(), m_counts.Rows);
    }
    Summarise();
    return m_counts.Refused == 0 ? kAllComputed : kSomeRefused;
}

int BatchProcessor::RunWhole(SheetReader &reader, const CsvRecord &header, const RowEvaluator &evaluator,
                             RecordSink &writer) {
    auto table = std::make_shared<PayrollTable>();
    std::string error;
    const PayrollTable::Status read =
        table->ReadRows(reader, header, error, [this](std::uint64_t bytes, std::uint64_t rows) {
            if (m_progress) {
                m_progress(bytes, rows);
            }
        });
    if (read != PayrollTable::Status::Done) {
        return Fatal(reader.EncodingUnsettled() ? error.append(kEncodingAdvice) : error);
    }
    const std::optional<PayrollOutcomes> outcomes = PayrollOutcomes::Prepare(table, m_computation, error);
    if (!outcomes) {
        return Fatal(error);
    }
    CsvRecord record;
    RowFigures figures;
    for (std::size_t row = 0; row < table->Rows(); ++row) {
        const RowState state = outcomes->Figures(row, record, figures);
        ++m_counts.Rows;
        m_counts.Blank += state == RowState::Blank ? 1 : 0;
        m_counts.Escaped += table->Escaped(row).empty() ? 0 : 1;
        evaluator.WriteRow(writer, record, figures);
        Remember(figures.Note);
        if (state == RowState::Refused) {
            ++m_counts.Refused;
            ReportRow(record.Line, figures.Error);
        }
        if (m_counts.Rows % kProgressEvery == 0 && writer.Failed()) {
            break;
        }
    }
    return Finish(reader, writer);
}

}  // namespace taxcalc
