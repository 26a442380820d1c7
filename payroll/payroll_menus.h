// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QList>
#include <QObject>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace taxcalc {

// The payroll window's menu bar: its items with their names, mnemonics and keys,
// and what the user chose from it. Only 退出 closes the window itself.
class PayrollMenus : public QObject {
    Q_OBJECT

public:
    explicit PayrollMenus(QMainWindow *window);

    QMenu *recentMenu() const noexcept { return m_recentMenu; }
    // Copying and selecting all are the table's own shortcuts, so that the summary's
    // and the find box's text copy and select as text.
    void addRowActions(QWidget *rows) const;
    QAction *saveAction() const noexcept { return m_saveAction; }
    QAction *computeAction() const noexcept { return m_computeAction; }
    QAction *markedOnlyAction() const noexcept { return m_markedOnlyAction; }

signals:
    void openChosen();
    void saveChosen();
    void copyChosen();
    void selectAllChosen();
    void findChosen();
    void findNextChosen(bool forward);
    void computeChosen();
    void markedOnlyToggled(bool markedOnly);
    void aboutChosen();

private:
    QAction *m_saveAction = nullptr;
    QMenu *m_recentMenu = nullptr;
    // 复制所选行 and 全选, which the rows take as their own.
    QList<QAction *> m_rowActions;
    QAction *m_computeAction = nullptr;
    QAction *m_markedOnlyAction = nullptr;
};

}  // namespace taxcalc
