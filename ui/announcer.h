// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QString>
#include <QWidget>

namespace taxcalc {

// Says a short text to assistive technology whatever holds the focus: a window's
// new results, the status of a save, the row the focus moves to. An invisible widget
// of the notification role takes the text as its name and shows itself anew, which
// the toolkit's bridges present at once; a label changing its text is read by
// nothing, as it never holds the focus.
class Announcer : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent);

    // Nothing is said for an empty text.
    void announce(const QString &text);
    // What was said last.
    QString announcement() const { return accessibleName(); }
};

}  // namespace taxcalc
