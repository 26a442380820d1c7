// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/save_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include <string>
#include <vector>

#include "paysheet/overwrite_check.h"
#include "paysheet/payroll_table.h"
#include "ui/utf8_text.h"

namespace taxcalc {
namespace {

constexpr auto kWorkbookSuffix = QLatin1StringView(".xlsx");
constexpr auto kCsvSuffix = QLatin1StringView(".csv");

}  // namespace

SaveDialogs::SaveDialogs(QWidget *parent) : m_parent(parent) {}

bool SaveDialogs::SavesWorkbook(const QString &opened) {
    return QFileInfo(opened).suffix().compare(QStringLiteral("xlsx"), Qt::CaseInsensitive) == 0;
}

QString SaveDialogs::SuggestedName(const QString &opened, const QString &folder) {
    return folder + QStringLiteral("/") + QFileInfo(opened).completeBaseName() + QStringLiteral("_结果") +
           (SavesWorkbook(opened) ? kWorkbookSuffix : kCsvSuffix);
}

QString SaveDialogs::WithSuffix(const QString &path, bool workbookChosen) {
    if (!path.endsWith(kWorkbookSuffix, Qt::CaseInsensitive) &&
        !path.endsWith(kCsvSuffix, Qt::CaseInsensitive)) {
        return path + (workbookChosen ? kWorkbookSuffix : kCsvSuffix);
    }
    return path;
}

QString SaveDialogs::chooseFileToSave(const QString &opened, const QString &folder) const {
    // A workbook is saved as a workbook, a CSV file as CSV, unless the user picks otherwise.
    const QString workbookFilter = QStringLiteral("Excel 工作簿 (*.xlsx)");
    const QString csvFilter = QStringLiteral("CSV 文件 (*.csv)");
    QString filter = SavesWorkbook(opened) ? workbookFilter : csvFilter;
    // The dialog would ask about replacing the name as typed, before the extension is
    // added below: the final name is asked about here instead.
    const QString path = QFileDialog::getSaveFileName(
        m_parent, QStringLiteral("另存为"), SuggestedName(opened, folder),
        workbookFilter + QStringLiteral(";;") + csvFilter, &filter, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) {
        return {};
    }
    return WithSuffix(path, filter == workbookFilter);
}

bool SaveDialogs::mayReplace(const QString &path, const PayrollTable *table, const Computation &computation,
                             const QString &opened) const {
    if (!QFileInfo::exists(path) || table == nullptr) {
        return true;
    }
    const QString name = QFileInfo(path).fileName();
    OverwriteCheck::Verdict verdict = OverwriteCheck::Verdict::Refuse;
    std::vector<std::string> lost;
    std::string error;
    QStringList items;
    if (!OverwriteCheck::Judge(*table, computation, QFile::encodeName(opened).toStdString(),
                               QFile::encodeName(path).toStdString(), verdict, lost, error)) {
        verdict = OverwriteCheck::Verdict::Refuse;
        items << FromUtf8(error);
    }
    for (const std::string &item : lost) {
        items << FromUtf8(item);
    }
    const QString listed = items.join(QStringLiteral("、"));
    QMessageBox box(QMessageBox::Warning, QStringLiteral("另存为"), QString(), QMessageBox::Cancel, m_parent);
    box.setObjectName(QStringLiteral("replaceQuestion"));
    QPushButton *replace = nullptr;
    switch (verdict) {
        case OverwriteCheck::Verdict::Refuse:
            box.setObjectName(QStringLiteral("replaceRefusal"));
            box.setText(
                QStringLiteral("不能保存到 %1：保存会丢失其中的%2。\n请另选一个文件名。").arg(name, listed));
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case OverwriteCheck::Verdict::ReplaceInput:
            box.setText(
                QStringLiteral("%1 就是打开的文件。保存会用计算结果替换它%2。\n要替换原文件吗？")
                    .arg(name, items.isEmpty() ? QString() : QStringLiteral("，并丢失其中的") + listed));
            replace = box.addButton(QStringLiteral("替换原文件(&R)"), QMessageBox::DestructiveRole);
            break;
        case OverwriteCheck::Verdict::Replace:
            box.setIcon(QMessageBox::Question);
            box.setText(QStringLiteral("%1 已存在。要替换它吗？").arg(name));
            replace = box.addButton(QStringLiteral("替换(&R)"), QMessageBox::AcceptRole);
            break;
    }
    // Enter keeps the file.
    box.setDefaultButton(verdict == OverwriteCheck::Verdict::Refuse ? QMessageBox::Ok : QMessageBox::Cancel);
    box.exec();
    return replace != nullptr && box.clickedButton() == replace;
}

}  // namespace taxcalc
