// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QString>
#include <QWidget>

#include <vector>

#include "paysheet/payroll_outcomes.h"

namespace taxcalc {

// Bars of money for the modes whose rows are not one bonus: an employee's year of
// withholding, month by month, with the cumulative taxable income against the year
// table's bounds; or a reconciliation's two ways of taxing the year beside what was
// paid. It draws the figures the core hands it and computes nothing itself; its
// accessible description says in words what the picture shows.
class FiguresChart : public QWidget {
    Q_OBJECT

public:
    struct Bar {
        QString Label;
        Cents Value;
        bool Marked;  // the selected month, or the method chosen
    };

    explicit FiguresChart(QWidget *parent = nullptr);

    void setYear(const PayrollOutcomes::EmployeeYear &year, std::size_t selectedRow);
    void setSettlement(const PayrollOutcomes::Settled &settled);
    void clearFigures(const QString &reason);

    const std::vector<Bar> &bars() const noexcept { return m_bars; }

    QSize sizeHint() const override { return {420, 320}; }
    QSize minimumSizeHint() const override { return {260, 200}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_title;
    QString m_reason;
    QString m_footer;
    std::vector<Bar> m_bars;
    // The cumulative taxable income after each bar, and the bounds it is held against.
    std::vector<Cents> m_line;
    std::vector<Cents> m_bounds;
};

}  // namespace taxcalc
