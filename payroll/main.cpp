// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <QApplication>
#include <QFont>
#include <QStringList>

#include <optional>

#include "payroll/payroll_help.h"
#include "payroll/payroll_window.h"
#include "ui/application_setup.h"

int main(int argc, char *argv[]) {
    if (const std::optional<int> status = taxcalc::AnswerBeforeWindow(
            argc, argv, "taxcalc-payroll", taxcalc::PayrollHelpText(), TAXCALC_VERSION)) {
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
