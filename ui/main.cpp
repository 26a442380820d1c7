// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <QApplication>

#include <cstdio>

#include "ui/main_form.h"

namespace {

// Without any display Qt aborts with a message about platform plugins that does not
// say what to do; say it plainly instead.
bool DisplayAvailable() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char *argv[]) {
    if (!DisplayAvailable()) {
        const char *program = argc > 0 ? argv[0] : "taxcalc";
        std::fprintf(stderr,
                     "taxcalc: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                     "Run it on a desktop session, or under a virtual X server (Debian package xvfb):\n"
                     "    xvfb-run -a -s '-screen 0 1024x768x24' %s\n"
                     "taxcalc：未找到显示器（DISPLAY 与 WAYLAND_DISPLAY 均未设置）。\n"
                     "请在桌面环境中运行，或在虚拟 X 服务器（Debian 软件包 xvfb）下运行：\n"
                     "    xvfb-run -a -s '-screen 0 1024x768x24' %s\n",
                     program, program);
        return 1;
    }
    QApplication application(argc, argv);
    // Lets a Wayland compositor match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.taxcalc.Taxcalc"));
    taxcalc::MainForm window;
    window.show();
    return QApplication::exec();
}
