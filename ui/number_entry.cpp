// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/number_entry.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeySequence>
#include <QMenu>

#include <algorithm>
#include <memory>
#include <string>

#include "panels/calculator.h"
#include "ui/key_codes.h"

namespace taxcalc {
namespace {

// Ctrl+Z and its kind type a control character, which the entries' key procedure
// swallows before the entry could act on it.
bool FilterSwallows(const QKeySequence &shortcut) {
    if (shortcut.isEmpty()) {
        return false;
    }
    const QKeyCombination first = shortcut[0];
    const std::u16string codes = KeyPressCodes(first.key(), first.keyboardModifiers(), QString());
    return std::any_of(codes.cbegin(), codes.cend(),
                       [](char16_t code) { return !PassesCharacterFilter(code); });
}

}  // namespace

NumberEntry::NumberEntry(QWidget *parent) : QLineEdit(parent) {
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

QVariant NumberEntry::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (query == Qt::ImEnabled) {
        return false;
    }
    return QLineEdit::inputMethodQuery(query);
}

// Whatever an input method still sends is dropped: its text never met the filter.
void NumberEntry::inputMethodEvent(QInputMethodEvent *event) {
    event->ignore();
}

// The menu's own entries write their shortcut after a tab ("撤消(&U)\tCtrl+Z").
void NumberEntry::contextMenuEvent(QContextMenuEvent *event) {
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    for (QAction *action : menu->actions()) {
        const QString text = action->text();
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        if (tab >= 0 && FilterSwallows(QKeySequence(text.mid(tab + 1), QKeySequence::NativeText))) {
            action->setText(text.left(tab));
        }
    }
    menu->exec(event->globalPos());
}

}  // namespace taxcalc
