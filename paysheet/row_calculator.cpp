// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/row_calculator.h"

#include <algorithm>
#include <array>
#include <utility>

#include "engine/number_text.h"
#include "paysheet/spreadsheet_amount.h"
#include "paysheet/spreadsheet_field.h"

namespace taxcalc {
namespace {

constexpr std::string_view kEmptyReason = "空白";
constexpr std::string_view kTooLargeReason = "数额过大，无法计算";
constexpr std::string_view kNegativeReason = "不能为负数";
constexpr std::string_view kNotAMonthReason = "不是月份（如 2026-03）";
constexpr std::string_view kNotADateReason = "不是日期（如 2026-04-15）";
constexpr std::string_view kNotYesNoReason = "应为“是”或“否”";
constexpr std::string_view kNotAYearReason = "不是年份";

std::string_view CellOrEmpty(const CsvRecord &record, std::size_t column) noexcept {
    return column < record.Size() ? record.Cell(column) : std::string_view{};
}

}  // namespace

RowCalculator::RowCalculator(const Computation &computation, ColumnMap columns)
    : m_computation(computation), m_mode(&computation.Mode()), m_columns(std::move(columns)) {
    const ModeDescription &mode = *m_mode;
    for (std::size_t i = 0; i < mode.Added.size(); ++i) {
        const AddedColumn &added = mode.Added[i];
        // A figure that the header gives already is not written again under its name.
        const bool given = std::any_of(mode.Inputs.begin(), mode.Inputs.end(), [&](const InputColumn &input) {
            return input.Chinese == added.Header &&
                   m_columns.Column(static_cast<std::size_t>(&input - mode.Inputs.data())) !=
                       ColumnMap::kMissing;
        });
        if (m_computation.Applies(added.When) && !given &&
            (!added.NeedsInput || m_columns.Column(*added.NeedsInput) != ColumnMap::kMissing)) {
            m_headers.push_back(added.Header);
            m_written.push_back(i);
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

bool RowCalculator::Compute(const CsvRecord &record, RowFigures &figures, const RowContext *context) const {
    return Compute(Texts(record), figures, context);
}

std::optional<RowInput> RowCalculator::Input(const CsvRecord &record) const {
    RowInput input;
    RowFigures reasons;
    if (!ReadFields(Texts(record), input, reasons)) {
        return std::nullopt;
    }
    return input;
}

RowRead RowCalculator::Read(const CsvRecord &record, RowInput &input) const {
    RowFigures reasons;
    return ReadFields(Texts(record), input, reasons) ? RowRead::Read : RowRead::Refused;
}

std::optional<std::size_t> RowCalculator::CellWith(ColumnRole role) const noexcept {
    for (std::size_t k = 0; k < m_written.size(); ++k) {
        if (m_mode->Added[m_written[k]].Role == role) {
            return k;
        }
    }
    return std::nullopt;
}

bool RowCalculator::ReadFields(std::span<const std::string_view> texts, RowInput &input,
                               RowFigures &figures) const {
    input.Rules = &m_computation.Period();
    const Cents allowance = m_computation.Period().Allowance;
    for (std::size_t i = 0; i < m_mode->Inputs.size(); ++i) {
        const InputColumn &column = m_mode->Inputs[i];
        if (!m_computation.Applies(column.When)) {
            continue;
        }
        const std::string_view text = i < texts.size() ? texts[i] : std::string_view{};
        const std::string_view trimmed =
            column.Kind == Field::Amount ? text : SpreadsheetField::Trimmed(text);
        if (column.Kind != Field::Amount && !trimmed.empty()) {
            std::optional<std::int32_t> number;
            std::string_view reason;
            switch (column.Kind) {
                case Field::Amount:
                    break;
                case Field::Text:
                    input.Texts[i] = trimmed;
                    continue;
                case Field::Month:
                    if (const std::optional<YearMonth> month = SpreadsheetField::ReadMonth(trimmed)) {
                        number = month->Year * 100 + month->Month;
                    }
                    reason = kNotAMonthReason;
                    break;
                case Field::Date:
                    if (const std::optional<CalendarDate> date = SpreadsheetField::ReadDate(trimmed)) {
                        number = date->Year * 10000 + date->Month * 100 + date->Day;
                    }
                    reason = kNotADateReason;
                    break;
                case Field::YesNo:
                    if (const std::optional<bool> yes = SpreadsheetField::ReadYesNo(trimmed)) {
                        number = *yes ? 1 : 0;
                    }
                    reason = kNotYesNoReason;
                    break;
                case Field::Year:
                    number = SpreadsheetField::ReadYear(trimmed);
                    reason = kNotAYearReason;
                    break;
            }
            if (!number) {
                figures.Refuse(m_columns.Name(i), reason);
            }
            input.Numbers[i] = number;
            continue;
        }
        // Most cells hold plain cents: read them so, where the mode computes in cents.
        if (column.Kind == Field::Amount && !m_computation.WindowMethods()) {
            if (const std::optional<Cents> cents = SpreadsheetAmount::PlainCents(text)) {
                input.InCents[i] = *cents;
                input.Amounts[i] = static_cast<Amount>(*cents) / static_cast<Amount>(kCentsPerYuan);
                if (*cents < 0) {
                    figures.Refuse(m_columns.Name(i), kNegativeReason);
                }
                continue;
            }
        }
        Amount amount = 0;
        // Figures come as a spreadsheet exports them; blanks alone are an empty cell.
        const SpreadsheetAmount::Verdict verdict = column.Kind == Field::Amount
                                                       ? SpreadsheetAmount::Read(text, amount)
                                                       : SpreadsheetAmount::Verdict::Empty;
        if (verdict == SpreadsheetAmount::Verdict::Number) {
            // In every mode an amount is first rounded to the cent, as the period rounds;
            // what is then below nought, or beyond what the engine computes exactly, is
            // refused. "-0.001" is nought.
            const std::optional<Cents> cents = ToCents(amount, m_computation.Period().Rounding);
            if (!cents) {
                figures.Refuse(m_columns.Name(i), kTooLargeReason);
            } else if (*cents < 0) {
                figures.Refuse(m_columns.Name(i), kNegativeReason);
            } else {
                input.Amounts[i] = amount < 0 ? 0.0 : amount;  // what rounds to nought from below
                if (!m_computation.WindowMethods()) {
                    input.InCents[i] = *cents;
                }
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
                if (column.Kind == Field::Amount) {
                    input.Amounts[i] = 0;
                    if (!m_computation.WindowMethods()) {
                        input.InCents[i] = 0;
                    }
                } else {
                    input.Numbers[i] = 0;
                }
                break;
            case ColumnDefault::Yes:
                input.Numbers[i] = 1;
                break;
            case ColumnDefault::Allowance:
                // A whole number of cents below 2^53 divides exactly into the nearest double.
                input.Amounts[i] = static_cast<Amount>(allowance) / static_cast<Amount>(kCentsPerYuan);
                if (!m_computation.WindowMethods()) {
                    input.InCents[i] = allowance;
                }
                break;
            case ColumnDefault::Optional:
                break;
        }
    }
    return figures.Error.empty();
}

// The amounts that the row gives, which together were too large: an empty cell played
// no part.
std::string RowCalculator::FilledAmounts(std::span<const std::string_view> texts) const {
    std::string names;
    for (std::size_t i = 0; i < m_mode->Inputs.size() && i < texts.size(); ++i) {
        if (m_computation.Applies(m_mode->Inputs[i].When) && m_mode->Inputs[i].Kind == Field::Amount &&
            !SpreadsheetField::Trimmed(texts[i]).empty()) {
            names += (names.empty() ? "" : "、") + m_columns.Name(i);
        }
    }
    return names;
}

bool RowCalculator::Compute(std::span<const std::string_view> texts, RowFigures &figures,
                            const RowContext *context) const {
    figures.Clear();
    RowInput input;
    input.Context = context;
    if (!ReadFields(texts, input, figures)) {
        return false;
    }
    switch (m_mode->Compute(input, figures)) {
        case RowOutcome::Computed:
            break;
        case RowOutcome::TooLarge:
            figures.Refuse(FilledAmounts(texts), kTooLargeReason);
            return false;
        case RowOutcome::Refused:
            return false;
    }
    // Each written column's cell from the result, in header order.
    for (std::size_t k = 0; k < m_written.size(); ++k) {
        m_mode->Added[m_written[k]].Write(figures.Result, figures.Cells[k]);
    }
    return true;
}

}  // namespace taxcalc
