// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/application_setup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace taxcalc {

bool PrepareApplication(QApplication &application) {
    // Lets a Wayland compositor match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.taxcalc.Taxcalc"));
    // The window is Chinese throughout, so Qt's texts are too, not the desktop's
    // language. Without the translation (Debian qt6-translations-l10n) they stay English.
    auto *translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace taxcalc
