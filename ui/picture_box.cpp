// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/picture_box.h"

namespace taxcalc {

PictureBox::PictureBox(const QPixmap &picture, QWidget *parent) : ClickableLabel(Sizing::Fixed, parent) {
    setBackgroundRole(QPalette::Base);
    setPixmap(picture);
    setMouseTracking(false);
}

}  // namespace taxcalc
