// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "paysheet/column_map.h"
#include "paysheet/computation.h"
#include "paysheet/mode_description.h"
#include "paysheet/row_figures.h"
#include "paysheet/row_links.h"
#include "sheet/csv_record.h"

namespace taxcalc {

// Turns a row's figure texts into the cells that its mode adds: each text read as
// the panels read an entry, an empty or missing one replaced by the column's
// default, then the mode's computation. The window's modes give the figures that
// the panel shows for the same entry texts, in the same number forms.
class RowCalculator {
public:
    RowCalculator(const Computation &computation, ColumnMap columns);

    // The calculator for a file with this header. Fails, saying why in `error`, where
    // the header lacks a required column or has one twice.
    static std::optional<RowCalculator> ForHeader(const Computation &computation, const CsvRecord &header,
                                                  std::string &error);

    // The names of the added columns that this file gets, without the error column.
    std::span<const std::string_view> Headers() const noexcept { return m_headers; }
    std::size_t Width() const noexcept { return m_headers.size(); }

    // Fills the first Width() of figures.Cells, or leaves them empty and says in
    // figures.Error which field holds no number, or that the figures are too large to
    // compute. Returns whether the row was computed.
    // `context` is what the other rows leave to this one, for a mode whose rows
    // depend on each other.
    bool Compute(const CsvRecord &record, RowFigures &figures, const RowContext *context = nullptr) const;
    // The same from the texts of the mode's input figures, in the order of its inputs;
    // a missing text is an empty one.
    bool Compute(std::span<const std::string_view> texts, RowFigures &figures,
                 const RowContext *context = nullptr) const;
    // The row's fields as the computation reads them, amounts in cents where the mode
    // computes in cents, for the links between rows: Refused where the row is refused
    // on its own, with what could be read of it in `input` all the same.
    RowRead Read(const CsvRecord &record, RowInput &input) const;

    // The row's figures as the computation reads them, defaults filled in, amounts in
    // cents too where the mode computes in cents; nothing when a figure is refused.
    std::optional<RowInput> Input(const CsvRecord &record) const;
    // Which of the written cells plays `role` (the first, where several do); nothing
    // where the mode writes no such cell.
    std::optional<std::size_t> CellWith(ColumnRole role) const noexcept;
    // What the written cell `k` is.
    ColumnRole RoleOf(std::size_t k) const noexcept { return m_mode->Added[m_written[k]].Role; }
    const Computation &Computing() const noexcept { return m_computation; }
    const ColumnMap &Columns() const noexcept { return m_columns; }

private:
    std::array<std::string_view, RowInput::kMaxInputs> Texts(const CsvRecord &record) const;
    // Every figure of the row, each amount rounded to the cent as the period rounds;
    // false, with the reasons in `figures`, when any is refused.
    bool ReadFields(std::span<const std::string_view> texts, RowInput &input, RowFigures &figures) const;
    std::string FilledAmounts(std::span<const std::string_view> texts) const;

    Computation m_computation;
    const ModeDescription *m_mode;
    ColumnMap m_columns;
    std::vector<std::string_view> m_headers;
    std::vector<std::size_t> m_written;  // for each header, its index among the mode's added columns
};

}  // namespace taxcalc
