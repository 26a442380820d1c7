// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QString>

#include "engine/number_text.h"
#include "engine/period_rules.h"
#include "ui/utf8_text.h"

namespace taxcalc {

// A sum of money as the saved file writes it ("1234.50"), for the window's texts.
inline QString Yuan(Cents cents) {
    return FromUtf8(CentsForm(cents));
}

}  // namespace taxcalc
