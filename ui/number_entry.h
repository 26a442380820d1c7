// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QLineEdit>

namespace taxcalc {

// A single-line entry that takes characters only as key presses, which the key
// filter sees first. An input method would commit text straight into a QLineEdit,
// past any key filter, so the entry declines input methods altogether; dropped text
// is declined as well. Pasting from the context menu stays possible; the menu names
// no shortcut that the key filter swallows.
class NumberEntry : public QLineEdit {
    Q_OBJECT

public:
    explicit NumberEntry(QWidget *parent);

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    void inputMethodEvent(QInputMethodEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
};

}  // namespace taxcalc
