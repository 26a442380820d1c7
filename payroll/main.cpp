// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <QApplication>
#include <QFont>
#include <QStringList>

#include <optional>
#include <string_view>

#include "payroll/payroll_window.h"
#include "ui/application_setup.h"

namespace {

constexpr std::string_view kHelp =
    R"(用法：taxcalc-payroll [选项] [文件]

打开工资表个税窗口。整张工资表（CSV 或 .xlsx）逐行按所选方式计算：年终奖、工资、
税后反推年终奖、税后反推工资或最优分配，税法期间可选；落在年终奖盲区的行和未能计算的行
标出，并给出合计。结果可另存为 .xlsx 或 CSV，与 taxcalc-batch 写出的相同。
  -h, --help          显示本说明
      --version       显示版本
另接受 Qt 的通用选项，如 -platform。

Usage: taxcalc-payroll [OPTION] [FILE]

Opens the payroll window. Every row of a payroll file (CSV or .xlsx) is computed
in the chosen mode (year-end bonus, wage, gross bonus for a net, gross wage for a
net, best split) under the chosen period; rows in a blind zone and refused rows
are marked, and the whole file is summed. The result saves as .xlsx or CSV, the
same as taxcalc-batch writes.
  -h, --help          show this help
      --version       show the version
Qt's common options, such as -platform, are accepted as well.
)";

}  // namespace

int main(int argc, char *argv[]) {
    if (const std::optional<int> status =
            taxcalc::AnswerBeforeWindow(argc, argv, "taxcalc-payroll", kHelp, TAXCALC_VERSION)) {
        return *status;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("工资表个税"));
    // Where the window keeps its size, its recent files and its last folder.
    QApplication::setOrganizationName(QStringLiteral("taxcalc"));
    QApplication::setApplicationName(QStringLiteral("taxcalc-payroll"));
    taxcalc::PrepareApplication(application, QStringLiteral("io.github.taxcalc.TaxcalcPayroll"));
    // A sans CJK face behind the platform's own, so that Chinese cells do not fall
    // back to whatever face happens to hold the characters.
    QFont font = QApplication::font();
    QStringList families = font.families();
    if (families.isEmpty()) {
        families.append(font.family());
    }
    families.append(QStringLiteral("WenQuanYi Micro Hei"));
    font.setFamilies(families);
    QApplication::setFont(font);
    taxcalc::PayrollWindow window;
    window.show();
    // The first argument that is not an option of Qt's, which QApplication has taken out.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        window.openFile(arguments.at(1));
    }
    return QApplication::exec();
}
