// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/figures_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

#include "payroll/yuan_text.h"
#include "paysheet/planning_modes.h"
#include "paysheet/reconciliation_mode.h"

namespace taxcalc {
namespace {

const QColor kBarInk(0x1F, 0x5F, 0xBF);
const QColor kMarkedInk(0xC6, 0x28, 0x28);
const QColor kLineInk(0x2E, 0x7D, 0x32);
const QColor kBoundInk(0x9E, 0x9E, 0x9E);

double YuanOf(Cents cents) {
    return static_cast<double>(cents) / 100;
}

}  // namespace

FiguresChart::FiguresChart(QWidget *parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("计算结果图"));
    setFocusPolicy(Qt::NoFocus);
    clearFigures(QString());
}

void FiguresChart::setYear(const PayrollOutcomes::EmployeeYear &year, std::size_t selectedRow) {
    m_bars.clear();
    m_line.clear();
    m_bounds = year.Bounds;
    QString words;
    for (const PayrollOutcomes::YearMonth &month : year.Months) {
        m_bars.push_back({QStringLiteral("%1月").arg(month.Month), month.Withheld, month.Row == selectedRow});
        m_line.push_back(month.Taxable);
        words += month.Computed ? QStringLiteral("%1月预扣 %2 元，累计应纳税所得额 %3 元；")
                                      .arg(month.Month)
                                      .arg(Yuan(month.Withheld), Yuan(month.Taxable))
                                : QStringLiteral("%1月未能计算；").arg(month.Month);
    }
    m_title = QStringLiteral("本员工各月预扣税额（柱）与累计应纳税所得额（线）");
    m_footer = QStringLiteral("虚线：预扣率表的级距，累计所得越过一条，税率就升一档");
    m_reason.clear();
    words.chop(1);
    setAccessibleDescription(words + QStringLiteral("。"));
    update();
}

void FiguresChart::setSettlement(const PayrollOutcomes::Settled &settled) {
    m_line.clear();
    m_bounds.clear();
    m_bars.clear();
    // A year whose rules join the bonus to the year's income has no separate tax to
    // draw: an empty figure is no 0.
    if (settled.SeparateAllowed) {
        m_bars.push_back({FromUtf8(MethodName(BonusMethod::Separate)), settled.SeparateTax, !settled.Joined});
    }
    m_bars.push_back({FromUtf8(MethodName(BonusMethod::Combined)), settled.CombinedTax, settled.Joined});
    m_bars.push_back({FromUtf8(reconciliation::kInputs[reconciliation::kPaid].Chinese), settled.Paid, false});
    m_title = QStringLiteral("全年税额两种算法对比");
    const QString result = FromUtf8(settled.Result);
    m_footer = settled.Balance >= 0 ? QStringLiteral("%1 %2 元").arg(result, Yuan(settled.Balance))
                                    : QStringLiteral("%1 %2 元").arg(result, Yuan(-settled.Balance));
    m_reason.clear();
    setAccessibleDescription(
        QStringLiteral("单独计税 %1 元，并入综合所得 %2 元，选%3；已缴 %4 元；%5。")
            .arg(Yuan(settled.SeparateTax), Yuan(settled.CombinedTax),
                 settled.Joined ? QStringLiteral("并入综合所得") : QStringLiteral("单独计税"),
                 Yuan(settled.Paid), m_footer));
    update();
}

void FiguresChart::clearFigures(const QString &reason) {
    m_bars.clear();
    m_line.clear();
    m_bounds.clear();
    m_reason = reason;
    setAccessibleDescription(reason);
    update();
}

void FiguresChart::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The palette's own base and text, so that a dark desktop draws it dark.
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const QColor text = palette().color(QPalette::Text);
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    if (m_bars.empty()) {
        painter.setPen(text);
        painter.drawText(rect().adjusted(16, 16, -16, -16), Qt::AlignCenter | Qt::TextWordWrap, m_reason);
        return;
    }
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(text);
    painter.drawText(QRectF(12, 6, width() - 24, line * 1.4), Qt::AlignLeft | Qt::AlignVCenter, m_title);
    painter.setFont(font());

    const QRectF plot(16, line * 2.2, width() - 32, height() - line * 2.2 - line * 3.2);
    Cents top = 1;
    for (const Bar &bar : m_bars) {
        top = std::max(top, bar.Value);
    }
    const double scale = plot.height() * 0.85 / YuanOf(top);
    const double slot = plot.width() / static_cast<double>(m_bars.size());
    const double barWidth = std::max(4.0, slot * 0.6);
    for (std::size_t i = 0; i < m_bars.size(); ++i) {
        const Bar &bar = m_bars[i];
        const double left = plot.left() + slot * static_cast<double>(i) + (slot - barWidth) / 2;
        const double h = YuanOf(bar.Value) * scale;
        const QRectF box(left, plot.bottom() - h, barWidth, h);
        painter.fillRect(box, bar.Marked ? kMarkedInk : kBarInk);
        painter.setPen(text);
        painter.drawText(QRectF(left - slot * 0.2, plot.bottom() + 2, barWidth + slot * 0.4, line),
                         Qt::AlignHCenter | Qt::AlignTop, bar.Label);
        if (m_bars.size() <= 4 || bar.Marked) {
            painter.drawText(QRectF(left - slot * 0.3, box.top() - line - 2, barWidth + slot * 0.6, line),
                             Qt::AlignHCenter | Qt::AlignBottom, Yuan(bar.Value));
        }
    }
    if (!m_line.empty()) {
        // The cumulative taxable income on an axis of its own, with the bounds it meets.
        Cents lineTop = 1;
        for (const Cents taxable : m_line) {
            lineTop = std::max(lineTop, taxable);
        }
        Cents reach = lineTop;
        for (const Cents bound : m_bounds) {
            if (bound >= lineTop) {
                reach = bound;
                break;
            }
        }
        const auto y = [&](Cents cents) {
            return plot.bottom() - YuanOf(cents) / YuanOf(reach) * plot.height() * 0.95;
        };
        painter.setPen(QPen(kBoundInk, 1, Qt::DashLine));
        for (const Cents bound : m_bounds) {
            if (bound <= reach) {
                painter.setPen(QPen(kBoundInk, 1, Qt::DashLine));
                painter.drawLine(QPointF(plot.left(), y(bound)), QPointF(plot.right(), y(bound)));
                // The bound's figure in the text colour: grey on white would be hard to read.
                painter.setPen(text);
                painter.drawText(QRectF(plot.left(), y(bound) - line, plot.width(), line),
                                 Qt::AlignRight | Qt::AlignBottom, Yuan(bound));
            }
        }
        QPainterPath path;
        for (std::size_t i = 0; i < m_line.size(); ++i) {
            const QPointF point(plot.left() + slot * (static_cast<double>(i) + 0.5), y(m_line[i]));
            if (i == 0) {
                path.moveTo(point);
            } else {
                path.lineTo(point);
            }
            painter.setBrush(kLineInk);
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(point, 3, 3);
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(kLineInk, 2));
        painter.drawPath(path);
    }
    painter.setPen(text);
    painter.drawText(QRectF(12, height() - line * 1.6, width() - 24, line * 1.4),
                     Qt::AlignLeft | Qt::AlignVCenter, m_footer);
}

}  // namespace taxcalc
