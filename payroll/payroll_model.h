// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>
#include <QPalette>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "paysheet/payroll_outcomes.h"

namespace taxcalc {

// Whether the two show the same cells: the same table under the same mode and period.
bool SameFigures(const PayrollOutcomes &a, const PayrollOutcomes &b) noexcept;

// The rows of a computed payroll for a table view: the file's columns, the added
// ones and 错误, as taxcalc-batch writes them. The model holds no text of its own:
// input cells come straight from the table, added cells are computed again by the
// core for the few rows on screen and kept in a small cache. Rows in a blind zone
// and refused rows carry a colour, an icon and a tooltip; the model may show only
// them. The vertical header gives each row's line in the file.
//
// A table that the chosen mode cannot compute is still shown, its own columns only.
// The rows may be sorted by any column: an order of the view alone, which the saved
// file never follows.
class PayrollModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // What a row is, for tests and the chart: a RowState as an int.
    static constexpr int kStateRole = Qt::UserRole + 1;

    explicit PayrollModel(QObject *parent = nullptr);

    // Outcomes of the same table under the same mode, now with every row computed,
    // take the place of the shown ones without moving the view or the selection.
    void setOutcomes(std::shared_ptr<const PayrollOutcomes> outcomes);
    const std::shared_ptr<const PayrollOutcomes> &outcomes() const noexcept { return m_outcomes; }
    // The table's own cells, with no outcomes: what a mode that cannot compute it leaves.
    void setTable(std::shared_ptr<const PayrollTable> table);

    // Only once every row is computed; before, every row shows.
    void setMarkedOnly(bool markedOnly);
    bool markedOnly() const noexcept { return m_markedOnly; }

    // The palette the rows are painted on, which the marks' colours are chosen for.
    void setPalette(const QPalette &palette);

    // The table's row that a row of the model shows.
    std::size_t tableRow(int row) const;
    // What the row is; before every row is computed, from its own figures.
    RowState state(std::size_t row) const;

    // The row in words, by the model's row number: who it is, what it is computed
    // from, its tax and its mark, each cell after its header. What a screen reader
    // says of the row the focus moves to.
    QString rowDescription(int row) const;
    // The rows, by the model's row numbers, with the header above them: one line a
    // row, cells apart by tabs, as a spreadsheet pastes them into cells.
    QString rowsText(const QList<int> &rows) const;
    // The next row from `from` (exclusive) in the direction asked whose 工号 or 姓名
    // holds `text`, round past the end; -1 where none does.
    int findRow(const QString &text, int from, bool forward) const;

    // -1 while the rows are in the file's order.
    int sortColumn() const noexcept { return m_sortColumn; }
    Qt::SortOrder sortOrder() const noexcept { return m_sortOrder; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Numbers by their amount, read as the core reads them, before texts in the
    // collation of Chinese (by pinyin); empty cells last either way; equal cells in
    // the file's order. Column -1 is the file's order again.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    struct CachedRow {
        std::size_t Row = static_cast<std::size_t>(-1);
        RowFigures Figures;
        RowState State = RowState::Blank;
    };

    const CachedRow &cached(std::size_t row) const;
    QVariant cellText(std::size_t row, int column) const;
    QString adviceText(std::size_t row) const;
    // Sets the table and its outcomes and arranges the rows again, inside a reset.
    void take(std::shared_ptr<const PayrollTable> table, std::shared_ptr<const PayrollOutcomes> outcomes);
    // The file's rows in the sorted order, then the ones the filter lets through.
    void orderRows();
    void arrangeRows();

    std::shared_ptr<const PayrollTable> m_table;
    std::shared_ptr<const PayrollOutcomes> m_outcomes;
    bool m_markedOnly = false;
    bool filtering() const noexcept { return m_markedOnly && m_outcomes && m_outcomes->RowsComputed(); }
    int m_width = 0;
    int m_computedWidth = 0;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    // The file's rows in the sorted order; empty in the file's order.
    std::vector<std::uint32_t> m_sorted;
    // The rows shown, where sorting or the filter leave other than all in the file's order.
    std::vector<std::uint32_t> m_shown;
    QIcon m_zoneIcon;
    QIcon m_refusedIcon;
    QPalette m_palette;
    // Direct-mapped by row: a screen of rows fits without eviction.
    mutable std::array<CachedRow, 128> m_cache;
};

}  // namespace taxcalc
