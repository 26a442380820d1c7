// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// What the panels may do to the window, and nothing more. The window binds these
// names to its real controls; the tests bind them to an in-memory recorder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace taxcalc {

enum class Entry { Text2, Text3, Text4, Text5 };

enum class Label {
    Label4,
    Label5,
    Label6,
    Label14,
    Label16,
    Label17,
    Label18,
    Label19,
    Label20,
    Label23,
    Label26,
    Label28,
    Label29,
    Label34,
};

// 0xBBGGRR, as the window's colour properties are written.
using Colour = std::uint32_t;
inline constexpr Colour kBlue = 0xFF0000;
inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kBlack = 0x000000;

// The control's objectName in the window ("Text5", "Label29").
std::string_view EntryName(Entry entry) noexcept;
std::string_view LabelName(Label label) noexcept;

// Texts are UTF-8. In a caption "\r\n" starts a new line.
class ControlSurface {
public:
    virtual ~ControlSurface() = default;

    virtual std::string EntryText(Entry entry) const = 0;
    virtual void SetEntryText(Entry entry, std::string_view text) = 0;
    virtual void FocusEntry(Entry entry) = 0;

    virtual void SetCaption(Label label, std::string_view caption) = 0;
    virtual void SetForeColour(Label label, Colour colour) = 0;
    virtual void SetVisible(Label label, bool visible) = 0;

    // Modal, with one OK button and the application's title; returns when closed.
    virtual void ShowMessage(std::string_view prompt) = 0;
};

}  // namespace taxcalc
