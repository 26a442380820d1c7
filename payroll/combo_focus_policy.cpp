// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/combo_focus_policy.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>

namespace taxcalc {
namespace {

// Where a combo box's focus came from the user, who may now type into it.
bool ChosenByUser(Qt::FocusReason reason) {
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason || reason == Qt::MouseFocusReason;
}

}  // namespace

ComboFocusPolicy::ComboFocusPolicy(QObject *parent) : QObject(parent) {}

void ComboFocusPolicy::watch(QComboBox *combo) {
    combo->installEventFilter(this);
}

bool ComboFocusPolicy::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
        case QEvent::FocusIn: {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            // Back from its list or from another window, the box keeps what it had.
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
                if (ChosenByUser(reason)) {
                    m_chosenCombos.insert(watched);
                } else {
                    m_chosenCombos.remove(watched);
                }
            }
            break;
        }
        case QEvent::FocusOut:
            if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason &&
                static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason) {
                m_chosenCombos.remove(watched);
            }
            break;
        case QEvent::Wheel:
            // Scrolling past a box never changes the mode or the period.
            return true;
        case QEvent::KeyPress: {
            // Keys change a box only where the user put the focus on it; Tab and
            // Shift+Tab still leave it.
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
                return false;
            }
            return !static_cast<QWidget *>(watched)->hasFocus() || !m_chosenCombos.contains(watched);
        }
        default:
            break;
    }
    return false;
}

}  // namespace taxcalc
