// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include "ui/clickable_label.h"

namespace taxcalc {

// An image drawn from its top-left corner on the window background colour, without
// a border, reporting clicks like a label.
class PictureBox : public ClickableLabel {
    Q_OBJECT

public:
    PictureBox(const QPixmap &picture, QWidget *parent);
};

}  // namespace taxcalc
