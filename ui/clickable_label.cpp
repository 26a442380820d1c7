// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/clickable_label.h"

#include <QMouseEvent>

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
