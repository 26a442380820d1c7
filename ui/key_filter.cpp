// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/key_filter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "panels/key_code.h"
#include "ui/key_codes.h"

namespace taxcalc {
namespace {

// The key whose press types the code: the entry inserts the event's text, and reads
// Backspace, Enter, Escape and Ctrl+letter from its key.
QKeyEvent KeyEventTyping(char16_t code) {
    switch (code) {
        case KeyCode::Backspace:
            return QKeyEvent(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
        case KeyCode::Enter:
            return QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        case KeyCode::Escape:
            return QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
        default:
            break;
    }
    const QString text(QChar{code});
    if (code <= KeyCode::LastControlLetter) {
        return QKeyEvent(QEvent::KeyPress, Qt::Key_A + code - 1, Qt::ControlModifier, text);
    }
    const int key = code < 0x80 ? int{QChar{code}.toUpper().unicode()} : int{Qt::Key_unknown};
    return QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text);
}

}  // namespace

KeyFilter::KeyFilter(Calculator &calculator) : m_calculator(calculator) {}

void KeyFilter::watch(QLineEdit *lineEdit, Entry entry) {
    m_entries.insert(lineEdit, entry);
    lineEdit->installEventFilter(this);
}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress || m_delivering) {
        return false;
    }
    const auto found = m_entries.constFind(watched);
    if (found == m_entries.cend()) {
        return false;
    }
    return filterKeyPress(static_cast<QLineEdit *>(watched), found.value(),
                          static_cast<const QKeyEvent &>(*event));
}

bool KeyFilter::filterKeyPress(QLineEdit *lineEdit, Entry entry, const QKeyEvent &event) {
    const std::u16string codes = KeyPressCodes(event.key(), event.modifiers(), event.text());
    if (codes.empty()) {
        return false;
    }
    if (codes.size() == 1) {
        const char16_t left = m_calculator.KeyPress(entry, codes.front());
        if (left == codes.front()) {
            return false;
        }
        if (left != KeyCode::Swallowed) {
            deliver(lineEdit, left);
        }
        return true;
    }
    // A key that types several characters at once: each meets the procedure on its
    // own, seeing the text as the characters before it left it.
    for (const char16_t code : codes) {
        const char16_t left = m_calculator.KeyPress(entry, code);
        if (left != KeyCode::Swallowed) {
            deliver(lineEdit, left);
        }
    }
    return true;
}

void KeyFilter::deliver(QLineEdit *lineEdit, char16_t code) {
    QKeyEvent typed = KeyEventTyping(code);
    m_delivering = true;
    QCoreApplication::sendEvent(lineEdit, &typed);
    m_delivering = false;
}

}  // namespace taxcalc
