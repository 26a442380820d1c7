// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/payroll_model.h"

#include <QApplication>
#include <QColor>
#include <QStyle>

#include "payroll/row_marks.h"
#include "ui/utf8_text.h"

namespace taxcalc {

bool SameFigures(const PayrollOutcomes &a, const PayrollOutcomes &b) noexcept {
    return a.SharedTable() == b.SharedTable() && a.Computing() == b.Computing();
}

PayrollModel::PayrollModel(QObject *parent)
    : QAbstractTableModel(parent),
      m_zoneIcon(RowMarkIcon(RowState::Advised)),
      m_refusedIcon(RowMarkIcon(RowState::Refused)) {}

void PayrollModel::setOutcomes(std::shared_ptr<const PayrollOutcomes> outcomes) {
    const bool sameRows = m_outcomes && outcomes && SameFigures(*m_outcomes, *outcomes) && !m_markedOnly;
    if (sameRows) {
        // The cells are the same; only the states and the filter's rows are new.
        m_outcomes = std::move(outcomes);
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        return;
    }
    beginResetModel();
    m_outcomes = std::move(outcomes);
    for (CachedRow &cached : m_cache) {
        cached.Row = static_cast<std::size_t>(-1);
    }
    m_width = m_outcomes ? static_cast<int>(m_outcomes->Table().Width()) : 0;
    m_computedWidth = m_outcomes ? static_cast<int>(m_outcomes->AddedHeaders().size()) : 0;
    endResetModel();
}

void PayrollModel::setMarkedOnly(bool markedOnly) {
    if (markedOnly == m_markedOnly) {
        return;
    }
    beginResetModel();
    m_markedOnly = markedOnly;
    endResetModel();
}

std::size_t PayrollModel::tableRow(int row) const {
    return filtering() ? m_outcomes->MarkedRows()[static_cast<std::size_t>(row)]
                       : static_cast<std::size_t>(row);
}

RowState PayrollModel::state(std::size_t row) const {
    return m_outcomes->RowsComputed() ? m_outcomes->State(row) : cached(row).State;
}

int PayrollModel::rowCount(const QModelIndex &parent) const {
    if (parent.isValid() || !m_outcomes) {
        return 0;
    }
    return static_cast<int>(filtering() ? m_outcomes->MarkedRows().size() : m_outcomes->Table().Rows());
}

int PayrollModel::columnCount(const QModelIndex &parent) const {
    if (parent.isValid() || !m_outcomes) {
        return 0;
    }
    return m_width + m_computedWidth + 1;
}

const PayrollModel::CachedRow &PayrollModel::cached(std::size_t row) const {
    CachedRow &cached = m_cache[row % m_cache.size()];
    if (cached.Row != row) {
        cached.State = m_outcomes->Figures(row, cached.Figures);
        cached.Row = row;
    }
    return cached;
}

QVariant PayrollModel::cellText(std::size_t row, int column) const {
    if (column < m_width) {
        return FromUtf8(m_outcomes->Table().Cell(row, static_cast<std::size_t>(column)));
    }
    const RowFigures &row_figures = cached(row).Figures;
    const std::string &text = column < m_width + m_computedWidth
                                  ? row_figures.Cells[static_cast<std::size_t>(column - m_width)]
                                  : row_figures.Error;
    return FromUtf8(text);
}

QVariant PayrollModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || !m_outcomes) {
        return {};
    }
    const std::size_t row = tableRow(index.row());
    const RowState state = this->state(row);
    switch (role) {
        case Qt::DisplayRole:
            return cellText(row, index.column());
        case kStateRole:
            return static_cast<int>(state);
        case Qt::BackgroundRole:
            if (state == RowState::Advised || state == RowState::Refused) {
                return RowMarkColour(state);
            }
            return {};
        case Qt::DecorationRole:
            if (index.column() != 0) {
                return {};
            }
            if (state == RowState::Advised) {
                return m_zoneIcon;
            }
            if (state == RowState::Refused) {
                return m_refusedIcon;
            }
            return {};
        case Qt::ToolTipRole:
        case Qt::AccessibleDescriptionRole:
            if (state == RowState::Refused) {
                return RowMarkName(state, m_outcomes->Computing().Kind()) + QStringLiteral("：") +
                       cellText(row, m_width + m_computedWidth).toString();
            }
            if (state == RowState::Advised) {
                return RowMarkName(state, m_outcomes->Computing().Kind());
            }
            return {};
        case Qt::TextAlignmentRole:
            if (index.column() >= m_width && index.column() < m_width + m_computedWidth) {
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            }
            return {};
        default:
            return {};
    }
}

QVariant PayrollModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!m_outcomes || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (orientation == Qt::Vertical) {
        return QString::number(m_outcomes->Table().Line(tableRow(section)));
    }
    if (section < m_width) {
        return FromUtf8(m_outcomes->Table().Header().Cell(static_cast<std::size_t>(section)));
    }
    if (section < m_width + m_computedWidth) {
        return FromUtf8(m_outcomes->AddedHeaders()[static_cast<std::size_t>(section - m_width)]);
    }
    return FromUtf8(RowEvaluator::kErrorHeader);
}

}  // namespace taxcalc
