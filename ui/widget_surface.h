// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <array>

#include "panels/control_surface.h"

class QWidget;

namespace taxcalc {

class ClickableLabel;
class NumberEntry;

// The panels' names bound to the window's real controls, found by objectName.
class WidgetSurface : public ControlSurface {
public:
    // window must already hold every entry and label that the panels name.
    explicit WidgetSurface(QWidget &window);

    NumberEntry *entry(Entry entry) const noexcept;
    ClickableLabel *label(Label label) const noexcept;

    std::string EntryText(Entry entry) const override;
    void SetEntryText(Entry entry, std::string_view text) override;
    void FocusEntry(Entry entry) override;

    void SetCaption(Label label, std::string_view caption) override;
    void SetForeColour(Label label, Colour colour) override;
    void SetVisible(Label label, bool visible) override;

    void ShowMessage(std::string_view prompt) override;

private:
    static constexpr std::size_t kEntryCount = 4;
    static constexpr std::size_t kLabelCount = 14;

    QWidget &m_window;
    std::array<NumberEntry *, kEntryCount> m_entries{};
    std::array<ClickableLabel *, kLabelCount> m_labels{};
};

}  // namespace taxcalc
