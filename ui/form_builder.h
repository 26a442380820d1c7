// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

class QWidget;

namespace taxcalc {

// Creates every control of the layout tables on the window, each named after its
// name in the window, with its place, size, text, font and colour as built. Labels
// and lines end up beneath the entries, buttons and pictures of their container.
void BuildControls(QWidget &window);

}  // namespace taxcalc
