// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QObject>

class QStackedWidget;
class QWidget;

namespace taxcalc {

class BonusChart;
class FiguresChart;
class PayrollModel;
class PayrollTableView;

// The chart beside the rows, chosen by the mode for the selected row: an employee's
// year for withholding, the settlement of a reconciliation, else the bonus curve, or
// a message saying why there is none.
class ChartChooser : public QObject {
    Q_OBJECT

public:
    // The charts go into `parent`; the chooser belongs to `owner`.
    ChartChooser(PayrollModel *model, PayrollTableView *view, QWidget *parent, QObject *owner);

    // The stack of charts, one of them shown.
    QStackedWidget *charts() const noexcept { return m_charts; }
    // Shows the chart of the view's current row.
    void selectionChanged();

private:
    PayrollModel *m_model;
    PayrollTableView *m_view;
    // The bonus curve, or the bars of the modes whose rows are not one bonus.
    QStackedWidget *m_charts = nullptr;
    BonusChart *m_chart = nullptr;
    FiguresChart *m_figures = nullptr;
};

}  // namespace taxcalc
