// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/period_rules.h"
#include "paysheet/bonus_curve.h"
#include "paysheet/computation.h"
#include "paysheet/mode_description.h"
#include "paysheet/payroll_table.h"
#include "paysheet/row_evaluator.h"

namespace taxcalc {

class RecordSink;

enum class RowState : std::uint8_t {
    Blank,     // no cell holds anything: nothing computed, nothing refused
    Computed,  // figures without advice
    Advised,   // figures with an advice: the row sits in a blind zone
    Refused,   // no figures; the reason is in the error cell
};

// A payroll's totals, in whole cents, added up from the cells as they are written,
// so that they equal the sums a spreadsheet gives of the saved columns.
struct PayrollSummary {
    std::uint64_t Rows = 0;
    std::uint64_t Refused = 0;
    std::uint64_t Advised = 0;
    Cents Tax = 0;
    // What the tax would come down by if every advice were followed: the tax less the
    // advised tax of every advised row, or the savings a mode writes itself.
    Cents Saving = 0;
    // The months a mode withholds for: the latest month in the file (year x 100 +
    // month; 0 where the mode has none) and what its rows withhold in all.
    std::int32_t LatestMonth = 0;
    Cents LatestWithheld = 0;
    // What a reconciliation leaves to pay (waived payments apart) and to refund.
    Cents Payments = 0;
    Cents Refunds = 0;
    // A figure beyond what whole cents in 64 bits hold: the sums are unknown.
    bool TooLarge = false;
};

// Every row of a payroll table computed under one mode: what becomes of each row,
// and the totals. Only a byte a row is kept; the cells themselves are computed
// again, by the same routine, when they are shown or saved.
class PayrollOutcomes {
public:
    enum class Status { Done, Cancelled, Failed };
    using Progress = std::function<void(std::uint64_t rowsDone)>;

    static constexpr std::uint64_t kProgressEvery = 16384;

    // Computes every row as taxcalc-batch computes them. Fails, saying why in `error`,
    // where the tool would: the header lacks the mode's columns. `progress` and
    // `cancel` work as for PayrollTable::Read.
    static Status Compute(std::shared_ptr<const PayrollTable> table, const Computation &computation,
                          std::optional<PayrollOutcomes> &outcomes, std::string &error,
                          const Progress &progress = {}, const std::atomic<bool> *cancel = nullptr);

    // The outcomes before any row is computed: Figures() and Write() work at once,
    // so that a window can show its first screen while ComputeRows() runs on a copy.
    // A mode whose rows depend on each other reads every row first, reporting how far
    // it has come to `progress`; a set `cancel` stops it, and nothing is returned.
    static std::optional<PayrollOutcomes> Prepare(std::shared_ptr<const PayrollTable> table,
                                                  const Computation &computation, std::string &error,
                                                  const Progress &progress = {},
                                                  const std::atomic<bool> *cancel = nullptr);
    Status ComputeRows(const Progress &progress = {}, const std::atomic<bool> *cancel = nullptr);
    // Whether State(), MarkedRows() and Summary() hold every row's outcome.
    bool RowsComputed() const noexcept { return m_rowsComputed; }

    const PayrollTable &Table() const noexcept { return *m_table; }
    const std::shared_ptr<const PayrollTable> &SharedTable() const noexcept { return m_table; }
    const Computation &Computing() const noexcept { return m_evaluator.Computing(); }
    // The names of the columns the mode adds to this table, without the error column.
    std::span<const std::string_view> AddedHeaders() const noexcept {
        return m_evaluator.Calculator().Headers();
    }
    // Whether the mode gives advice that lowers a row's tax, which the summary counts.
    bool Advises() const noexcept;
    // Whether the mode settles a year: its rows are payments and refunds.
    bool Settles() const noexcept {
        return m_evaluator.Calculator().CellWith(ColumnRole::Settlement).has_value();
    }
    // Which added cell plays `role`, and what the added cell `k` is, for a window that
    // looks for the mode's tax or advice.
    std::optional<std::size_t> AddedCell(ColumnRole role) const noexcept {
        return m_evaluator.Calculator().CellWith(role);
    }
    ColumnRole AddedRole(std::size_t k) const noexcept { return m_evaluator.Calculator().RoleOf(k); }
    const PayrollSummary &Summary() const noexcept { return m_summary; }

    RowState State(std::size_t row) const noexcept { return static_cast<RowState>(m_states[row]); }
    // The rows in a blind zone or refused, in order.
    const std::vector<std::uint32_t> &MarkedRows() const noexcept { return m_marked; }

    // The row's added cells and error, as the file gets them.
    // Returns what the row is, as State() gives it once every row is computed.
    RowState Figures(std::size_t row, RowFigures &figures) const;
    // The same, with the row's cells as read into `record`.
    RowState Figures(std::size_t row, CsvRecord &record, RowFigures &figures) const {
        return Evaluate(row, record, figures);
    }

    // The curve of what the row's bonus would leave after tax around it, with the
    // period's blind zones: nothing but for a computed row of the bonus mode whose
    // amounts the curve can hold, and then `why` says which of these it is.
    enum class CurveRefusal { NotBonus, NoFigures, TooLarge };
    std::optional<BonusCurve> Curve(std::size_t row, int samples, CurveRefusal &why) const;

    // The year of the employee whose month the row is, for a withholding mode: each
    // month's withholding and cumulative taxable income, in month order, and the year
    // table's bounds that the income is held against.
    struct YearMonth {
        int Month;        // 1 to 12
        std::size_t Row;  // where the month stands in the table
        bool Computed;    // false for a refused month, whose figures are 0
        Cents Withheld;   // 本期应预扣预缴税额
        Cents Taxable;    // 累计应纳税所得额
    };
    struct EmployeeYear {
        std::vector<YearMonth> Months;
        std::vector<Cents> Bounds;  // the year table's upper bounds, lowest first
    };
    std::optional<EmployeeYear> Year(std::size_t row) const;

    // A reconciliation row's choice of method and its result, for a settling mode.
    struct Settled {
        Cents SeparateTax;
        Cents CombinedTax;
        bool Joined;  // the bonus joined to the year's income
        Cents Tax;
        Cents Paid;
        Cents Balance;  // to pay when positive, to refund when negative
        std::string Result;
        // Whether the year's rules let the bonus be taxed on its own; SeparateTax is
        // 0 and means nothing where they do not.
        bool SeparateAllowed = true;
    };
    std::optional<Settled> Settlement(std::size_t row) const;

    // The whole table as taxcalc-batch writes it for the same file and mode, to a
    // CSV or .xlsx sink, which it finishes. False, saying why in `error`, when a write
    // failed or `cancel` was set; the output must then be discarded.
    bool Write(RecordSink &sink, std::string &error, const Progress &progress = {},
               const std::atomic<bool> *cancel = nullptr) const;

private:
    // Evaluates the table's row into `figures` and says what it is.
    RowState Evaluate(std::size_t row, CsvRecord &record, RowFigures &figures) const;

    PayrollOutcomes(std::shared_ptr<const PayrollTable> table, RowEvaluator evaluator);
    // For a mode whose rows depend on each other, every row's context.
    bool Link(const Progress &progress, const std::atomic<bool> *cancel);
    const RowContext *Context(std::size_t row) const noexcept {
        return m_contexts ? &(*m_contexts)[row] : nullptr;
    }

    std::shared_ptr<const PayrollTable> m_table;
    RowEvaluator m_evaluator;
    std::shared_ptr<const std::vector<RowContext>> m_contexts;
    bool m_rowsComputed = false;
    std::vector<std::uint8_t> m_states;
    std::vector<std::uint32_t> m_marked;
    PayrollSummary m_summary;
};

// A money cell ("-12.30") in cents; nothing for any other text or a figure beyond
// 64 bits of cents.
std::optional<Cents> MoneyCellCents(std::string_view cell) noexcept;

}  // namespace taxcalc
