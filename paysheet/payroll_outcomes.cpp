// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/payroll_outcomes.h"

#include <algorithm>
#include <utility>

#include "paysheet/reconciliation_mode.h"
#include "sheet/record_sink.h"

namespace taxcalc {

std::optional<Cents> MoneyCellCents(std::string_view cell) noexcept {
    const bool negative = !cell.empty() && cell.front() == '-';
    if (negative) {
        cell.remove_prefix(1);
    }
    // At least one digit, a point and exactly two digits after it.
    if (cell.size() < 4 || cell[cell.size() - 3] != '.') {
        return std::nullopt;
    }
    Cents cents = 0;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (i == cell.size() - 3) {
            continue;
        }
        const char c = cell[i];
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        if (__builtin_mul_overflow(cents, 10, &cents) || __builtin_add_overflow(cents, c - '0', &cents)) {
            return std::nullopt;
        }
    }
    return negative ? -cents : cents;
}

PayrollOutcomes::PayrollOutcomes(std::shared_ptr<const PayrollTable> table, RowEvaluator evaluator)
    : m_table(std::move(table)), m_evaluator(std::move(evaluator)) {}

std::optional<PayrollOutcomes> PayrollOutcomes::Prepare(std::shared_ptr<const PayrollTable> table,
                                                        const Computation &computation, std::string &error,
                                                        const Progress &progress,
                                                        const std::atomic<bool> *cancel) {
    std::optional<RowEvaluator> evaluator = RowEvaluator::ForHeader(computation, table->Header(), error);
    if (!evaluator) {
        return std::nullopt;
    }
    PayrollOutcomes outcomes(std::move(table), std::move(*evaluator));
    if (!outcomes.Link(progress, cancel)) {
        error = "已取消";
        return std::nullopt;
    }
    return outcomes;
}

bool PayrollOutcomes::Link(const Progress &progress, const std::atomic<bool> *cancel) {
    const RowLinks *links = Computing().Mode().Links;
    if (links == nullptr) {
        return true;
    }
    auto contexts = std::make_shared<std::vector<RowContext>>();
    CsvRecord record;
    std::uint64_t read = 0;
    const bool linked = links->Pass(
        m_table->Rows(), m_evaluator.Calculator().Columns(),
        [this](std::size_t row, std::size_t column) { return m_table->Cell(row, column); },
        [this, &record, &read, &progress](std::size_t row, RowInput &input) {
            // Every row is read once while the rows are linked.
            if (++read % kProgressEvery == 0 && progress) {
                progress(read);
            }
            m_table->Row(row, record);
            return m_evaluator.Read(record, m_table->Escaped(row), input);
        },
        *contexts, cancel);
    m_contexts = std::move(contexts);
    return linked;
}

PayrollOutcomes::Status PayrollOutcomes::Compute(std::shared_ptr<const PayrollTable> table,
                                                 const Computation &computation,
                                                 std::optional<PayrollOutcomes> &outcomes, std::string &error,
                                                 const Progress &progress, const std::atomic<bool> *cancel) {
    outcomes = Prepare(std::move(table), computation, error);
    if (!outcomes) {
        return Status::Failed;
    }
    const Status status = outcomes->ComputeRows(progress, cancel);
    if (status != Status::Done) {
        outcomes.reset();
    }
    return status;
}

PayrollOutcomes::Status PayrollOutcomes::ComputeRows(const Progress &progress,
                                                     const std::atomic<bool> *cancel) {
    const PayrollTable &rows = *m_table;
    const RowCalculator &calculator = m_evaluator.Calculator();
    // A month's withholding is the tax that a withholding mode adds up.
    const std::optional<std::size_t> taxCell = calculator.CellWith(ColumnRole::Tax)
                                                   ? calculator.CellWith(ColumnRole::Tax)
                                                   : calculator.CellWith(ColumnRole::Withheld);
    const std::optional<std::size_t> advisedTaxCell = calculator.CellWith(ColumnRole::AdvisedTax);
    const std::optional<std::size_t> savingCell = calculator.CellWith(ColumnRole::Saving);
    const std::optional<std::size_t> withheldCell = calculator.CellWith(ColumnRole::Withheld);
    const std::optional<std::size_t> settlementCell = calculator.CellWith(ColumnRole::Settlement);
    m_summary = PayrollSummary{};
    m_summary.Rows = rows.Rows();
    m_states.assign(rows.Rows(), 0);
    m_marked.clear();
    m_rowsComputed = false;

    CsvRecord record;
    RowFigures figures;
    const auto add = [this](Cents &sum, std::string_view cell, bool subtract) {
        const std::optional<Cents> cents = MoneyCellCents(cell);
        if (!cents || (subtract ? __builtin_sub_overflow(sum, *cents, &sum)
                                : __builtin_add_overflow(sum, *cents, &sum))) {
            m_summary.TooLarge = true;
        }
    };
    for (std::size_t row = 0; row < rows.Rows(); ++row) {
        const RowState state = Evaluate(row, record, figures);
        if (state == RowState::Refused) {
            ++m_summary.Refused;
        } else if (state != RowState::Blank) {
            if (taxCell) {
                add(m_summary.Tax, figures.Cells[*taxCell], false);
            }
            if (withheldCell && figures.Month >= m_summary.LatestMonth) {
                // A later month starts the total again.
                if (figures.Month > m_summary.LatestMonth) {
                    m_summary.LatestMonth = figures.Month;
                    m_summary.LatestWithheld = 0;
                }
                add(m_summary.LatestWithheld, figures.Cells[*withheldCell], false);
            }
            if (settlementCell) {
                const std::optional<Cents> settled = MoneyCellCents(figures.Cells[*settlementCell]);
                if (settled && *settled < 0) {
                    add(m_summary.Refunds, figures.Cells[*settlementCell], true);
                } else if (settled && !figures.Waived) {
                    add(m_summary.Payments, figures.Cells[*settlementCell], false);
                }
            }
            if (figures.Advised) {
                ++m_summary.Advised;
                if (savingCell) {
                    add(m_summary.Saving, figures.Cells[*savingCell], false);
                } else if (taxCell && advisedTaxCell) {
                    add(m_summary.Saving, figures.Cells[*taxCell], false);
                    add(m_summary.Saving, figures.Cells[*advisedTaxCell], true);
                }
            }
        }
        m_states[row] = static_cast<std::uint8_t>(state);
        if (state == RowState::Advised || state == RowState::Refused) {
            m_marked.push_back(static_cast<std::uint32_t>(row));
        }
        if ((row + 1) % kProgressEvery == 0) {
            if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
                return Status::Cancelled;
            }
            if (progress) {
                progress(row + 1);
            }
        }
    }
    if (progress) {
        progress(rows.Rows());
    }
    m_rowsComputed = true;
    return Status::Done;
}

RowState PayrollOutcomes::Evaluate(std::size_t row, CsvRecord &record, RowFigures &figures) const {
    m_table->Row(row, record);
    if (m_evaluator.Evaluate(record, m_table->Escaped(row), figures, Context(row))) {
        return RowState::Refused;
    }
    if (record.Blank()) {
        return RowState::Blank;
    }
    return figures.Advised ? RowState::Advised : RowState::Computed;
}

bool PayrollOutcomes::Advises() const noexcept {
    const RowCalculator &calculator = m_evaluator.Calculator();
    return calculator.CellWith(ColumnRole::AdvisedTax) || calculator.CellWith(ColumnRole::Saving);
}

std::optional<BonusCurve> PayrollOutcomes::Curve(std::size_t row, int samples, CurveRefusal &why) const {
    if (Computing().Kind() != BatchMode::Bonus) {
        why = CurveRefusal::NotBonus;
        return std::nullopt;
    }
    why = CurveRefusal::NoFigures;
    RowFigures figures;
    CsvRecord record;
    const RowState state = Evaluate(row, record, figures);
    if (state == RowState::Refused || state == RowState::Blank) {
        return std::nullopt;
    }
    const std::optional<RowInput> input = m_evaluator.Calculator().Input(record);
    if (!input || !input->Amounts[0]) {
        return std::nullopt;
    }
    // The window's own methods are the 2011 period's rules in cents.
    const PeriodRules &period = Computing().Period();
    const std::optional<Cents> bonus = ToCents(*input->Amounts[0], period.Rounding);
    const std::optional<Cents> wage =
        input->Amounts[1] ? ToCents(*input->Amounts[1], period.Rounding) : period.Allowance;
    // Half the range that cents hold leaves room for the curve beyond the bonus.
    if (!bonus || !wage || *bonus > kMaxCents / 2) {
        why = CurveRefusal::TooLarge;
        return std::nullopt;
    }
    return BonusCurve::Around(period, *bonus, *wage, samples);
}

std::optional<PayrollOutcomes::EmployeeYear> PayrollOutcomes::Year(std::size_t row) const {
    if (!m_contexts) {
        return std::nullopt;
    }
    // A row without an employee (its key or its year refused, or no month) has no year.
    const std::uint32_t group = (*m_contexts)[row].Group;
    if (group == 0) {
        return std::nullopt;
    }
    const auto &inputs = Computing().Mode().Inputs;
    const std::size_t monthInput =
        static_cast<std::size_t>(std::find_if(inputs.begin(), inputs.end(),
                                              [](const InputColumn &c) { return c.Kind == Field::Month; }) -
                                 inputs.begin());
    EmployeeYear result;
    RowFigures figures;
    CsvRecord record;
    RowInput input;
    for (std::size_t other = 0; other < m_contexts->size(); ++other) {
        if ((*m_contexts)[other].Group != group) {
            continue;
        }
        Figures(other, record, figures);
        // A month refused on its own still says which month it is.
        input = RowInput{};
        m_evaluator.Read(record, m_table->Escaped(other), input);
        const int month = input.Numbers[monthInput].value_or(0) % 100;
        const WithheldMonth *withheld = std::get_if<WithheldMonth>(&figures.Result);
        if (withheld == nullptr && figures.Error.empty()) {
            // Only a mode that withholds month by month has a year of months.
            return std::nullopt;
        }
        result.Months.push_back({month, other, withheld != nullptr, withheld ? withheld->Withholding : 0,
                                 withheld ? withheld->Taxable : 0});
    }
    std::stable_sort(result.Months.begin(), result.Months.end(),
                     [](const YearMonth &a, const YearMonth &b) { return a.Month < b.Month; });
    const std::span<const CentsBracket> brackets = YearlyBrackets();
    for (std::size_t i = 0; i + 1 < brackets.size(); ++i) {
        result.Bounds.push_back(brackets[i].UpperBound);
    }
    return result;
}

std::optional<PayrollOutcomes::Settled> PayrollOutcomes::Settlement(std::size_t row) const {
    if (!Settles()) {
        return std::nullopt;
    }
    RowFigures figures;
    CsvRecord record;
    if (Figures(row, record, figures) != RowState::Computed) {
        return std::nullopt;
    }
    const ReconciliationFigures *year = std::get_if<ReconciliationFigures>(&figures.Result);
    if (year == nullptr) {
        return std::nullopt;
    }
    Settled settled{};
    settled.SeparateTax = year->Year.SeparateTax;
    settled.CombinedTax = year->Year.CombinedTax;
    // A year without a bonus has no method to join it by.
    settled.Joined = year->Bonus > 0 && year->Year.Method == BonusMethod::Combined;
    settled.SeparateAllowed = year->Year.SeparateAllowed;
    settled.Tax = year->Year.Tax;
    settled.Balance = year->Year.Balance;
    settled.Paid = year->Paid;
    settled.Result = SettlementName(year->Year.Result);
    return settled;
}

RowState PayrollOutcomes::Figures(std::size_t row, RowFigures &figures) const {
    CsvRecord record;
    return Evaluate(row, record, figures);
}

bool PayrollOutcomes::Write(RecordSink &sink, std::string &error, const Progress &progress,
                            const std::atomic<bool> *cancel) const {
    m_evaluator.WriteHeader(sink, m_table->LeadingBlank());
    CsvRecord record;
    RowFigures figures;
    for (std::size_t row = 0; row < m_table->Rows(); ++row) {
        m_table->Row(row, record);
        m_evaluator.Evaluate(record, m_table->Escaped(row), figures, Context(row));
        m_evaluator.WriteRow(sink, record, figures);
        if ((row + 1) % kProgressEvery == 0) {
            if (sink.Failed()) {
                break;
            }
            if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
                error = "已取消";
                return false;
            }
            if (progress) {
                progress(row + 1);
            }
        }
    }
    return sink.Finish(error);
}

}  // namespace taxcalc
