// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

class QAction;
class QMainWindow;
class QMenu;

namespace taxcalc {

// The payroll window's menu bar: its items with their names, mnemonics and keys.
// What an item does is the window's to connect; only 退出 closes the window itself.
class PayrollMenus {
public:
    explicit PayrollMenus(QMainWindow *window);

    QAction *openAction() const noexcept { return m_openAction; }
    QAction *saveAction() const noexcept { return m_saveAction; }
    QMenu *recentMenu() const noexcept { return m_recentMenu; }
    // Both are the table's own shortcuts, so that the summary's and the find box's
    // text copy and select as text: the window adds them to the table.
    QAction *copyAction() const noexcept { return m_copyAction; }
    QAction *selectAllAction() const noexcept { return m_selectAllAction; }
    QAction *findAction() const noexcept { return m_findAction; }
    QAction *findNextAction() const noexcept { return m_findNextAction; }
    QAction *findPreviousAction() const noexcept { return m_findPreviousAction; }
    QAction *computeAction() const noexcept { return m_computeAction; }
    QAction *markedOnlyAction() const noexcept { return m_markedOnlyAction; }
    QAction *aboutAction() const noexcept { return m_aboutAction; }

private:
    QAction *m_openAction = nullptr;
    QAction *m_saveAction = nullptr;
    QMenu *m_recentMenu = nullptr;
    QAction *m_copyAction = nullptr;
    QAction *m_selectAllAction = nullptr;
    QAction *m_findAction = nullptr;
    QAction *m_findNextAction = nullptr;
    QAction *m_findPreviousAction = nullptr;
    QAction *m_computeAction = nullptr;
    QAction *m_markedOnlyAction = nullptr;
    QAction *m_aboutAction = nullptr;
};

}  // namespace taxcalc
