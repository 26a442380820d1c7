// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

class QApplication;

namespace taxcalc {

// What the program sets up before its window: Qt's own texts (message box buttons,
// the entries' context menu) in Chinese like the rest of the window, whatever the
// desktop's language, and the name that ties the window to its desktop entry.
// Returns whether Qt's Chinese translation was found.
bool PrepareApplication(QApplication &application);

}  // namespace taxcalc
