// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QMainWindow>
#include <QString>

#include <memory>
#include <optional>

#include "payroll/job_queue.h"
#include "paysheet/computation.h"
#include "paysheet/mode_description.h"
#include "paysheet/payroll_outcomes.h"
#include "paysheet/payroll_table.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;

namespace taxcalc {

class Announcer;
class ComboFocusPolicy;
class JobProgress;
class PayrollJob;
class PayrollLayout;
class PayrollMenus;
class PayrollModel;
class PayrollTableView;
class RecentFiles;
class SaveDialogs;
class SummaryLine;
class WindowPlacement;

// The payroll window: a whole payroll file in a table, computed under the chosen
// mode and period by the core that taxcalc-batch uses; rows in a blind zone and
// refused rows marked, a filter for them, a summary line, and a chart for the
// selected row. Files open by the menu, by dropping them on the window or by
// name on the command line; reading and computing run off the GUI thread with a
// progress bar and a cancel button.
//
// A clerk drives it all day from the keyboard: Tab between the controls, arrows in
// the table, Ctrl+F to find an employee, Ctrl+C to copy rows into a spreadsheet,
// F5 to compute again. The size, the splitter, the recent files and the last
// folder are remembered (QSettings).
//
// The window composes its parts, each a class of its own: the menus, the layout of
// the controls, the find bar, the combo boxes' focus policy, the placement on the
// screen, the recent files, the save dialogs, the queue of jobs and their progress,
// the summary line and the chart chosen by the mode; what stays here is the flow of
// a file through them.
class PayrollWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit PayrollWindow(QWidget *parent = nullptr);
    ~PayrollWindow() override;

    // Opens the file as the menu does once a name is chosen.
    void openFile(const QString &path);
    // The same with the encoding the user named, for a file that reads as well in
    // UTF-8 as in GB18030.
    void openFile(const QString &path, TextEncoding encoding);
    // Saves the shown table under the name, as the menu does once a name is chosen.
    void saveFile(const QString &path);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    // What the menus' items and the controls do.
    void connectMenus();
    void connectControls();
    void copyRows();
    void computeAgain();
    void moveFocusToRows();
    void sizeColumns();
    // Says the status line to assistive technology.
    void announceStatus();
    // Says where the chosen period is not the one the mode computes under.
    void showPeriodNote();
    void chooseFileToOpen();
    void chooseFileToSave();
    void showAbout();
    // Asks which encoding a file is in that reads as well in UTF-8 as in GB18030,
    // and opens it so.
    void askEncoding(const QString &path, const QString &why);
    void modeChanged();
    void fillPeriods();
    void markedOnlyChanged(bool markedOnly);
    void jobFinished();
    void showPreview();
    // Shows computed rows; fresh rows (another file or mode) get sized columns and
    // the first row selected.
    void showRows(std::shared_ptr<const PayrollOutcomes> outcomes);
    void startNext();
    void setBusy(bool busy);
    void showSummary();
    BatchMode mode() const;
    // The chosen mode under the chosen period.
    Computation computation() const;

    PayrollModel *m_model;
    PayrollJob *m_job;
    PayrollMenus *m_menus = nullptr;
    ComboFocusPolicy *m_focusPolicy = nullptr;
    std::unique_ptr<PayrollLayout> m_layout;
    // The controls of the menus and the layout that the window's flow uses most.
    QAction *m_saveAction = nullptr;
    QAction *m_markedOnlyAction = nullptr;
    QAction *m_computeAction = nullptr;
    QComboBox *m_modeCombo = nullptr;
    QComboBox *m_periodCombo = nullptr;
    QCheckBox *m_markedOnlyCheck = nullptr;
    PayrollTableView *m_view = nullptr;
    QLabel *m_status = nullptr;
    Announcer *m_announcer = nullptr;
    RecentFiles *m_recentFiles = nullptr;
    std::unique_ptr<WindowPlacement> m_placement;
    std::unique_ptr<SaveDialogs> m_saveDialogs;
    std::unique_ptr<SummaryLine> m_summaryLine;
    JobProgress *m_jobProgress = nullptr;

    QString m_path;
    QString m_openingPath;
    QString m_chosenPeriod = QStringLiteral("2011");
    std::shared_ptr<const PayrollTable> m_table;
    // Work asked for while other work ran: the latest request wins.
    JobQueue m_queue;
};

}  // namespace taxcalc
