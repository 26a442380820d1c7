// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/row_evaluator.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <utility>

#include "sheet/record_sink.h"

namespace taxcalc {
namespace {

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

RowEvaluator::RowEvaluator(RowCalculator calculator, const CsvRecord &header)
    : m_calculator(std::move(calculator)), m_header(header), m_replaced(header.Size()) {
    const std::span<const std::string_view> computed = m_calculator.Headers();
    std::string names;
    for (std::size_t i = 0; i < header.Size(); ++i) {
        const std::string_view name = TrimBlanks(header.Cell(i));
        // A column the mode reads is the user's, even where a former run wrote one of that name.
        m_replaced[i] =
            name == kErrorHeader || (std::find(computed.begin(), computed.end(), name) != computed.end() &&
                                     !m_calculator.Columns().Maps(i));
        if (m_replaced[i]) {
            names += std::string(names.empty() ? "" : "、") + std::string(name);
        }
    }
    if (!names.empty()) {
        m_replacedNote = "输入已有上次计算的列（" + names + "），已换成这次的结果";
    }
    // Where the columns that a run writes stand together, they are a former run's.
    const auto standsAt = [&](std::size_t at) {
        if (at + computed.size() + 1 > header.Size()) {
            return false;
        }
        for (std::size_t i = 0; i < computed.size(); ++i) {
            if (TrimBlanks(header.Cell(at + i)) != computed[i]) {
                return false;
            }
        }
        return TrimBlanks(header.Cell(at + computed.size())) == kErrorHeader;
    };
    std::size_t block = 0;
    while (block < header.Size() && !standsAt(block)) {
        ++block;
    }
    for (std::size_t i = 0; i < header.Size(); ++i) {
        if (m_replaced[i] && (block == header.Size() || i < block || i > block + computed.size())) {
            m_usersColumns += std::string(m_usersColumns.empty() ? "“" : "、“") +
                              std::string(TrimBlanks(header.Cell(i))) + "”";
        }
    }
}

std::optional<RowEvaluator> RowEvaluator::ForHeader(const Computation &computation, const CsvRecord &header,
                                                    std::string &error) {
    std::optional<RowCalculator> calculator = RowCalculator::ForHeader(computation, header, error);
    if (!calculator) {
        return std::nullopt;
    }
    return RowEvaluator(std::move(*calculator), header);
}

RowRead RowEvaluator::Read(const CsvRecord &row, std::string_view escaped, RowInput &input) const {
    if (row.Blank()) {
        return RowRead::Blank;
    }
    const RowRead read = m_calculator.Read(row, input);
    return escaped.empty() && ExtraCells(row, m_header.Size()) == 0 ? read : RowRead::Refused;
}

bool RowEvaluator::Evaluate(const CsvRecord &row, std::string_view escaped, RowFigures &figures,
                            const RowContext *context) const {
    figures.Clear();
    if (row.Blank()) {
        return false;
    }
    if (!escaped.empty()) {
        figures.Refuse("编码", escaped);
    } else if (const std::size_t extra = ExtraCells(row, m_header.Size()); extra > 0) {
        figures.Refuse("列数", "比表头多 " + std::to_string(extra) + " 列");
    } else {
        m_calculator.Compute(row, figures, context);
    }
    return !figures.Error.empty();
}

void RowEvaluator::WriteHeader(RecordSink &sink, std::uint64_t leadingBlank) const {
    for (std::uint64_t i = 0; i < leadingBlank; ++i) {
        sink.EndRow();
    }
    for (std::size_t i = 0; i < m_header.Size(); ++i) {
        if (!m_replaced[i]) {
            sink.Cell(m_header.Cell(i), m_header.Kind(i));
        }
    }
    for (const std::string_view name : m_calculator.Headers()) {
        sink.Cell(name, CellKind::Text);
    }
    sink.Cell(kErrorHeader, CellKind::Text);
    sink.EndRow();
}

void RowEvaluator::WriteRow(RecordSink &sink, const CsvRecord &row, const RowFigures &figures) const {
    const std::size_t width = m_header.Size();
    const std::size_t extra = ExtraCells(row, width);
    for (std::size_t i = 0; i < width; ++i) {
        if (!m_replaced[i]) {
            sink.Cell(CellOrEmpty(row, i), row.Kind(i));
        }
    }
    for (std::size_t i = 0; i < m_calculator.Width(); ++i) {
        sink.Cell(figures.Cells[i], FigureKind(figures.Cells[i]));
    }
    sink.Cell(figures.Error, CellKind::Text);
    for (std::size_t i = width; i < width + extra; ++i) {
        sink.Cell(row.Cell(i), row.Kind(i));
    }
    sink.EndRow();
}

}  // namespace taxcalc
