// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/panel_frame.h"

#include <QPainter>

namespace taxcalc {
namespace {

constexpr int kCaptionIndent = 8;
constexpr int kCaptionPadding = 2;

}  // namespace

PanelFrame::PanelFrame(const QString &caption, QWidget *parent) : QGroupBox(caption, parent) {}

void PanelFrame::paintEvent(QPaintEvent * /*event*/) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int borderTop = metrics.height() / 2;
    const QRect border = rect().adjusted(0, borderTop, -2, -2);

    // Etched: a shadow line with a highlight line one pixel below and to the right.
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(border.translated(1, 1));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(border);

    const QRect caption(kCaptionIndent, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionPadding,
                        metrics.height());
    painter.fillRect(caption, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter | Qt::TextSingleLine, title());
}

}  // namespace taxcalc
