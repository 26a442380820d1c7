// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QHash>
#include <QObject>

#include "panels/calculator.h"

class QKeyEvent;
class QLineEdit;

namespace taxcalc {

// One filter on the four entries: each key press that types a character runs the
// entries' key procedure before the entry sees it. A code of 0 swallows the key; a
// code other than the one typed reaches the entry in its place.
class KeyFilter : public QObject {
    Q_OBJECT

public:
    explicit KeyFilter(Calculator &calculator);

    void watch(QLineEdit *lineEdit, Entry entry);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool filterKeyPress(QLineEdit *lineEdit, Entry entry, const QKeyEvent &event);
    void deliver(QLineEdit *lineEdit, char16_t code);

    Calculator &m_calculator;
    QHash<QObject *, Entry> m_entries;
    bool m_delivering = false;
};

}  // namespace taxcalc
