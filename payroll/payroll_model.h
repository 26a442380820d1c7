// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QAbstractTableModel>
#include <QIcon>

#include <array>
#include <cstddef>
#include <memory>

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

    // Only once every row is computed; before, every row shows.
    void setMarkedOnly(bool markedOnly);
    bool markedOnly() const noexcept { return m_markedOnly; }

    // The table's row that a row of the model shows.
    std::size_t tableRow(int row) const;
    // What the row is; before every row is computed, from its own figures.
    RowState state(std::size_t row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct CachedRow {
        std::size_t Row = static_cast<std::size_t>(-1);
        RowFigures Figures;
        RowState State = RowState::Blank;
    };

    const CachedRow &cached(std::size_t row) const;
    QVariant cellText(std::size_t row, int column) const;

    std::shared_ptr<const PayrollOutcomes> m_outcomes;
    bool m_markedOnly = false;
    bool filtering() const noexcept { return m_markedOnly && m_outcomes && m_outcomes->RowsComputed(); }
    int m_width = 0;
    int m_computedWidth = 0;
    QIcon m_zoneIcon;
    QIcon m_refusedIcon;
    // Direct-mapped by row: a screen of rows fits without eviction.
    mutable std::array<CachedRow, 128> m_cache;
};

}  // namespace taxcalc
