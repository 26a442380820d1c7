// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/batch_processor.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "batch/csv_reader.h"
#include "batch/csv_record.h"
#include "batch/csv_writer.h"
#include "batch/encoding_judge.h"
#include "batch/row_calculator.h"
#include "batch/text_decoder.h"

namespace taxcalc {
namespace {

constexpr std::string_view kProgram = "taxcalc-batch: ";
constexpr std::string_view kErrorHeader = "错误";
constexpr std::uint64_t kProgressEvery = 4096;

std::string Unsettled(std::uint64_t line) {
    return "无法确定输入的编码：从第 " + std::to_string(line) +
           " 行起的文字读作 UTF-8 或 GB18030 都说得通；请用 --encoding utf-8 或 --encoding gb18030 指定";
}

std::string EscapedReason(const TextDecoder &decoder) {
    std::string columns;
    for (const std::size_t column : decoder.EscapedCells()) {
        columns += std::string(columns.empty() ? "" : "、") + std::to_string(column + 1);
    }
    return "第 " + columns + " 列有无法按 " + std::string(EncodingName(decoder.Encoding())) +
           " 读出的字节，已写作 \\xHH";
}

// Where the header shows no column because the file uses another separator.
std::string SeparatorHint(const CsvRecord &header) {
    if (header.Size() != 1) {
        return {};
    }
    for (const char separator : {';', '	', '|'}) {
        if (header.Cell(0).find(separator) != std::string_view::npos) {
            return std::string("；表头只有一列，其中有“") +
                   (separator == '	' ? "制表符" : std::string(1, separator)) +
                   "”：若它是分隔符，请用 --delimiter 指定";
        }
    }
    return {};
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

// Reads the whole input, or its first kEncodingSample bytes where it cannot be read
// twice, and judges its encoding. False, with the reason in `how`, when it stays
// open; `settled` is Undecided too when everything looked at was ASCII or began
// with a byte order mark.
bool BatchProcessor::SettleEncoding(CsvReader &reader, TextEncoding &settled, std::string &how) {
    settled = m_form.Encoding;
    if (settled != TextEncoding::Undecided) {
        how = "由 --encoding 指定";
        return true;
    }
    struct stat status {};
    const int descriptor = fileno(m_input);
    const off_t start = descriptor >= 0 ? ftello(m_input) : -1;
    const bool rereadable = start >= 0 && fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
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
        if (first && (bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") ||
                      bytes.starts_with("\xFE\xFF"))) {
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
        how = std::string("读取失败：") + std::strerror(errno);
        return false;
    }
    if (rereadable) {
        if (fseeko(m_input, start, SEEK_SET) != 0) {
            how = std::string("无法回到输入的开头：") + std::strerror(errno);
            return false;
        }
    } else {
        reader.Prepend(std::move(sample));
    }
    if (marked) {
        return true;
    }
    if (whole) {
        judge.Finish();
    }
    settled = judge.Verdict();
    how = rereadable ? "按全文判断" : whole ? "按全部输入判断" : "按输入的前 4 MiB 判断";
    if (settled == TextEncoding::Undecided && judge.SawNonAscii()) {
        how = Unsettled(judge.FirstLine());
        return false;
    }
    return true;
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
    CsvReader reader(m_input, CsvReader::kDefaultRecordLimit, m_form.Separator);
    TextDecoder decoder;
    CsvRecord record;

    TextEncoding encoding = TextEncoding::Undecided;
    std::string how;
    if (!SettleEncoding(reader, encoding, how)) {
        return Fatal(how);
    }
    decoder.Settle(encoding);

    CsvReader::Status status;
    while ((status = reader.Read(record)) == CsvReader::Status::Record && record.Blank()) {
        ++m_counts.LeadingBlank;
    }
    if (status == CsvReader::Status::Failed) {
        return Fatal(reader.Error());
    }
    if (status == CsvReader::Status::End) {
        return Fatal("输入是空的，没有表头");
    }
    if (reader.ByteOrderMark() != CsvReader::Mark::None) {
        decoder.Settle(TextEncoding::Utf8);
    }
    switch (decoder.Decode(record)) {
        case TextDecoder::Result::Clean:
            break;
        case TextDecoder::Result::Escaped:
            return Fatal("表头含有无法识别的字节：文件既不是 UTF-8 也不是 GB18030 编码");
        case TextDecoder::Result::Unsettled:
            return Fatal(Unsettled(record.Line));
        case TextDecoder::Result::Unavailable:
            return Fatal("本机的 iconv 不能转换 GB18030 编码");
    }
    SayInputForm(reader, encoding, how);
    std::string error;
    const std::optional<RowCalculator> calculator = RowCalculator::ForHeader(m_mode, m_rules, record, error);
    if (!calculator) {
        return Fatal(error + SeparatorHint(record));
    }
    const std::size_t width = record.Size();
    const std::size_t computedWidth = calculator->Width();
    const std::vector<bool> replaced = FormerResults(record, calculator->Headers());

    CsvWriter writer(m_output);
    writer.ByteOrderMark();
    for (std::uint64_t i = 0; i < m_counts.LeadingBlank; ++i) {
        writer.EndRow();
    }
    for (std::size_t i = 0; i < width; ++i) {
        if (!replaced[i]) {
            writer.Cell(record.Cell(i));
        }
    }
    for (const std::string_view name : calculator->Headers()) {
        writer.Cell(name);
    }
    writer.Cell(kErrorHeader);
    writer.EndRow();

    RowFigures figures;
    while ((status = reader.Read(record)) == CsvReader::Status::Record) {
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
                return Fatal(Unsettled(record.Line));
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
                writer.Cell(CellOrEmpty(record, i));
            }
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
    Summarise();
    return m_counts.Refused == 0 ? kAllComputed : kSomeRefused;
}

void BatchProcessor::SayInputForm(const CsvReader &reader, TextEncoding encoding, const std::string &how) {
    std::string form;
    switch (reader.ByteOrderMark()) {
        case CsvReader::Mark::Utf8:
            form = "编码 UTF-8（带 BOM）";
            break;
        case CsvReader::Mark::Utf16Le:
        case CsvReader::Mark::Utf16Be:
            form = reader.ByteOrderMark() == CsvReader::Mark::Utf16Le ? "编码 UTF-16LE（带 BOM）"
                                                                      : "编码 UTF-16BE（带 BOM）";
            break;
        case CsvReader::Mark::None:
            if (encoding != TextEncoding::Undecided) {
                form = "编码 " + std::string(EncodingName(encoding)) + "（" + how + "）";
            }
            break;
    }
    if (reader.Separator() != ',') {
        form += std::string(form.empty() ? "" : "；") + "分隔符 " +
                (reader.Separator() == ';' ? "分号“;”" : "制表符");
    }
    if (!form.empty()) {
        Say(form);
    }
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
