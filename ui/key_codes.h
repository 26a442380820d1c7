// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QString>
#include <Qt>

#include <string>

namespace taxcalc {

// The 16-bit character codes that a key press types, in order, as the entries' key
// procedure expects them: Ctrl+letter 1 to 26, Backspace 8, Return and keypad Enter
// 13, Escape 27, otherwise the characters of the key's text. Empty for a key that
// types no character (arrows, Home, Delete, Tab, function keys, a bare modifier),
// which keeps its ordinary effect. The key decides before the text does: platforms
// disagree on the text of Ctrl+V ("\x16" or "v") and of Delete ("\x7f").
std::u16string KeyPressCodes(int key, Qt::KeyboardModifiers modifiers, const QString &text);

}  // namespace taxcalc
