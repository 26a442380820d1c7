// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QWidget>

namespace taxcalc {

// Says a short text to assistive technology whatever holds the focus: the status
// of a save, a failure, a cancelled run, and the row the focus moves to. An
// invisible widget of the notification role takes the text as its name and shows
// itself anew, which the toolkit's bridges present at once; a label changing its
// text is read by nothing.
class StatusAnnouncer : public QWidget {
    Q_OBJECT

public:
    explicit StatusAnnouncer(QWidget *parent);

    void announce(const QString &text);
    // What was said last.
    QString announcement() const { return accessibleName(); }
};

}  // namespace taxcalc
