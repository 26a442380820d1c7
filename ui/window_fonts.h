// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QFont>

#include "ui/layout_table.h"

namespace taxcalc {

// The Kai face is asked for by its Chinese and English names first, then by the
// names of the Kai faces that Debian ships; a single family would fall back to a
// sans face. The standard font is a Song face at 9 pt, the platform's own behind it.
QFont WindowFont(FontRole role);

}  // namespace taxcalc
