// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The rules of one tax year as a clerk reads them, in Chinese, from the law's table:
// each rule with its amounts or its table, the days it holds between and its
// source; then the rules that have ended before the year, and those still to come.
#pragma once

#include <string>

namespace taxcalc {

// A year before comprehensive income gets one line that says from when its rules hold.
std::string RulesListing(int year);

}  // namespace taxcalc
