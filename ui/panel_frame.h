// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QGroupBox>

namespace taxcalc {

// A group box drawn flat on the dialog face colour: an etched border with the
// caption at its top left, set into the border line. Some styles tint a group box's
// inside, which would set the opaque labels off as lighter patches.
class PanelFrame : public QGroupBox {
    Q_OBJECT

public:
    PanelFrame(const QString &caption, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

}  // namespace taxcalc
