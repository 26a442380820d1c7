// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <string>

namespace taxcalc {

// What a failed system call's error number means, in the user's words: the usual
// reasons a file cannot be read or written in Chinese, any other as the C library
// says it.
std::string SystemErrorText(int number);

}  // namespace taxcalc
