// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/number_entry.h"

#include <QInputMethodEvent>

namespace taxcalc {

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

}  // namespace taxcalc
