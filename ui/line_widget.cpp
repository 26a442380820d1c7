// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/line_widget.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace taxcalc {

LineWidget::LineWidget(QPoint from, QPoint to, QWidget *parent) : QWidget(parent) {
    const QPoint topLeft(std::min(from.x(), to.x()), std::min(from.y(), to.y()));
    // The end point is not drawn, as with a pen that stops short of it; a line along
    // one axis is still one pixel thick across the other.
    const int width = std::max(std::abs(to.x() - from.x()), 1);
    const int height = std::max(std::abs(to.y() - from.y()), 1);
    setGeometry(QRect(topLeft, QSize(width, height)));
    m_from = from - topLeft;
    m_to = to - topLeft;
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineWidget::paintEvent(QPaintEvent * /*event*/) {
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.drawLine(m_from, m_to);
}

}  // namespace taxcalc
