// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <QApplication>

#include <optional>
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

}  // namespace

int main(int argc, char *argv[]) {
    if (const std::optional<int> status =
            taxcalc::AnswerBeforeWindow(argc, argv, "taxcalc", kHelp, TAXCALC_VERSION)) {
        return *status;
    }
    QApplication application(argc, argv);
    taxcalc::PrepareApplication(application, QStringLiteral("io.github.taxcalc.Taxcalc"));
    taxcalc::MainForm window;
    window.show();
    return QApplication::exec();
}
