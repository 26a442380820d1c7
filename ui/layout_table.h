// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Every control of the window as built, in the order it is created. Positions and
// sizes are in twips (15 to a logical pixel), measured inside the container.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "panels/control_surface.h"

namespace taxcalc {

inline constexpr int kTwipsPerPixel = 15;  // at 96 dots per inch
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kClientWidthTwips = 11430;
inline constexpr int kClientHeightTwips = 8415;
inline constexpr std::string_view kWindowCaption = "最新2011年终奖计算器_最新2011年个税计算器";

enum class ControlKind {
    Frame,
    TextEntry,
    Button,
    AutoSizeLabel,  // follows its caption in both directions
    WrappingLabel,  // keeps its width, follows its caption in height
    FixedLabel,     // keeps its box; wraps and clips
    Picture,
};

enum class FontRole { Panel, Title, Figure, Notice, Standard };

struct ControlRow {
    std::string_view Name;
    ControlKind Kind;
    std::string_view Container;  // empty: the window itself
    int Left;
    int Top;
    int Width;
    int Height;
    std::string_view Text;  // "\r\n" starts a new line
    FontRole Font;
    std::optional<Colour> ForeColour;
    std::string_view AccessibleName;  // empty: the toolkit's own; of a label: what it shows
};

struct LineSpec {
    std::string_view Name;
    std::string_view Container;
    int X1;
    int Y1;
    int X2;
    int Y2;
};

// Twips are a length: at 120 dots per inch a box is a quarter wider in pixels than
// at 96, as its text is.
constexpr int TwipsToPixels(int twips, int dotsPerInch) noexcept {
    return (twips * dotsPerInch + kTwipsPerInch / 2) / kTwipsPerInch;
}

std::span<const ControlRow> ControlTable() noexcept;
std::span<const LineSpec> LineTable() noexcept;

}  // namespace taxcalc
