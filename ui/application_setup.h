// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <optional>
#include <string_view>

class QApplication;
class QString;

namespace taxcalc {

// What a program sets up before its window: Qt's own texts (message box buttons,
// file dialogs, the entries' context menu) in Chinese like the rest of the window,
// whatever the desktop's language, and the name of the desktop entry (without
// .desktop) that the window belongs to. Returns whether Qt's Chinese translation
// was found.
bool PrepareApplication(QApplication &application, const QString &desktopEntry);

// What a window program does before Qt starts: --help and --version answered (the
// help text and "PROGRAM VERSION" on standard output), as neither needs a display;
// and, where there is no display at all, a plain message on standard error on how
// to get one, where Qt would abort with one about platform plugins. The exit status
// when the program ends here; nothing when the window may open.
std::optional<int> AnswerBeforeWindow(int argc, char *argv[], std::string_view program, std::string_view help,
                                      std::string_view version);

}  // namespace taxcalc
