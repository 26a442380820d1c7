// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QObject>
#include <QSet>

class QComboBox;

namespace taxcalc {

// Keeps a key meant for the table from changing a mode or a period: a combo box it
// watches takes keys only where the focus came from the user (Tab, a mnemonic, a
// click), and never the mouse wheel.
class ComboFocusPolicy : public QObject {
    Q_OBJECT

public:
    explicit ComboFocusPolicy(QObject *parent = nullptr);

    void watch(QComboBox *combo);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The combo boxes whose focus came from the user (Tab, a mnemonic, a click):
    // only these take keys, so that a key meant for the table never changes a mode.
    QSet<const QObject *> m_chosenCombos;
};

}  // namespace taxcalc
