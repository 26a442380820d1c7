// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QSet>
#include <QString>

#include <memory>
#include <optional>

#include "paysheet/computation.h"
#include "paysheet/mode_description.h"
#include "paysheet/payroll_outcomes.h"
#include "paysheet/payroll_table.h"

class QStackedWidget;

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTimer;

namespace taxcalc {

class BonusChart;
class FiguresChart;
class PayrollJob;
class PayrollModel;
class PayrollTableView;
class Announcer;

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
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildControls();
    void buildFindBar(QWidget *parent);
    // The remembered size and splitter, or a default, within the screen's free area.
    void placeOnScreen();
    void fitToScreen();
    void rememberPlace();
    void rememberFile(const QString &path);
    void fillRecentFiles();
    void copyRows();
    void showFindBar();
    void findNext(bool forward);
    void computeAgain();
    void moveFocusToRows();
    void sizeColumns();
    // Says the status line to assistive technology.
    void announceStatus();
    // Says where the chosen period is not the one the mode computes under.
    void showPeriodNote();
    void chooseFileToOpen();
    void chooseFileToSave();
    // Whether the file at `path`, which the user chose to save to, may be replaced: a
    // new name may; an existing one only when the user says so, told what it loses,
    // and never when a workbook's other content or the only copy of undecodable bytes
    // would be lost.
    bool mayReplace(const QString &path);
    void showAbout();
    // Asks which encoding a file is in that reads as well in UTF-8 as in GB18030,
    // and opens it so.
    void askEncoding(const QString &path, const QString &why);
    void modeChanged();
    void fillPeriods();
    void markedOnlyChanged(bool markedOnly);
    void selectionChanged();
    void jobFinished();
    void showPreview();
    // Shows computed rows; fresh rows (another file or mode) get sized columns and
    // the first row selected.
    void showRows(std::shared_ptr<const PayrollOutcomes> outcomes);
    void showProgress();
    void startNext();
    void setBusy(bool busy);
    void showSummary();
    BatchMode mode() const;
    // The chosen mode under the chosen period.
    Computation computation() const;

    PayrollModel *m_model;
    PayrollJob *m_job;
    QTimer *m_progressTimer;
    QComboBox *m_modeCombo = nullptr;
    QComboBox *m_periodCombo = nullptr;
    QLabel *m_periodNote = nullptr;
    QCheckBox *m_markedOnlyCheck = nullptr;
    PayrollTableView *m_view = nullptr;
    QSplitter *m_splitter = nullptr;
    QWidget *m_findBar = nullptr;
    QLineEdit *m_findEdit = nullptr;
    QMenu *m_recentMenu = nullptr;
    Announcer *m_announcer = nullptr;
    // The bonus curve, or the bars of the modes whose rows are not one bonus.
    QStackedWidget *m_charts = nullptr;
    BonusChart *m_chart = nullptr;
    FiguresChart *m_figures = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_cancel = nullptr;
    QAction *m_saveAction = nullptr;
    QAction *m_markedOnlyAction = nullptr;
    QAction *m_computeAction = nullptr;
    QAction *m_copyAction = nullptr;
    QAction *m_selectAllAction = nullptr;
    // The combo boxes whose focus came from the user (Tab, a mnemonic, a click):
    // only these take keys, so that a key meant for the table never changes a mode.
    QSet<const QObject *> m_chosenCombos;
    // For the time left: when the phase shown began.
    QElapsedTimer m_phaseClock;
    int m_phaseShown = -1;
    bool m_fitted = false;
    bool m_framed = false;  // fitted again once the desktop's frame is known

    QString m_path;
    QString m_openingPath;
    QString m_chosenPeriod = QStringLiteral("2011");
    std::shared_ptr<const PayrollTable> m_table;
    // Work asked for while other work ran: the latest request wins.
    std::optional<QString> m_pendingOpen;
    bool m_pendingCompute = false;
};

}  // namespace taxcalc
