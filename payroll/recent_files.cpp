// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/recent_files.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace taxcalc {
namespace {

constexpr auto kRecentKey = QLatin1StringView("payroll/recentFiles");
constexpr auto kFolderKey = QLatin1StringView("payroll/lastFolder");

}  // namespace

RecentFiles::RecentFiles(QMenu *menu, QObject *parent) : QObject(parent), m_recentMenu(menu) {}

QStringList RecentFiles::Listed(QStringList recent, const QString &absolute) {
    recent.removeAll(absolute);
    recent.prepend(absolute);
    while (recent.size() > kRecentFiles) {
        recent.removeLast();
    }
    return recent;
}

void RecentFiles::rememberFile(const QString &path) {
    QSettings settings;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    settings.setValue(kRecentKey, Listed(settings.value(kRecentKey).toStringList(), absolute));
    settings.setValue(kFolderKey, QFileInfo(absolute).absolutePath());
    fillRecentFiles();
}

void RecentFiles::rememberFolder(const QString &folder) {
    QSettings().setValue(kFolderKey, folder);
}

QString RecentFiles::folder(const QString &fallback) const {
    return QSettings().value(kFolderKey, fallback).toString();
}

void RecentFiles::fillRecentFiles() {
    m_recentMenu->clear();
    const QStringList recent = QSettings().value(kRecentKey).toStringList();
    int number = 0;
    for (const QString &path : recent) {
        ++number;
        // The number is the item's key; the folder tells apart files of one name.
        QAction *item = m_recentMenu->addAction(
            QStringLiteral("&%1 %2  （%3）")
                .arg(number)
                .arg(QFileInfo(path).fileName(), QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
        item->setData(path);
        connect(item, &QAction::triggered, this, [this, path] { emit chosen(path); });
    }
    m_recentMenu->setEnabled(!recent.isEmpty());
}

}  // namespace taxcalc
