// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QMenu;

namespace taxcalc {

// The files opened last, latest first, and the folder last used, kept in QSettings
// for the next window; the menu lists them, each under its number as its key.
class RecentFiles : public QObject {
    Q_OBJECT

public:
    static constexpr int kRecentFiles = 8;

    RecentFiles(QMenu *menu, QObject *parent = nullptr);

    // Puts the file first in the list, and its folder as the last one used.
    void rememberFile(const QString &path);
    void rememberFolder(const QString &folder);
    // The folder last used, or `fallback` before any.
    QString folder(const QString &fallback) const;
    // The menu from what is remembered.
    void fillRecentFiles();

    // The list with `absolute` first, once, and no more than kRecentFiles files.
    static QStringList Listed(QStringList recent, const QString &absolute);

signals:
    // A file chosen from the menu.
    void chosen(const QString &path);

private:
    QMenu *m_recentMenu;
};

}  // namespace taxcalc
