// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QTableView;

namespace taxcalc {

class PayrollModel;

// The bar above the rows that finds an employee by 工号 or 姓名: Enter finds the
// next row, Shift+Enter the one before, round past the end; Esc closes it and gives
// the rows the keys again. Hidden until asked for.
class FindBar : public QWidget {
    Q_OBJECT

public:
    FindBar(PayrollModel *model, QWidget *parent = nullptr);

    // The rows it moves the selection in; the model's view.
    void setView(QTableView *view);
    QLineEdit *edit() const noexcept { return m_findEdit; }

    // Shows the bar with its text selected, the focus in it.
    void showFindBar();
    // Selects the next row from the current one (exclusive) that holds the text;
    // with no text, shows the bar.
    void findNext(bool forward);

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // What came of a search, for the status line.
    void said(const QString &status);

private:
    PayrollModel *m_model;
    QTableView *m_view = nullptr;
    QLineEdit *m_findEdit = nullptr;
};

}  // namespace taxcalc
