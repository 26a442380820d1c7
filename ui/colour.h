// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

#include "panels/control_surface.h"

namespace taxcalc {

// Colours are written 0xBBGGRR: red in the low byte.
inline QColor ToQColor(Colour colour) {
    return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                  static_cast<int>((colour >> 16) & 0xFFu));
}

// On the palette rather than through a style sheet, so that it can be read back there.
inline void SetForeColour(QWidget &widget, Colour colour) {
    QPalette palette = widget.palette();
    palette.setColor(widget.foregroundRole(), ToQColor(colour));
    widget.setPalette(palette);
}

}  // namespace taxcalc
