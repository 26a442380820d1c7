// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/bonus_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "payroll/row_marks.h"
#include "payroll/yuan_text.h"

namespace taxcalc {
namespace {

const QColor kCurveInk(0x1F, 0x5F, 0xBF);
const QColor kRowInk(0xC6, 0x28, 0x28);
const QColor kAdvisedInk(0x2E, 0x7D, 0x32);
const QColor kGridInk(0xE3, 0xE6, 0xEA);
const QColor kAxisInk(0x55, 0x5B, 0x63);

// A round step (1, 2 or 5 times a power of ten yuan) giving about `count` ticks.
double TickStep(double span, int count) {
    const double raw = span / std::max(count, 1);
    const double power = std::pow(10.0, std::floor(std::log10(std::max(raw, 1e-9))));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (raw <= factor * power) {
            return factor * power;
        }
    }
    return 10 * power;
}

QString TickLabel(double yuan) {
    if (std::fabs(yuan) >= 10000) {
        return QStringLiteral("%1万").arg(yuan / 10000, 0, 'g', 6);
    }
    return QString::number(yuan, 'f', 0);
}

}  // namespace

BonusChart::BonusChart(QWidget *parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("税后年终奖图"));
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
    clearCurve(QStringLiteral("选中一行年终奖，这里画出它附近的税后年终奖曲线。"));
}

void BonusChart::setCurve(const BonusCurve &curve, const QString &periodName) {
    m_curve = curve;
    m_periodName = periodName;
    m_reason.clear();
    describe();
    update();
}

void BonusChart::clearCurve(const QString &reason) {
    m_curve.reset();
    m_reason = reason;
    describe();
    update();
}

void BonusChart::describe() {
    if (!m_curve) {
        setAccessibleDescription(m_reason);
        return;
    }
    const PeriodBonus &f = m_curve->Figures;
    QString text = QStringLiteral("本行年终奖 %1 元，税后 %2 元").arg(Yuan(m_curve->Bonus), Yuan(f.AfterTax));
    if (f.InBlindZone) {
        text += QStringLiteral("，在盲区内；建议年终奖 %1 元，税后 %2 元")
                    .arg(Yuan(f.RecommendedBonus), Yuan(f.RecommendedAfterTax));
    } else {
        text += QStringLiteral("，不在盲区");
    }
    setAccessibleDescription(text + QStringLiteral("。"));
}

void BonusChart::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics(font());
    const int line = metrics.height();

    if (!m_curve) {
        // A message alone is text like any other: the palette's text on its base,
        // readable on a dark desktop as on a light one.
        painter.fillRect(rect(), palette().color(QPalette::Base));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(rect().adjusted(16, 16, -16, -16), Qt::AlignCenter | Qt::TextWordWrap, m_reason);
        return;
    }
    // The curve's inks are chosen for white.
    painter.fillRect(rect(), Qt::white);
    const BonusCurve &curve = *m_curve;
    Cents low = curve.Points.front().AfterTax;
    Cents high = low;
    for (const BonusCurve::Point &point : curve.Points) {
        low = std::min(low, point.AfterTax);
        high = std::max(high, point.AfterTax);
    }
    const double pad = std::max<double>(static_cast<double>(high - low) * 0.08, 100.0);
    const double yLow = (static_cast<double>(low) - pad) / 100;
    const double yHigh = (static_cast<double>(high) + pad) / 100;
    const double xLow = static_cast<double>(curve.From) / 100;
    const double xHigh = static_cast<double>(std::max(curve.To, curve.From + 1)) / 100;

    const QRectF plot(metrics.horizontalAdvance(QStringLiteral("000.0万")) + 14, line * 2.6,
                      width() - metrics.horizontalAdvance(QStringLiteral("000.0万")) - 30,
                      height() - line * 2.6 - line * 2.8);
    const auto x = [&](double yuan) { return plot.left() + (yuan - xLow) / (xHigh - xLow) * plot.width(); };
    const auto y = [&](double yuan) {
        return plot.bottom() - (yuan - yLow) / (yHigh - yLow) * plot.height();
    };
    const auto at = [&](const BonusCurve::Point &p) {
        return QPointF(x(static_cast<double>(p.Bonus) / 100), y(static_cast<double>(p.AfterTax) / 100));
    };

    // Title.
    QFont titleFont = font();
    titleFont.setBold(true);
    painter.setFont(titleFont);
    painter.setPen(kAxisInk);
    painter.drawText(QRectF(0, 4, width(), line * 1.2), Qt::AlignHCenter,
                     QStringLiteral("税后年终奖随年终奖的变化（%1）").arg(m_periodName));
    painter.setFont(font());

    // Zones, grid, ticks.
    painter.save();
    painter.setClipRect(plot);
    for (const BonusCurve::Zone &zone : curve.Zones) {
        const QRectF band(QPointF(x(static_cast<double>(zone.Lower) / 100), plot.top()),
                          QPointF(x(static_cast<double>(zone.Upper) / 100), plot.bottom()));
        // The chart is drawn on white whatever the desktop: the light tint.
        const QColor tint = RowMarkColours(RowState::Advised, false).Background;
        painter.fillRect(band, tint);
        painter.setPen(QPen(tint.darker(125), 1, Qt::DashLine));
        painter.drawLine(band.topLeft(), band.bottomLeft());
        painter.drawLine(band.topRight(), band.bottomRight());
        painter.setPen(kAxisInk);
        painter.drawText(band.adjusted(2, 4, -2, 0), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("盲区"));
    }
    painter.restore();

    const double xStep = TickStep(xHigh - xLow, std::max(2, static_cast<int>(plot.width() / 90)));
    const double yStep = TickStep(yHigh - yLow, std::max(2, static_cast<int>(plot.height() / 50)));
    painter.setPen(kAxisInk);
    for (double t = std::ceil(xLow / xStep) * xStep; t <= xHigh; t += xStep) {
        painter.setPen(kGridInk);
        painter.drawLine(QPointF(x(t), plot.top()), QPointF(x(t), plot.bottom()));
        painter.setPen(kAxisInk);
        painter.drawText(QRectF(x(t) - 50, plot.bottom() + 3, 100, line), Qt::AlignHCenter, TickLabel(t));
    }
    for (double t = std::ceil(yLow / yStep) * yStep; t <= yHigh; t += yStep) {
        painter.setPen(kGridInk);
        painter.drawLine(QPointF(plot.left(), y(t)), QPointF(plot.right(), y(t)));
        painter.setPen(kAxisInk);
        painter.drawText(QRectF(0, y(t) - line / 2.0, plot.left() - 6, line),
                         Qt::AlignRight | Qt::AlignVCenter, TickLabel(t));
    }
    painter.setPen(QPen(kAxisInk, 1));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawText(QRectF(plot.left(), plot.bottom() + line + 4, plot.width(), line), Qt::AlignHCenter,
                     QStringLiteral("年终奖（元）"));
    painter.drawText(QRectF(4, line * 1.4, plot.left() + 60, line), Qt::AlignLeft,
                     QStringLiteral("税后（元）"));

    // The curve.
    QPainterPath path(at(curve.Points.front()));
    for (std::size_t i = 1; i < curve.Points.size(); ++i) {
        path.lineTo(at(curve.Points[i]));
    }
    painter.save();
    painter.setClipRect(plot.adjusted(-1, -1, 1, 1));
    painter.setPen(QPen(kCurveInk, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.restore();

    // The row's bonus and the advice, with labels that stay inside the plot.
    const auto mark = [&](Cents bonus, Cents afterTax, const QColor &ink, const QString &label, bool above) {
        const QPointF p = at({bonus, afterTax});
        painter.setPen(QPen(ink, 1, Qt::DotLine));
        painter.drawLine(QPointF(p.x(), plot.bottom()), p);
        painter.setPen(QPen(Qt::white, 2));
        painter.setBrush(ink);
        painter.drawEllipse(p, 5.5, 5.5);
        const int w = metrics.horizontalAdvance(label) + 10;
        QRectF box(p.x() - w / 2.0, above ? p.y() - line - 12 : p.y() + 9, w, line + 2);
        box.moveLeft(std::clamp(box.left(), plot.left() + 2, plot.right() - w - 2));
        box.moveTop(std::clamp(box.top(), plot.top() + 2, plot.bottom() - line - 4));
        painter.setPen(QPen(ink, 1));
        painter.setBrush(QColor(255, 255, 255, 235));
        painter.drawRoundedRect(box, 4, 4);
        painter.setPen(ink);
        painter.drawText(box, Qt::AlignCenter, label);
    };
    const PeriodBonus &f = curve.Figures;
    if (f.InBlindZone) {
        mark(f.RecommendedBonus, f.RecommendedAfterTax, kAdvisedInk,
             QStringLiteral("建议 %1，税后 %2").arg(Yuan(f.RecommendedBonus), Yuan(f.RecommendedAfterTax)),
             true);
    }
    mark(curve.Bonus, f.AfterTax, kRowInk,
         QStringLiteral("本行 %1，税后 %2").arg(Yuan(curve.Bonus), Yuan(f.AfterTax)), !f.InBlindZone);
}

}  // namespace taxcalc
