// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QColor>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <memory>

#include "ui/main_form.h"

namespace taxcalc::test {

// A freshly built window, shown and active, as a user first meets it.
std::unique_ptr<MainForm> ShowMainForm();

template <typename Widget = QWidget>
Widget *Control(const QWidget &window, const QString &name) {
    return window.findChild<Widget *>(name);
}

QColor ForeColour(const QWidget &widget);

// The colours of the window, written as the user sees them.
inline const QColor kBlue(0, 0, 255);
inline const QColor kRed(255, 0, 0);
inline const QColor kBlack(0, 0, 0);
inline const QColor kMagenta(255, 0, 255);
inline const QColor kDarkOrange(0xC0, 0x40, 0x00);

// Clicks into the control as a user would, then types the text there key by key.
void ClickAndType(QWidget &control, const QString &text);
// Types into whatever holds the keyboard focus.
void TypeIntoFocus(const QString &text);
void PressIntoFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

struct CaughtBox {
    QString Title;
    QString Text;
    QMessageBox::Icon Icon;
    int ButtonCount;
};

// While it lives, every modal message box that opens is recorded and closed with
// its OK button.
class MessageBoxCatcher : public QObject {
    Q_OBJECT

public:
    MessageBoxCatcher();

    const QList<CaughtBox> &boxes() const noexcept { return m_boxes; }

private:
    void closeModalBox();

    QTimer m_timer;
    QList<CaughtBox> m_boxes;
};

}  // namespace taxcalc::test
