// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/payroll_menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace taxcalc {

PayrollMenus::PayrollMenus(QMainWindow *window) {
    QMenuBar *bar = window->menuBar();
    QMenu *file = bar->addMenu(QStringLiteral("文件(&F)"));
    m_openAction = file->addAction(QStringLiteral("打开(&O)…"));
    m_openAction->setObjectName(QStringLiteral("openAction"));
    m_openAction->setShortcut(QKeySequence::Open);
    m_saveAction = file->addAction(QStringLiteral("另存为(&A)…"));
    m_saveAction->setObjectName(QStringLiteral("saveAction"));
    // Bound by its keys: the standard "save as" key is empty under several desktops.
    m_saveAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), QKeySequence::Save});
    m_recentMenu = file->addMenu(QStringLiteral("最近打开(&R)"));
    m_recentMenu->setObjectName(QStringLiteral("recentMenu"));
    m_recentMenu->setAccessibleName(QStringLiteral("最近打开"));
    file->addSeparator();
    QAction *quit = file->addAction(QStringLiteral("退出(&X)"), window, &QWidget::close);
    quit->setObjectName(QStringLiteral("quitAction"));
    quit->setShortcut(QKeySequence::Quit);

    QMenu *edit = bar->addMenu(QStringLiteral("编辑(&E)"));
    m_copyAction = edit->addAction(QStringLiteral("复制所选行(&C)"));
    m_copyAction->setObjectName(QStringLiteral("copyAction"));
    m_copyAction->setShortcut(QKeySequence::Copy);
    m_copyAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_selectAllAction = edit->addAction(QStringLiteral("全选(&A)"));
    m_selectAllAction->setObjectName(QStringLiteral("selectAllAction"));
    m_selectAllAction->setShortcut(QKeySequence::SelectAll);
    m_selectAllAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    edit->addSeparator();
    m_findAction = edit->addAction(QStringLiteral("查找(&F)…"));
    m_findAction->setObjectName(QStringLiteral("findAction"));
    m_findAction->setShortcut(QKeySequence::Find);
    m_findNextAction = edit->addAction(QStringLiteral("查找下一个(&N)"));
    m_findNextAction->setObjectName(QStringLiteral("findNextAction"));
    m_findNextAction->setShortcut(QKeySequence::FindNext);
    m_findPreviousAction = edit->addAction(QStringLiteral("查找上一个(&P)"));
    m_findPreviousAction->setObjectName(QStringLiteral("findPreviousAction"));
    m_findPreviousAction->setShortcut(QKeySequence::FindPrevious);

    QMenu *view = bar->addMenu(QStringLiteral("视图(&V)"));
    m_computeAction = view->addAction(QStringLiteral("重新计算(&R)"));
    m_computeAction->setObjectName(QStringLiteral("computeAction"));
    m_computeAction->setShortcut(QKeySequence(Qt::Key_F5));
    m_markedOnlyAction = view->addAction(QStringLiteral("只显示盲区和未能计算的行(&B)"));
    m_markedOnlyAction->setObjectName(QStringLiteral("markedOnlyAction"));
    m_markedOnlyAction->setCheckable(true);
    m_markedOnlyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));

    QMenu *help = bar->addMenu(QStringLiteral("帮助(&H)"));
    m_aboutAction = help->addAction(QStringLiteral("关于(&A)"));
    m_aboutAction->setObjectName(QStringLiteral("aboutAction"));
}

}  // namespace taxcalc
