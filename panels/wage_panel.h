// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <string_view>

#include "panels/control_surface.h"

namespace taxcalc {

// Text4 as the window builds it and as the reset leaves it: no deductions.
inline constexpr std::string_view kDeductionsDefault = "0";

// The left-hand panel: a monthly wage's tax under the 2010 and the 2011 schedule.
class WagePanel {
public:
    explicit WagePanel(ControlSurface &surface) noexcept : m_surface(surface) {}

    // Text5 and Text4 to Label29, Label28, Label34, Label26; Label19 blue. An entry
    // that is empty or holds no number, or figures too large to show, are refused with
    // a message box and change nothing else.
    void Calculate();
    // Text5 "", Text4 "0", the four results "", Label19 blue. Moves no focus.
    void Reset();

private:
    ControlSurface &m_surface;
};

}  // namespace taxcalc
