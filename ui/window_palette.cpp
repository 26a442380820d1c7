// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/window_palette.h"

#include <QStyle>

#include <algorithm>
#include <cmath>

namespace taxcalc {
namespace {

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor &colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * Linear(rgb.red()) + 0.7152 * Linear(rgb.green()) + 0.0722 * Linear(rgb.blue());
}

}  // namespace

double ContrastRatio(const QColor &a, const QColor &b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Dark: the face is darker than the text written on it.
bool IsDarkPalette(const QPalette &palette) {
    return Luminance(palette.color(QPalette::Window)) < Luminance(palette.color(QPalette::WindowText));
}

QPalette WindowPalette(const QPalette &desktop, const QStyle &style) {
    if (!IsDarkPalette(desktop)) {
        return desktop;
    }
    QPalette light = style.standardPalette();
    if (IsDarkPalette(light)) {
        // A style whose own palette is dark as well: the plain light one.
        light = QPalette(Qt::black, QColor(0xEF, 0xEF, 0xEF), Qt::white, QColor(0xA0, 0xA0, 0xA0),
                         QColor(0xB8, 0xB8, 0xB8), Qt::black, Qt::white, Qt::white, QColor(0xEF, 0xEF, 0xEF));
    }
    return light;
}

}  // namespace taxcalc
