// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "window_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

namespace taxcalc::test {

std::unique_ptr<MainForm> ShowMainForm() {
    auto window = std::make_unique<MainForm>();
    window->show();
    if (!QTest::qWaitForWindowActive(window.get())) {
        qWarning("the window did not become active");
    }
    return window;
}

QColor ForeColour(const QWidget &widget) {
    return widget.palette().color(widget.foregroundRole());
}

void ClickAndType(QWidget &control, const QString &text) {
    QTest::mouseClick(&control, Qt::LeftButton);
    TypeIntoFocus(text);
}

void TypeIntoFocus(const QString &text) {
    for (const QChar character : text) {
        if (character.unicode() < 0x80) {
            QTest::keyClicks(QApplication::focusWidget(), QString(character));
        } else {
            // A character that no key of a US keyboard types, as an input-less layout sends it.
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                                QString(character), Qt::NoModifier);
        }
    }
}

void PressIntoFocus(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

MessageBoxCatcher::MessageBoxCatcher() {
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxCatcher::closeModalBox);
    m_timer.start(10);
}

void MessageBoxCatcher::closeModalBox() {
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (box == nullptr) {
        return;
    }
    m_boxes.append({box->windowTitle(), box->text(), box->icon(), static_cast<int>(box->buttons().size())});
    if (QAbstractButton *ok = box->button(QMessageBox::Ok); ok != nullptr) {
        ok->click();
    } else {
        box->reject();
    }
}

}  // namespace taxcalc::test
