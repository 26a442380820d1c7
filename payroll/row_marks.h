// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

#include "paysheet/payroll_outcomes.h"

namespace taxcalc {

// How the window marks a row in a blind zone and a refused row, everywhere it
// shows one: a pale background, a drawn icon (a triangle with "!", a circle with
// "×") so that colour is never the only sign, and a name that screen readers read.
QColor RowMarkColour(RowState state);
QIcon RowMarkIcon(RowState state);
// An advised row of the bonus modes sits in a blind zone; in the others it could
// pay less tax another way.
QString RowMarkName(RowState state, BatchMode mode);

}  // namespace taxcalc
