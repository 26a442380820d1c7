// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/payroll_menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace taxcalc {

PayrollMenus::PayrollMenus(QMainWindow *window) : QObject(window) {
    QMenuBar *bar = window->menuBar();
    QMenu *file = bar->addMenu(QStringLiteral("文件(&F)"));
    QAction *open = file->addAction(QStringLiteral("打开(&O)…"), this, &PayrollMenus::openChosen);
    open->setObjectName(QStringLiteral("openAction"));
    open->setShortcut(QKeySequence::Open);
    m_saveAction = file->addAction(QStringLiteral("另存为(&A)…"), this, &PayrollMenus::saveChosen);
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
    // Both are the table's own shortcuts (see addRowActions).
    QAction *copy = edit->addAction(QStringLiteral("复制所选行(&C)"), this, &PayrollMenus::copyChosen);
    copy->setObjectName(QStringLiteral("copyAction"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QAction *selectAll = edit->addAction(QStringLiteral("全选(&A)"), this, &PayrollMenus::selectAllChosen);
    selectAll->setObjectName(QStringLiteral("selectAllAction"));
    selectAll->setShortcut(QKeySequence::SelectAll);
    selectAll->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_rowActions = {copy, selectAll};
    edit->addSeparator();
    QAction *find = edit->addAction(QStringLiteral("查找(&F)…"), this, &PayrollMenus::findChosen);
    find->setObjectName(QStringLiteral("findAction"));
    find->setShortcut(QKeySequence::Find);
    QAction *findNext =
        edit->addAction(QStringLiteral("查找下一个(&N)"), this, [this] { emit findNextChosen(true); });
    findNext->setObjectName(QStringLiteral("findNextAction"));
    findNext->setShortcut(QKeySequence::FindNext);
    QAction *findPrevious =
        edit->addAction(QStringLiteral("查找上一个(&P)"), this, [this] { emit findNextChosen(false); });
    findPrevious->setObjectName(QStringLiteral("findPreviousAction"));
    findPrevious->setShortcut(QKeySequence::FindPrevious);

    QMenu *view = bar->addMenu(QStringLiteral("视图(&V)"));
    m_computeAction = view->addAction(QStringLiteral("重新计算(&R)"), this, &PayrollMenus::computeChosen);
    m_computeAction->setObjectName(QStringLiteral("computeAction"));
    m_computeAction->setShortcut(QKeySequence(Qt::Key_F5));
    m_markedOnlyAction = view->addAction(QStringLiteral("只显示盲区和未能计算的行(&B)"));
    m_markedOnlyAction->setObjectName(QStringLiteral("markedOnlyAction"));
    m_markedOnlyAction->setCheckable(true);
    m_markedOnlyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    connect(m_markedOnlyAction, &QAction::toggled, this, &PayrollMenus::markedOnlyToggled);

    QMenu *help = bar->addMenu(QStringLiteral("帮助(&H)"));
    help->addAction(QStringLiteral("关于(&A)"), this, &PayrollMenus::aboutChosen)
        ->setObjectName(QStringLiteral("aboutAction"));
}

void PayrollMenus::addRowActions(QWidget *rows) const {
    rows->addActions(m_rowActions);
}

}  // namespace taxcalc
