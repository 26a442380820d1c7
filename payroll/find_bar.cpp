// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/find_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "payroll/payroll_model.h"

namespace taxcalc {

FindBar::FindBar(PayrollModel *model, QWidget *parent) : QWidget(parent), m_model(model) {
    setObjectName(QStringLiteral("findBar"));
    setAccessibleName(QStringLiteral("查找"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    auto *label = new QLabel(QStringLiteral("查找(&I)："), this);
    m_findEdit = new QLineEdit(this);
    m_findEdit->setObjectName(QStringLiteral("findEdit"));
    m_findEdit->setAccessibleName(QStringLiteral("查找工号或姓名"));
    m_findEdit->setPlaceholderText(QStringLiteral("工号或姓名；回车找下一个，Shift+回车找上一个"));
    m_findEdit->installEventFilter(this);
    label->setBuddy(m_findEdit);
    auto *previous = new QPushButton(QStringLiteral("上一个"), this);
    previous->setObjectName(QStringLiteral("findPreviousButton"));
    auto *next = new QPushButton(QStringLiteral("下一个"), this);
    next->setObjectName(QStringLiteral("findNextButton"));
    // Enter and F3 do the same from the keyboard; Tab goes on to the table.
    previous->setFocusPolicy(Qt::NoFocus);
    next->setFocusPolicy(Qt::NoFocus);
    connect(previous, &QPushButton::clicked, this, [this] { findNext(false); });
    connect(next, &QPushButton::clicked, this, [this] { findNext(true); });
    row->addWidget(label);
    row->addWidget(m_findEdit, 1);
    row->addWidget(previous);
    row->addWidget(next);
    hide();
}

void FindBar::setView(QTableView *view) {
    m_view = view;
}

bool FindBar::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_findEdit && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            findNext(!key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            hide();
            m_view->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    if (watched == m_findEdit && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        // Esc closes the find bar rather than reaching the cancel button.
        event->accept();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::showFindBar() {
    show();
    m_findEdit->setFocus(Qt::ShortcutFocusReason);
    m_findEdit->selectAll();
}

void FindBar::findNext(bool forward) {
    const QString wanted = m_findEdit->text().trimmed();
    if (wanted.isEmpty()) {
        showFindBar();
        return;
    }
    const int from = m_view->currentIndex().isValid() ? m_view->currentIndex().row() : (forward ? -1 : 0);
    const int found = m_model->findRow(wanted, from, forward);
    if (found < 0) {
        emit said(QStringLiteral("没有工号或姓名含“%1”的行").arg(wanted));
        return;
    }
    m_view->selectRow(found);
    m_view->scrollTo(m_model->index(found, 0));
    emit said(QStringLiteral("找到第 %1 行").arg(m_model->headerData(found, Qt::Vertical).toString()));
}

}  // namespace taxcalc
