// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/row_calculator.h"

#include <array>
#include <utility>

#include "paysheet/spreadsheet_amount.h"
#include "engine/number_text.h"

namespace taxcalc {
namespace {

constexpr std::string_view kEmptyReason = "空白";
constexpr std::string_view kTooLargeReason = "数额过大，无法计算";
constexpr std::string_view kNegativeReason = "不能为负数";

std::string_view CellOrEmpty(const CsvRecord &record, std::size_t column) noexcept {
    return column < record.Size() ? record.Cell(column) : std::string_view{};
}

}  // namespace

RowCalculator::RowCalculator(const Computation &computation, ColumnMap columns)
    : m_computation(computation), m_mode(&computation.Mode()), m_columns(std::move(columns)) {
    const ModeDescription &mode = *m_mode;
    for (std::size_t i = 0; i < mode.Added.size(); ++i) {
        const AddedColumn &added = mode.Added[i];
        if (m_computation.Applies(added.When) &&
            (!added.NeedsInput || m_columns.Column(*added.NeedsInput) != ColumnMap::kMissing)) {
            m_headers.push_back(added.Header);
            m_written.push_back(i);
        }
    }
    for (std::size_t i = 0; i < mode.Inputs.size(); ++i) {
        const bool given =
            mode.Inputs[i].Default != ColumnDefault::Optional || m_columns.Column(i) != ColumnMap::kMissing;
        if (m_computation.Applies(mode.Inputs[i].When) && given) {
            m_allNames += (m_allNames.empty() ? "" : "、") + m_columns.Name(i);
        }
    }
}

std::optional<RowCalculator> RowCalculator::ForHeader(const Computation &computation, const CsvRecord &header,
                                                      std::string &error) {
    std::optional<ColumnMap> columns = ColumnMap::Find(computation, header, error);
    if (!columns) {
        return std::nullopt;
    }
    return RowCalculator(computation, std::move(*columns));
}

std::array<std::string_view, RowInput::kMaxInputs> RowCalculator::Texts(const CsvRecord &record) const {
    std::array<std::string_view, RowInput::kMaxInputs> texts{};
    for (std::size_t i = 0; i < m_mode->Inputs.size(); ++i) {
        texts[i] = CellOrEmpty(record, m_columns.Column(i));
    }
    return texts;
}

bool RowCalculator::Compute(const CsvRecord &record, RowFigures &figures) const {
    return Compute(Texts(record), figures);
}

std::optional<RowInput> RowCalculator::Input(const CsvRecord &record) const {
    RowInput input;
    RowFigures reasons;
    if (!ReadAmounts(Texts(record), input, reasons)) {
        return std::nullopt;
    }
    return input;
}

std::optional<std::size_t> RowCalculator::SummedCell(Sum sum) const noexcept {
    for (std::size_t k = 0; k < m_written.size(); ++k) {
        if (m_mode->Added[m_written[k]].Sums == sum) {
            return k;
        }
    }
    return std::nullopt;
}

bool RowCalculator::ReadAmounts(std::span<const std::string_view> texts, RowInput &input,
                                RowFigures &figures) const {
    input.Rules = &m_computation.Period();
    const Cents allowance = m_computation.Period().Allowance;
    for (std::size_t i = 0; i < m_mode->Inputs.size(); ++i) {
        const InputColumn &column = m_mode->Inputs[i];
        if (!m_computation.Applies(column.When)) {
            continue;
        }
        const std::string_view text = i < texts.size() ? texts[i] : std::string_view{};
        // Figures come as a spreadsheet exports them; blanks alone are an empty cell.
        Amount amount = 0;
        const SpreadsheetAmount::Verdict verdict = SpreadsheetAmount::Read(text, amount);
        if (verdict == SpreadsheetAmount::Verdict::Number) {
            input.Amounts[i] = amount;
            if (m_mode->NonNegative && amount < 0) {
                figures.Refuse(m_columns.Name(i), kNegativeReason);
            }
            continue;
        }
        if (verdict != SpreadsheetAmount::Verdict::Empty) {
            figures.Refuse(m_columns.Name(i), SpreadsheetAmount::Reason(verdict));
            continue;
        }
        switch (column.Default) {
            case ColumnDefault::Required:
                figures.Refuse(m_columns.Name(i), kEmptyReason);
                break;
            case ColumnDefault::Zero:
                input.Amounts[i] = 0;
                break;
            case ColumnDefault::Allowance:
                // A whole number of cents below 2^53 divides exactly into the nearest double.
                input.Amounts[i] = static_cast<Amount>(allowance) / static_cast<Amount>(kCentsPerYuan);
                break;
            case ColumnDefault::Optional:
                break;
        }
    }
    return figures.Error.empty();
}

bool RowCalculator::Compute(std::span<const std::string_view> texts, RowFigures &figures) const {
    figures.Clear();
    RowInput input;
    if (!ReadAmounts(texts, input, figures)) {
        return false;
    }
    RowOutcome outcome = RowOutcome::Computed;
    if (!m_computation.WindowMethods()) {
        // Under a period every figure is rounded to the cent before anything else.
        for (std::size_t i = 0; i < m_mode->Inputs.size() && outcome == RowOutcome::Computed; ++i) {
            if (input.Amounts[i]) {
                input.InCents[i] = ToCents(*input.Amounts[i]);
                outcome = input.InCents[i] ? RowOutcome::Computed : RowOutcome::TooLarge;
            }
        }
    }
    if (outcome == RowOutcome::Computed) {
        outcome = m_mode->Compute(input, figures);
    }
    switch (outcome) {
        case RowOutcome::Computed:
            break;
        case RowOutcome::TooLarge:
            figures.Refuse(m_allNames, kTooLargeReason);
            return false;
        case RowOutcome::Refused:
            return false;
    }
    // The written columns first, in header order; the ones not written are dropped.
    for (std::size_t k = 0; k < m_written.size(); ++k) {
        if (m_written[k] != k) {
            figures.Cells[k] = std::move(figures.Cells[m_written[k]]);
        }
    }
    for (std::size_t k = m_written.size(); k < figures.Cells.size(); ++k) {
        figures.Cells[k].clear();
    }
    return true;
}

}  // namespace taxcalc
