// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/row_marks.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace taxcalc {
namespace {

const QColor kZoneBackground(0xFF, 0xE9, 0xB0);
const QColor kRefusedBackground(0xFF, 0xD3, 0xD6);
const QColor kLightText(0x1B, 0x1B, 0x1B);
const QColor kDarkZoneBackground(0x5C, 0x42, 0x00);
const QColor kDarkRefusedBackground(0x6B, 0x1F, 0x2A);
const QColor kDarkText(0xF5, 0xF5, 0xF5);
const QColor kZoneInk(0xE0, 0x8A, 0x00);
const QColor kRefusedInk(0xC6, 0x28, 0x28);

QPixmap DrawMark(RowState state, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    if (state == RowState::Advised) {
        QPainterPath triangle;
        triangle.moveTo(s / 2, s * 0.06);
        triangle.lineTo(s * 0.97, s * 0.92);
        triangle.lineTo(s * 0.03, s * 0.92);
        triangle.closeSubpath();
        painter.fillPath(triangle, kZoneInk);
        painter.setPen(QPen(Qt::white, s * 0.13, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(s / 2, s * 0.36), QPointF(s / 2, s * 0.62));
        painter.drawPoint(QPointF(s / 2, s * 0.78));
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kRefusedInk);
        painter.drawEllipse(QRectF(s * 0.05, s * 0.05, s * 0.9, s * 0.9));
        painter.setPen(QPen(Qt::white, s * 0.13, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(s * 0.33, s * 0.33), QPointF(s * 0.67, s * 0.67));
        painter.drawLine(QPointF(s * 0.67, s * 0.33), QPointF(s * 0.33, s * 0.67));
    }
    return pixmap;
}

}  // namespace

RowMarkPaint RowMarkColours(RowState state, bool darkBase) {
    if (darkBase) {
        return {state == RowState::Advised ? kDarkZoneBackground : kDarkRefusedBackground, kDarkText};
    }
    return {state == RowState::Advised ? kZoneBackground : kRefusedBackground, kLightText};
}

RowMarkPaint RowMarkColours(RowState state, const QPalette &palette) {
    return RowMarkColours(state, palette.color(QPalette::Base).lightness() < 128);
}

QIcon RowMarkIcon(RowState state) {
    QIcon icon;
    for (const int size : {16, 24, 32}) {
        icon.addPixmap(DrawMark(state, size));
    }
    return icon;
}

QString RowMarkName(RowState state, BatchMode mode) {
    if (state == RowState::Refused) {
        return QStringLiteral("未能计算");
    }
    return mode == BatchMode::Bonus ? QStringLiteral("盲区") : QStringLiteral("可少缴个税");
}

}  // namespace taxcalc
