// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/payroll_layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

#include "payroll/chart_chooser.h"
#include "payroll/combo_focus_policy.h"
#include "payroll/find_bar.h"
#include "payroll/payroll_menus.h"
#include "payroll/payroll_model.h"
#include "payroll/payroll_table_view.h"
#include "paysheet/mode_description.h"
#include "ui/utf8_text.h"

namespace taxcalc {

PayrollLayout::PayrollLayout(QMainWindow *window, const PayrollMenus &menus, PayrollModel *model,
                             ComboFocusPolicy *policy) {
    auto *central = new QWidget(window);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(10, 8, 10, 6);

    auto *bar = new QHBoxLayout;
    auto *modeLabel = new QLabel(QStringLiteral("计算(&M)："), central);
    m_modeCombo = new QComboBox(central);
    m_modeCombo->setObjectName(QStringLiteral("modeCombo"));
    m_modeCombo->setAccessibleName(QStringLiteral("计算方式"));
    for (const ModeDescription *offered : OfferedModes()) {
        m_modeCombo->addItem(FromUtf8(offered->Title), static_cast<int>(offered->Mode));
    }
    modeLabel->setBuddy(m_modeCombo);
    auto *periodLabel = new QLabel(QStringLiteral("税法期间(&P)："), central);
    m_periodCombo = new QComboBox(central);
    m_periodCombo->setObjectName(QStringLiteral("periodCombo"));
    m_periodCombo->setAccessibleName(QStringLiteral("税法期间"));
    m_periodCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    periodLabel->setBuddy(m_periodCombo);
    m_periodNote = new QLabel(central);
    m_periodNote->setObjectName(QStringLiteral("periodNote"));
    m_periodNote->setWordWrap(true);
    m_periodNote->hide();
    for (QComboBox *combo : {m_modeCombo, m_periodCombo}) {
        policy->watch(combo);
    }
    m_markedOnlyCheck = new QCheckBox(QStringLiteral("只显示盲区和未能计算的行(&B)"), central);
    m_markedOnlyCheck->setObjectName(QStringLiteral("markedOnlyCheck"));
    m_markedOnlyCheck->setAccessibleName(QStringLiteral("只显示盲区和未能计算的行"));
    bar->addWidget(modeLabel);
    bar->addWidget(m_modeCombo);
    bar->addSpacing(16);
    bar->addWidget(periodLabel);
    bar->addWidget(m_periodCombo);
    bar->addWidget(m_periodNote, 1);
    bar->addSpacing(16);
    bar->addWidget(m_markedOnlyCheck);
    // The space left goes to the note where it shows, else after the controls.
    bar->addStretch(1);
    layout->addLayout(bar);
    m_findBar = new FindBar(model, central);
    layout->addWidget(m_findBar);

    auto *splitter = new QSplitter(Qt::Horizontal, central);
    splitter->setChildrenCollapsible(false);
    m_splitter = splitter;
    m_view = new PayrollTableView(splitter);
    m_view->setObjectName(QStringLiteral("rowsView"));
    m_view->setAccessibleName(QStringLiteral("工资表各行"));
    m_view->setModel(model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    menus.addRowActions(m_view);
    m_view->setAlternatingRowColors(false);
    m_view->setWordWrap(false);
    // Fixed row heights: a million rows scroll without measuring any of them.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 8);
    m_view->horizontalHeader()->setHighlightSections(false);
    // A click on a header sorts by its column, a second the other way, a third
    // returns to the file's order; the arrow shows which.
    m_view->horizontalHeader()->setSortIndicatorClearable(true);
    m_view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_view->horizontalHeader()->setSortIndicatorShown(true);
    m_view->setSortingEnabled(true);
    m_view->setIconSize(QSize(16, 16));
    m_findBar->setView(m_view);
    m_charts = new ChartChooser(model, m_view, splitter, window);
    splitter->addWidget(m_view);
    splitter->addWidget(m_charts->charts());
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({790, 470});
    layout->addWidget(splitter, 1);

    m_summary = new QLabel(central);
    m_summary->setObjectName(QStringLiteral("summaryLabel"));
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_summary->setFocusPolicy(Qt::TabFocus);
    QFont summaryFont = m_summary->font();
    summaryFont.setBold(true);
    m_summary->setFont(summaryFont);
    // Wrapped rather than widening the window past a small screen.
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);
    window->setCentralWidget(central);

    m_status = new QLabel(window);
    m_status->setObjectName(QStringLiteral("statusLabel"));
    // A long name in the status never widens the window past the screen.
    m_status->setMinimumWidth(1);
    m_progress = new QProgressBar(window);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setAccessibleName(QStringLiteral("进度"));
    m_progress->setRange(0, 1000);
    m_progress->setMaximumWidth(260);
    m_cancel = new QPushButton(QStringLiteral("取消(&C)"), window);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setAccessibleName(QStringLiteral("取消"));
    m_cancel->setShortcut(QKeySequence(Qt::Key_Escape));
    window->statusBar()->addWidget(m_status, 1);
    window->statusBar()->addPermanentWidget(m_progress);
    window->statusBar()->addPermanentWidget(m_cancel);

    QWidget::setTabOrder(m_modeCombo, m_periodCombo);
    QWidget::setTabOrder(m_periodCombo, m_markedOnlyCheck);
    QWidget::setTabOrder(m_markedOnlyCheck, m_findBar->edit());
    QWidget::setTabOrder(m_findBar->edit(), m_view);
    QWidget::setTabOrder(m_view, m_summary);
    QWidget::setTabOrder(m_summary, m_cancel);
}

}  // namespace taxcalc
