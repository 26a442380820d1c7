// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

class QCheckBox;
class QComboBox;
class QLabel;
class QMainWindow;
class QProgressBar;
class QPushButton;
class QSplitter;

namespace taxcalc {

class ChartChooser;
class ComboFocusPolicy;
class FindBar;
class PayrollMenus;
class PayrollModel;
class PayrollTableView;

// The payroll window's controls and where they stand: the mode and period bar, the
// find bar, the rows beside the chart, the summary line, and the status bar with
// its progress and cancel button; their names for tests and assistive technology,
// and the order Tab takes them in. What the controls do is the window's to connect.
class PayrollLayout {
public:
    // Builds the controls into `window`, the rows shown from `model`; the combo
    // boxes' keys go by `policy`.
    PayrollLayout(QMainWindow *window, const PayrollMenus &menus, PayrollModel *model,
                  ComboFocusPolicy *policy);

    QComboBox *modeCombo() const noexcept { return m_modeCombo; }
    QComboBox *periodCombo() const noexcept { return m_periodCombo; }
    QLabel *periodNote() const noexcept { return m_periodNote; }
    QCheckBox *markedOnlyCheck() const noexcept { return m_markedOnlyCheck; }
    FindBar *findBar() const noexcept { return m_findBar; }
    PayrollTableView *view() const noexcept { return m_view; }
    QSplitter *splitter() const noexcept { return m_splitter; }
    ChartChooser *charts() const noexcept { return m_charts; }
    QLabel *summary() const noexcept { return m_summary; }
    QLabel *status() const noexcept { return m_status; }
    QProgressBar *progress() const noexcept { return m_progress; }
    QPushButton *cancel() const noexcept { return m_cancel; }

private:
    QComboBox *m_modeCombo = nullptr;
    QComboBox *m_periodCombo = nullptr;
    QLabel *m_periodNote = nullptr;
    QCheckBox *m_markedOnlyCheck = nullptr;
    FindBar *m_findBar = nullptr;
    PayrollTableView *m_view = nullptr;
    QSplitter *m_splitter = nullptr;
    ChartChooser *m_charts = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_cancel = nullptr;
};

}  // namespace taxcalc
