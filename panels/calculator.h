// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <cstdint>

#include "panels/bonus_panel.h"
#include "panels/control_surface.h"
#include "panels/wage_panel.h"

namespace taxcalc {

// The character filter of the key procedure: digits, ".", Backspace, Enter and Esc
// pass; every other code is swallowed.
bool PassesCharacterFilter(std::uint16_t keyCode) noexcept;

// Both panels on one surface, and the key-press procedure of the four entries. The
// window forwards its button clicks and key presses here and owns nothing else.
class Calculator {
public:
    explicit Calculator(ControlSurface &surface) noexcept;

    // Start-up: the bonus panel's reset, then the wage panel's.
    void Load();

    WagePanel &Wage() noexcept { return m_wage; }
    BonusPanel &Bonus() noexcept { return m_bonus; }

    // The key-press procedure of an entry, run before the character is inserted:
    // character filter, Enter, Esc, single decimal point, resting colour. Returns
    // the key code left; 0 swallows the key.
    std::uint16_t KeyPress(Entry entry, std::uint16_t keyCode);

private:
    ControlSurface &m_surface;
    WagePanel m_wage;
    BonusPanel m_bonus;
};

}  // namespace taxcalc
