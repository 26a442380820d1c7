// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

namespace taxcalc {

// Which panel's figures a run computes for each row.
enum class BatchMode { Bonus, Wage };

}  // namespace taxcalc
