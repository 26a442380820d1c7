// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <string_view>

namespace taxcalc {

// What `taxcalc-payroll --help` prints, in Chinese and then in English: every mode
// that the window offers, by its title and summary as its description gives them,
// and every format the window opens. The manual page is made from it.
std::string_view PayrollHelpText();

}  // namespace taxcalc
