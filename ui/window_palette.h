// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QColor>
#include <QPalette>

class QStyle;

namespace taxcalc {

// The window's colours are fixed for a light face: its blue, black, red, magenta and
// orange texts would be unreadable on a dark one. The desktop's palette is kept
// while its face is light; a dark one gives way to the style's own light palette.
QPalette WindowPalette(const QPalette &desktop, const QStyle &style);

bool IsDarkPalette(const QPalette &palette);

// The contrast ratio of two colours, 1 (equal) to 21 (black on white), from their
// relative luminance in sRGB.
double ContrastRatio(const QColor &a, const QColor &b);

}  // namespace taxcalc
