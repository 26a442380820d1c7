// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QLabel>

namespace taxcalc {

// An opaque label that reports clicks and every mouse movement over it, with or
// without a button held, and fits itself to its caption as its sizing asks.
class ClickableLabel : public QLabel {
    Q_OBJECT

public:
    enum class Sizing { AutoSize, Wrapping, Fixed };

    ClickableLabel(Sizing sizing, QWidget *parent);

    Sizing sizing() const noexcept { return m_sizing; }
    // Sets the caption, "\r\n" starting a new line, and fits the label to it.
    void setCaption(const QString &caption);
    // What the label shows ("调整前需纳税"): a screen reader hears it before the
    // caption, and alone while the caption is empty.
    void setSpokenName(const QString &name);

signals:
    void clicked();
    void mouseMoved();
    void captionChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

public:
    QSize sizeHint() const override;

private:
    void fitToCaption();
    void nameForScreenReaders();

    Sizing m_sizing;
    QString m_spokenName;
    bool m_pressed = false;
};

}  // namespace taxcalc
