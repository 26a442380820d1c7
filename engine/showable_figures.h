// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Whether every figure a result shows is finite. Pasted figures near the top of the
// double range can push a taxable income to infinity; the window and the batch tool
// refuse such an attempt before they write anything.
#pragma once

#include "engine/tax_engine.h"

namespace taxcalc {

bool ShowableFigures(const WageTaxComparison &result) noexcept;

// The advice's amounts are zero outside a blind zone, so they are checked always.
bool ShowableFigures(const BonusTaxComparison &result, const BonusAdvice &advice) noexcept;

}  // namespace taxcalc
