// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <string_view>

class QWidget;

namespace taxcalc {

// Hands the address to the system's browser through xdg-open, started detached with
// an argument list (no shell) and not waited for. When it cannot be started, a
// message box over the window shows the address for the user to copy. Returns
// whether the browser was started.
bool OpenLink(QWidget *window, std::string_view address);

}  // namespace taxcalc
