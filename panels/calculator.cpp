// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "panels/calculator.h"

#include <optional>

#include "engine/number_text.h"
#include "panels/key_code.h"

namespace taxcalc {
namespace {

using namespace KeyCode;

// The two entries of one panel in the order Enter walks them, and the promotional
// label that typing in either turns back to its resting colour.
struct PanelEntries {
    Entry First;
    Entry Second;
    Label Promotion;
};

constexpr PanelEntries kWageEntries{Entry::Text5, Entry::Text4, Label::Label19};
constexpr PanelEntries kBonusEntries{Entry::Text2, Entry::Text3, Label::Label23};

// Both entries must be non-empty before either is converted; then both values,
// converted first and tested after, must be numbers that are not negative.
bool EnterMayCalculate(const ControlSurface &surface, const PanelEntries &panel) {
    const std::string first = surface.EntryText(panel.First);
    const std::string second = surface.EntryText(panel.Second);
    if (first.empty() || second.empty()) {
        return false;
    }
    const std::optional<Amount> firstValue = ParseAmount(first);
    const std::optional<Amount> secondValue = ParseAmount(second);
    return firstValue && secondValue && *firstValue >= 0 && *secondValue >= 0;
}

}  // namespace

bool PassesCharacterFilter(std::uint16_t keyCode) noexcept {
    return keyCode == Point || keyCode == Backspace || keyCode == Enter || keyCode == Escape ||
           (keyCode >= DigitZero && keyCode <= DigitNine);
}

Calculator::Calculator(ControlSurface &surface) noexcept
    : m_surface(surface), m_wage(surface), m_bonus(surface) {}

void Calculator::Load() {
    m_bonus.Reset();
    m_wage.Reset();
}

std::uint16_t Calculator::KeyPress(Entry entry, std::uint16_t keyCode) {
    const bool wagePanel = entry == Entry::Text5 || entry == Entry::Text4;
    const PanelEntries &panel = wagePanel ? kWageEntries : kBonusEntries;

    if (!PassesCharacterFilter(keyCode)) {
        keyCode = Swallowed;
    }
    if (keyCode == Enter) {
        if (entry == panel.First) {
            m_surface.FocusEntry(panel.Second);
        } else if (EnterMayCalculate(m_surface, panel)) {
            if (wagePanel) {
                m_wage.Calculate();
            } else {
                m_bonus.Calculate();
            }
        }
    }
    if (keyCode == Escape) {
        if (wagePanel) {
            m_wage.Reset();
        } else {
            m_bonus.Reset();
        }
        m_surface.FocusEntry(panel.First);
    }
    // The whole text is scanned, whatever part of it a typed point would replace.
    if (keyCode == Point && m_surface.EntryText(entry).find('.') != std::string::npos) {
        keyCode = Swallowed;
    }
    m_surface.SetForeColour(panel.Promotion, kBlue);
    return keyCode;
}

}  // namespace taxcalc
