// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <string_view>

namespace taxcalc {

// What `taxcalc-batch --help` prints: the usage of every command and the modes, told
// by the commands themselves, then what all modes share (the columns kept, the
// amounts, the formats and encodings, the options, the exit codes), in Chinese and
// then in English. The manual page is made from it.
std::string_view BatchHelpText();

}  // namespace taxcalc
