// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/clickable_label.h"

#include <QFontInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace taxcalc {

ClickableLabel::ClickableLabel(Sizing sizing, QWidget *parent) : QLabel(parent), m_sizing(sizing) {
    // Captions are composed from typed figures: never read them as markup.
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(sizing != Sizing::AutoSize);
    setAutoFillBackground(true);
    setMouseTracking(true);
}

void ClickableLabel::setCaption(const QString &caption) {
    QString text = caption;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setText(text);
    fitToCaption();
    nameForScreenReaders();
    emit captionChanged();
}

void ClickableLabel::setSpokenName(const QString &name) {
    m_spokenName = name;
    nameForScreenReaders();
}

// Without a name of its own an empty label would be announced with its frame's
// title. A caption that already begins with the name ("评价：…") is spoken as it is.
void ClickableLabel::nameForScreenReaders() {
    if (m_spokenName.isEmpty()) {
        return;
    }
    const QString caption = text();
    if (caption.isEmpty()) {
        setAccessibleName(m_spokenName);
    } else if (caption.startsWith(m_spokenName)) {
        setAccessibleName(caption);
    } else {
        setAccessibleName(m_spokenName + QStringLiteral("：") + caption);
    }
}

void ClickableLabel::fitToCaption() {
    switch (m_sizing) {
        case Sizing::AutoSize:
            adjustSize();
            break;
        case Sizing::Wrapping:
            resize(width(), heightForWidth(width()));
            break;
        case Sizing::Fixed:
            break;
    }
}

// An auto-size label is as high as its lines, and a glyph that reaches below the
// face's descent (the Song face's star) keeps its lowest row.
QSize ClickableLabel::sizeHint() const {
    QSize hint = QLabel::sizeHint();
    if (m_sizing == Sizing::AutoSize && !text().isEmpty()) {
        const QFontMetrics metrics(font());
        const QStringList lines = text().split(QLatin1Char('\n'));
        const int inkBottom = int(lines.size() - 1) * metrics.lineSpacing() + metrics.ascent() +
                              metrics.boundingRect(lines.last()).bottom() + 1;
        hint.setHeight(std::max(hint.height(), inkBottom));
    }
    return hint;
}

// The fixed boxes were laid out for faces whose lines are exactly as high as their
// characters; the Kai face adds leading above and below, and the last line would
// lose its lower pixels. A fixed label stacks its lines at the character height,
// each character's square filling its line: a Chinese character stands 0.88 of
// its height above the baseline.
void ClickableLabel::paintEvent(QPaintEvent *event) {
    if (m_sizing != Sizing::Fixed || text().isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    QString caption = text();
    caption.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(caption, font(), this);
    QTextOption option(alignment());
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    const QRect box = contentsRect();
    const QFontMetricsF metrics(font(), this);
    const qreal pitch = std::min<qreal>(metrics.lineSpacing(), QFontInfo(font()).pixelSize());
    const qreal raise = std::max<qreal>(0, metrics.ascent() - 0.88 * pitch);
    layout.beginLayout();
    for (int row = 0;; ++row) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            break;
        }
        line.setLineWidth(box.width());
        line.setPosition(QPointF(0, row * pitch - raise));
    }
    layout.endLayout();
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    layout.draw(&painter, box.topLeft());
}

void ClickableLabel::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
    }
    QLabel::mousePressEvent(event);
}

// A click is a left press and release over the label, as on a button.
void ClickableLabel::mouseReleaseEvent(QMouseEvent *event) {
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        m_pressed = false;
    }
    QLabel::mouseReleaseEvent(event);
    if (click) {
        emit clicked();
    }
}

void ClickableLabel::mouseMoveEvent(QMouseEvent *event) {
    QLabel::mouseMoveEvent(event);
    emit mouseMoved();
}

}  // namespace taxcalc
