// SPDX-License-Identifier: MIT
#pragma once

#include <QTableView>

namespace taxcalc {

// The payroll's rows as a clerk drives them from the keyboard: arrows move in the
// table and Tab leaves it; the focus is drawn as a frame round the current row, so
// that it can be seen on a selected row too. A screen reader hears of the current
// cell only while the table holds the focus, not each time the rows are computed
// again while the user is elsewhere.
class PayrollTableView : public QTableView {
    Q_OBJECT

public:
    explicit PayrollTableView(QWidget *parent = nullptr);

    // The model rows of the selection, in the view's order.
    QList<int> selectedRowNumbers() const;

signals:
    // The current row changed while the table held the focus.
    void rowEntered(int row);
    // The palette the rows are painted on changed, as on a switch to a dark desktop.
    void paletteChanged(const QPalette &palette);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
};

}  // namespace taxcalc
