// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QPoint>
#include <QWidget>

namespace taxcalc {

// A straight line one pixel wide in the window text colour, from one point of its
// container to another. The widget covers the line's bounding box.
class LineWidget : public QWidget {
    Q_OBJECT

public:
    LineWidget(QPoint from, QPoint to, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPoint m_from;
    QPoint m_to;
};

}  // namespace taxcalc
