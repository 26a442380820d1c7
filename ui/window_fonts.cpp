// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/window_fonts.h"

#include <QApplication>

namespace taxcalc {
namespace {

QFont KaiFont(qreal pointSize, QFont::Weight weight) {
    QFont font;
    font.setFamilies({QStringLiteral("楷体"), QStringLiteral("KaiTi"), QStringLiteral("AR PL UKai CN"),
                      QStringLiteral("AR PL KaitiM GB")});
    font.setPointSizeF(pointSize);
    font.setWeight(weight);
    return font;
}

// The notes at the foot were laid out for a Song face: its lines are exactly as high
// as its characters are wide, so Label1's three lines fit its box, where a sans face
// (or the Kai face) needs a fourth of a line more and cuts the last one. The
// platform's own font stays behind it for anything the Song face lacks.
QFont StandardFont() {
    QFont font = QApplication::font();
    QStringList families{QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN")};
    families.append(font.families().isEmpty() ? QStringList{font.family()} : font.families());
    font.setFamilies(families);
    font.setPointSizeF(9);
    return font;
}

}  // namespace

QFont WindowFont(FontRole role) {
    switch (role) {
        case FontRole::Panel:
            return KaiFont(12, QFont::Normal);
        case FontRole::Title:
            return KaiFont(15.75, QFont::Normal);
        case FontRole::Figure:
            return KaiFont(14.25, QFont::Normal);
        case FontRole::Notice:
            return KaiFont(14.25, QFont::Bold);
        case FontRole::Standard:
            break;
    }
    return StandardFont();
}

}  // namespace taxcalc
