// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QWidget>

#include <string_view>

#include "ui/utf8_text.h"

namespace taxcalc {

// The control of that name and kind, which the layout tables promise; a window
// without it is a build fault, stopped at once rather than crashing later.
template <typename Widget = QWidget>
Widget *RequireControl(const QWidget &window, std::string_view name) {
    auto *control = window.findChild<Widget *>(FromUtf8(name));
    if (control == nullptr) {
        qFatal("The window has no control named %.*s", static_cast<int>(name.size()), name.data());
    }
    return control;
}

// Creates every control of the layout tables on the window, each named after its
// name in the window, with its place, size, text, font and colour as built, sized
// for the window's dots per inch. Labels and lines end up beneath the entries,
// buttons and pictures of their container.
void BuildControls(QWidget &window);

}  // namespace taxcalc
