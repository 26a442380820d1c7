// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <string_view>

#include "panels/control_surface.h"

namespace taxcalc {

// Text3 as the window builds it and as the reset leaves it: a wage at the allowance.
inline constexpr std::string_view kMonthWageDefault = "3500";

// The right-hand panel: a year-end bonus taxed by the 2011 method, with the
// blind-zone evaluation and the 2010 method beside it.
class BonusPanel {
public:
    explicit BonusPanel(ControlSurface &surface) noexcept : m_surface(surface) {}

    // Text2 and Text3 to Label16, Label17, Label20 and the evaluation Label4-Label6.
    // An entry that is empty or holds no number shows the panel's message box and
    // changes nothing else.
    void Calculate();
    // Text2 "", Text3 "3500", results and evaluation "", Label23 and Label19 blue,
    // Label14/16/18/20 hidden. Moves no focus.
    void Reset();

private:
    ControlSurface &m_surface;
};

}  // namespace taxcalc
