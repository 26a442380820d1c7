// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Lines of the programs' help on a terminal of 80 columns, where a Chinese character
// takes two.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace taxcalc {

inline constexpr std::size_t kHelpWidth = 80;

// The columns that UTF-8 text takes: one for ASCII, two for anything else.
std::size_t DisplayWidth(std::string_view text) noexcept;

// The text after `lead` on lines of at most kHelpWidth columns where it can be
// broken, the lines after the first indented by `indent` spaces; each line ends in
// a line end. Broken at a blank, which goes, or beside a Chinese character, but never
// before a closing mark or after an opening one.
// With `atMarksOnly`, for a list of names, only at a blank or after a mark.
std::string Wrapped(std::string_view lead, std::string_view text, std::size_t indent,
                    bool atMarksOnly = false);

// The text with spaces after it up to `width` columns, and at least two.
std::string Padded(std::string_view text, std::size_t width);

}  // namespace taxcalc
