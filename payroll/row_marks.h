// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QColor>
#include <QIcon>
#include <QPalette>
#include <QString>

#include "paysheet/payroll_outcomes.h"

namespace taxcalc {

// How the window marks a row in a blind zone and a refused row, everywhere it
// shows one: a tinted background, a drawn icon (a triangle with "!", a circle with
// "×") so that colour is never the only sign, and a name that screen readers read.
//
// The background and the text are chosen together, never the one fixed and the
// other the palette's: pale tints with dark text on a light base, deep tints with
// light text on a dark one, each pair at least 4.5:1 apart.
struct RowMarkPaint {
    QColor Background;
    QColor Text;
};
RowMarkPaint RowMarkColours(RowState state, bool darkBase);
// The same for the palette a view paints with, judged by its base colour.
RowMarkPaint RowMarkColours(RowState state, const QPalette &palette);
QIcon RowMarkIcon(RowState state);
// An advised row of the bonus modes sits in a blind zone; in the others it could
// pay less tax another way.
QString RowMarkName(RowState state, BatchMode mode);

}  // namespace taxcalc
