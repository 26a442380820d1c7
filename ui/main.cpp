// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <QApplication>

#include <cstdio>
#include <string_view>

#include "ui/application_setup.h"
#include "ui/main_form.h"

namespace {

constexpr std::string_view kHelp =
    R"(用法：taxcalc [选项]

打开个人所得税计算器窗口。左边的面板按 2011 年与 2010 年的税率比较一个月薪的个税；
右边的面板按 2011 年的方法计算年终奖的个税，年终奖落在盲区时建议改为盲区的下限。
窗口需要图形桌面（X11 或 Wayland）和 AR PL UKai 字体（Debian 软件包 fonts-arphic-ukai）。
  -h, --help          显示本说明
      --version       显示版本
另接受 Qt 的通用选项，如 -platform。整张工资表请用 taxcalc-batch。

Usage: taxcalc [OPTION]

Opens the income tax calculator window. The left panel compares the tax on a
monthly wage under the 2011 and the 2010 schedules; the right panel taxes a
year-end bonus by the 2011 method and, where the bonus sits in a blind zone,
recommends the zone's lower edge instead.
The window needs a desktop (X11 or Wayland) and the AR PL UKai fonts (Debian
package fonts-arphic-ukai).
  -h, --help          show this help
      --version       show the version
Qt's common options, such as -platform, are accepted as well. For a whole
payroll file use taxcalc-batch.
)";

enum class Request { Window, Help, Version };

// Answered before Qt starts: neither needs a display.
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

// Without any display Qt aborts with a message about platform plugins that does not
// say what to do; say it plainly instead.
bool DisplayAvailable() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char *argv[]) {
    switch (Requested(argc, argv)) {
        case Request::Help:
            std::fwrite(kHelp.data(), 1, kHelp.size(), stdout);
            return 0;
        case Request::Version:
            std::printf("taxcalc %s\n", TAXCALC_VERSION);
            return 0;
        case Request::Window:
            break;
    }
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
    taxcalc::PrepareApplication(application);
    taxcalc::MainForm window;
    window.show();
    return QApplication::exec();
}
