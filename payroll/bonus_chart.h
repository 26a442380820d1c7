// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QString>
#include <QWidget>

#include <optional>

#include "paysheet/bonus_curve.h"

namespace taxcalc {

// The after-tax bonus against the bonus around one row's bonus: the period's blind
// zones shaded and marked by name, the row's bonus and the advised bonus marked.
// It draws the curve the core hands it and computes nothing itself. Without a
// curve it shows a line saying why. Its accessible description says in words what
// the picture shows.
class BonusChart : public QWidget {
    Q_OBJECT

public:
    explicit BonusChart(QWidget *parent = nullptr);

    void setCurve(const BonusCurve &curve, const QString &periodName);
    void clearCurve(const QString &reason);
    const std::optional<BonusCurve> &curve() const noexcept { return m_curve; }

    QSize sizeHint() const override { return {420, 320}; }
    QSize minimumSizeHint() const override { return {260, 200}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void describe();

    std::optional<BonusCurve> m_curve;
    QString m_periodName;
    QString m_reason;
};

}  // namespace taxcalc
