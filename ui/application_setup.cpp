// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/application_setup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <string>

namespace taxcalc {

bool PrepareApplication(QApplication &application, const QString &desktopEntry) {
    // Lets a Wayland compositor match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(desktopEntry);
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

namespace {

enum class Request { Window, Help, Version };

Request Requested(int argc, char *argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            break;
        }
        if (argument == "-h" || argument == "--help") {
            return Request::Help;
        }
        if (argument == "--version") {
            return Request::Version;
        }
    }
    return Request::Window;
}

bool DisplayAvailable() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace

std::optional<int> AnswerBeforeWindow(int argc, char *argv[], std::string_view program, std::string_view help,
                                      std::string_view version) {
    switch (Requested(argc, argv)) {
        case Request::Help:
            std::fwrite(help.data(), 1, help.size(), stdout);
            return 0;
        case Request::Version:
            std::printf("%.*s %.*s\n", static_cast<int>(program.size()), program.data(),
                        static_cast<int>(version.size()), version.data());
            return 0;
        case Request::Window:
            break;
    }
    if (DisplayAvailable()) {
        return std::nullopt;
    }
    const std::string name(program);
    const char *command = argc > 0 ? argv[0] : name.c_str();
    std::fprintf(stderr,
                 "%s: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                 "Run it on a desktop session, or under a virtual X server (Debian package xvfb):\n"
                 "    xvfb-run -a -s '-screen 0 1024x768x24' %s\n"
                 "%s：未找到显示器（DISPLAY 与 WAYLAND_DISPLAY 均未设置）。\n"
                 "请在桌面环境中运行，或在虚拟 X 服务器（Debian 软件包 xvfb）下运行：\n"
                 "    xvfb-run -a -s '-screen 0 1024x768x24' %s\n",
                 name.c_str(), command, name.c_str(), command);
    return 1;
}

}  // namespace taxcalc
