// SPDX-License-Identifier: MIT
#include "payroll/payroll_table_view.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QFocusEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>

#include <algorithm>

namespace taxcalc {

PayrollTableView::PayrollTableView(QWidget *parent) : QTableView(parent) {
    // Tab and Shift+Tab move between the window's controls, never from cell to cell.
    setTabKeyNavigation(false);
}

QList<int> PayrollTableView::selectedRowNumbers() const {
    QList<int> rows;
    if (selectionModel() == nullptr) {
        return rows;
    }
    for (const QModelIndex &index : selectionModel()->selectedRows()) {
        rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void PayrollTableView::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
    // QTableView would tell assistive technology that the cell has the focus even
    // while the focus is in another control; the event goes out here only when it is
    // true. The base of QTableView's own does the rest.
    QAbstractItemView::currentChanged(current, previous);
    if (!hasFocus() || !current.isValid()) {
        return;
    }
    if (QAccessible::isActive()) {
        QAccessibleInterface *table = QAccessible::queryAccessibleInterface(this);
        if (table != nullptr && table->tableInterface() != nullptr) {
            if (QAccessibleInterface *cell =
                    table->tableInterface()->cellAt(current.row(), current.column())) {
                QAccessibleEvent focus(this, QAccessible::Focus);
                focus.setChild(table->indexOfChild(cell));
                QAccessible::updateAccessibility(&focus);
            }
        }
    }
    if (current.row() != previous.row()) {
        emit rowEntered(current.row());
    }
}

void PayrollTableView::paintEvent(QPaintEvent *event) {
    QTableView::paintEvent(event);
    const QModelIndex current = currentIndex();
    if (!hasFocus() || !current.isValid()) {
        return;
    }
    // A frame in the text colour round the whole row: visible on the highlight of a
    // selected row and on the tint of a marked one.
    const QRect cell = visualRect(current);
    const QRect row(0, cell.top(), std::min(viewport()->width(), horizontalHeader()->length()),
                    cell.height());
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Text), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(row.adjusted(1, 1, -1, -1));
}

void PayrollTableView::focusInEvent(QFocusEvent *event) {
    QTableView::focusInEvent(event);
    viewport()->update();
}

void PayrollTableView::focusOutEvent(QFocusEvent *event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void PayrollTableView::changeEvent(QEvent *event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        emit paletteChanged(palette());
    }
}

}  // namespace taxcalc
