// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/key_codes.h"

#include <algorithm>

#include "panels/key_code.h"

namespace taxcalc {
namespace {

bool TypesCharacters(const QString &text) {
    return !text.isEmpty() && std::none_of(text.cbegin(), text.cend(),
                                           [](QChar c) { return c.category() == QChar::Other_Control; });
}

}  // namespace

std::u16string KeyPressCodes(int key, Qt::KeyboardModifiers modifiers, const QString &text) {
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return {};
        case Qt::Key_Backspace:
            return {KeyCode::Backspace};
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return {KeyCode::Enter};
        case Qt::Key_Escape:
            return {KeyCode::Escape};
        default:
            break;
    }
    if (modifiers.testFlag(Qt::ControlModifier) && !modifiers.testFlag(Qt::AltModifier)) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z) {
            return {static_cast<char16_t>(key - Qt::Key_A + 1)};
        }
        // Ctrl with a digit or a sign types nothing.
        return {};
    }
    if (!TypesCharacters(text)) {
        return {};
    }
    return text.toStdU16String();
}

}  // namespace taxcalc
