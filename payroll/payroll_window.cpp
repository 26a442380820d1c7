// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/payroll_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QMoveEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "engine/period_rules.h"
#include "payroll/chart_chooser.h"
#include "payroll/combo_focus_policy.h"
#include "payroll/find_bar.h"
#include "payroll/job_progress.h"
#include "payroll/payroll_job.h"
#include "payroll/payroll_layout.h"
#include "payroll/payroll_menus.h"
#include "payroll/payroll_model.h"
#include "payroll/payroll_table_view.h"
#include "payroll/recent_files.h"
#include "payroll/save_dialogs.h"
#include "payroll/summary_line.h"
#include "payroll/window_placement.h"
#include "payroll/yuan_text.h"
#include "ui/announcer.h"
#include "ui/utf8_text.h"

namespace taxcalc {
namespace {

constexpr int kSizingRows = 200;

QString PeriodText(const PeriodRules &rules) {
    return QStringLiteral("%1（%2 至 %3）")
        .arg(FromUtf8(rules.Name), FromUtf8(rules.FirstDay), FromUtf8(rules.LastDay));
}

QString LocalFileOf(const QMimeData *mime) {
    if (mime == nullptr || !mime->hasUrls()) {
        return {};
    }
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile()) {
            return url.toLocalFile();
        }
    }
    return {};
}

}  // namespace

PayrollWindow::PayrollWindow(QWidget *parent)
    : QMainWindow(parent), m_model(new PayrollModel(this)), m_job(new PayrollJob(this)) {
    setObjectName(QStringLiteral("payrollWindow"));
    setWindowTitle(QStringLiteral("工资表个税"));
    setAcceptDrops(true);
    m_menus = new PayrollMenus(this);
    m_saveAction = m_menus->saveAction();
    m_markedOnlyAction = m_menus->markedOnlyAction();
    m_computeAction = m_menus->computeAction();
    connectMenus();
    m_focusPolicy = new ComboFocusPolicy(this);
    m_layout = std::make_unique<PayrollLayout>(this, *m_menus, m_model, m_focusPolicy);
    m_modeCombo = m_layout->modeCombo();
    m_periodCombo = m_layout->periodCombo();
    m_markedOnlyCheck = m_layout->markedOnlyCheck();
    m_view = m_layout->view();
    m_status = m_layout->status();
    m_recentFiles = new RecentFiles(m_menus->recentMenu(), this);
    m_placement = std::make_unique<WindowPlacement>(this, m_layout->splitter());
    m_saveDialogs = std::make_unique<SaveDialogs>(this);
    m_summaryLine = std::make_unique<SummaryLine>(m_model, m_layout->summary());
    connectControls();
    connect(m_job, &PayrollJob::finished, this, &PayrollWindow::jobFinished);
    connect(m_job, &PayrollJob::previewReady, this, &PayrollWindow::showPreview);
    m_jobProgress = new JobProgress(m_job, m_layout->progress(), this);
    m_announcer = new Announcer(this);
    m_announcer->setObjectName(QStringLiteral("statusAnnouncer"));
    m_announcer->setAccessibleName(QStringLiteral("工资表个税"));
    m_model->setPalette(m_view->palette());
    fillPeriods();
    setBusy(false);
    showSummary();
    m_recentFiles->fillRecentFiles();
    m_placement->placeOnScreen();
    // The table holds the focus from the start: no key meant for the rows reaches a mode box.
    m_view->setFocus(Qt::OtherFocusReason);
}

PayrollWindow::~PayrollWindow() = default;

void PayrollWindow::connectMenus() {
    connect(m_menus, &PayrollMenus::openChosen, this, &PayrollWindow::chooseFileToOpen);
    connect(m_menus, &PayrollMenus::saveChosen, this, &PayrollWindow::chooseFileToSave);
    connect(m_menus, &PayrollMenus::copyChosen, this, &PayrollWindow::copyRows);
    connect(m_menus, &PayrollMenus::selectAllChosen, this, [this] { m_view->selectAll(); });
    connect(m_menus, &PayrollMenus::findChosen, this, [this] { m_layout->findBar()->showFindBar(); });
    connect(m_menus, &PayrollMenus::findNextChosen, this,
            [this](bool forward) { m_layout->findBar()->findNext(forward); });
    connect(m_menus, &PayrollMenus::computeChosen, this, &PayrollWindow::computeAgain);
    connect(m_menus, &PayrollMenus::markedOnlyToggled, this, &PayrollWindow::markedOnlyChanged);
    connect(m_menus, &PayrollMenus::aboutChosen, this, &PayrollWindow::showAbout);
}

void PayrollWindow::connectControls() {
    connect(m_markedOnlyCheck, &QCheckBox::toggled, m_markedOnlyAction, &QAction::setChecked);
    connect(m_modeCombo, &QComboBox::currentIndexChanged, this, &PayrollWindow::modeChanged);
    connect(m_periodCombo, &QComboBox::currentIndexChanged, this, [this] {
        // Only the user's choice is kept: fillPeriods() blocks the box's signals.
        m_chosenPeriod = m_periodCombo->currentData().toString();
        showPeriodNote();
        if (m_table) {
            modeChanged();
        }
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, m_layout->charts(),
            &ChartChooser::selectionChanged);
    connect(m_model, &QAbstractItemModel::modelReset, m_layout->charts(), &ChartChooser::selectionChanged);
    // The marks' colours are chosen for the palette the rows are painted on.
    connect(m_view, &PayrollTableView::paletteChanged, m_model, &PayrollModel::setPalette);
    connect(m_view, &PayrollTableView::rowEntered, this,
            [this](int row) { m_announcer->announce(m_model->rowDescription(row)); });
    connect(m_layout->cancel(), &QPushButton::clicked, this, [this] {
        m_queue.clear();
        m_job->cancel();
    });
    connect(m_layout->findBar(), &FindBar::said, this, [this](const QString &status) {
        m_status->setText(status);
        announceStatus();
    });
    connect(m_recentFiles, &RecentFiles::chosen, this, [this](const QString &path) { openFile(path); });
}

BatchMode PayrollWindow::mode() const {
    return static_cast<BatchMode>(m_modeCombo->currentData().toInt());
}

Computation PayrollWindow::computation() const {
    // Only the periods the mode takes are offered; a mode that takes none has its own.
    const PeriodRules *period = m_periodCombo->isEnabled()
                                    ? FindPeriod(m_periodCombo->currentData().toString().toStdString())
                                    : nullptr;
    std::optional<Computation> chosen = Computation::Resolve(mode(), period);
    return chosen ? *chosen : *Computation::Resolve(mode());
}

void PayrollWindow::fillPeriods() {
    // The period the user chose stays chosen through modes that lack it: m_chosenPeriod
    // changes only when the user picks another.
    const QSignalBlocker blocker(m_periodCombo);
    m_periodCombo->clear();
    // The periods the core computes the mode under, as taxcalc-batch takes --rules.
    for (const PeriodRules *period : Computation::ChoosablePeriods(mode())) {
        m_periodCombo->addItem(PeriodText(*period), FromUtf8(period->Name));
    }
    if (m_periodCombo->count() == 0) {
        // A mode with rules of its own: the window's comparison, or today's rules.
        const Computation own = computation();
        m_periodCombo->addItem(
            own.WindowMethods()
                ? QStringLiteral("2011 与 2010 对照")
                : QStringLiteral("%1 年起的规则").arg(FromUtf8(own.Period().FirstDay.substr(0, 4))));
        m_periodCombo->setEnabled(false);
        showPeriodNote();
        return;
    }
    m_periodCombo->setEnabled(true);
    const int kept = m_periodCombo->findData(m_chosenPeriod);
    m_periodCombo->setCurrentIndex(kept >= 0 ? kept
                                             : std::max(0, m_periodCombo->findData(QStringLiteral("2011"))));
    showPeriodNote();
}

void PayrollWindow::showPeriodNote() {
    const QString used = FromUtf8(computation().Period().Name);
    if (used == m_chosenPeriod) {
        m_layout->periodNote()->hide();
        m_layout->periodNote()->clear();
        return;
    }
    const QString shown = m_periodCombo->isEnabled() ? used : m_periodCombo->currentText();
    m_layout->periodNote()->setText(QStringLiteral("“%1”没有 %2 的规则，按 %3 计算；换回其他方式仍按 %2。")
                                        .arg(m_modeCombo->currentText(), m_chosenPeriod, shown));
    m_layout->periodNote()->show();
}

void PayrollWindow::chooseFileToOpen() {
    const QString folder = m_recentFiles->folder(QFileInfo(m_path).absolutePath());
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("打开工资表"), folder,
                                     QStringLiteral("工资表 (*.csv *.xlsx *.xls *.txt);;所有文件 (*)"));
    if (!path.isEmpty()) {
        openFile(path);
    }
}

void PayrollWindow::chooseFileToSave() {
    if (!m_model->outcomes()) {
        return;
    }
    const QString path =
        m_saveDialogs->chooseFileToSave(m_path, m_recentFiles->folder(QFileInfo(m_path).absolutePath()));
    if (!path.isEmpty() && m_saveDialogs->mayReplace(path, m_table.get(), computation(), m_path)) {
        saveFile(path);
    }
}

void PayrollWindow::openFile(const QString &path) {
    openFile(path, TextEncoding::Undecided);
}

void PayrollWindow::openFile(const QString &path, TextEncoding encoding) {
    if (m_job->busy()) {
        m_queue.askOpen(path);
        m_job->cancel();
        return;
    }
    m_status->setText(QStringLiteral("正在打开 %1 …").arg(QFileInfo(path).fileName()));
    m_openingPath = path;
    m_job->open(path, computation(), encoding);
    setBusy(true);
}

void PayrollWindow::saveFile(const QString &path) {
    if (m_job->busy() || !m_model->outcomes()) {
        return;
    }
    m_status->setText(QStringLiteral("正在保存 %1 …").arg(QFileInfo(path).fileName()));
    // A cancelled or failed save leaves no file behind: the file appears whole or not at all.
    m_job->save(m_model->outcomes(), path);
    setBusy(true);
}

void PayrollWindow::modeChanged() {
    if (sender() == m_modeCombo) {
        fillPeriods();
    }
    if (!m_table) {
        showSummary();
        return;
    }
    if (m_job->busy()) {
        m_queue.askCompute();
        m_job->cancel();
        return;
    }
    m_status->setText(QStringLiteral("正在计算…"));
    m_job->compute(m_table, computation());
    setBusy(true);
}

void PayrollWindow::markedOnlyChanged(bool markedOnly) {
    m_markedOnlyCheck->setChecked(markedOnly);
    m_model->setMarkedOnly(markedOnly);
}

void PayrollWindow::startNext() {
    QString path;
    switch (m_queue.takeNext(path)) {
        case JobQueue::Next::Open:
            openFile(path);
            break;
        case JobQueue::Next::Compute:
            modeChanged();
            break;
        case JobQueue::Next::Nothing:
            break;
    }
}

void PayrollWindow::showPreview() {
    std::shared_ptr<const PayrollOutcomes> preview = m_job->takePreview();
    if (!preview) {
        return;
    }
    if (preview->SharedTable() != m_table) {
        m_table = preview->SharedTable();
        m_path = m_openingPath;
        setWindowTitle(QStringLiteral("%1 — 工资表个税").arg(QFileInfo(m_path).fileName()));
        showRows(std::move(preview));
        moveFocusToRows();
        return;
    }
    showRows(std::move(preview));
}

void PayrollWindow::moveFocusToRows() {
    // A file just opened: the keys are for its rows, and the frame shows where they go.
    m_view->setFocus(Qt::OtherFocusReason);
    if (m_model->rowCount() > 0 && !m_view->currentIndex().isValid()) {
        m_view->selectRow(0);
    }
}

void PayrollWindow::sizeColumns() {
    // Columns as wide as their header or the widest of the first rows.
    const int limit = std::min(m_model->rowCount(), kSizingRows);
    for (int column = 0; column < m_model->columnCount(); ++column) {
        int width = m_view->horizontalHeader()->sectionSizeHint(column);
        for (int row = 0; row < limit; ++row) {
            width = std::max(width, m_view->sizeHintForIndex(m_model->index(row, column)).width());
        }
        m_view->setColumnWidth(column, std::min(width + 12, 320));
    }
}

void PayrollWindow::showRows(std::shared_ptr<const PayrollOutcomes> outcomes) {
    const std::shared_ptr<const PayrollOutcomes> &shown = m_model->outcomes();
    const bool fresh = !shown || !outcomes || !SameFigures(*shown, *outcomes);
    if (outcomes) {
        m_model->setOutcomes(std::move(outcomes));
    } else {
        // A mode that cannot compute the table leaves its rows in sight, its own columns only.
        m_model->setTable(m_table);
    }
    if (fresh) {
        sizeColumns();
        // The model lets go of an order by a column the mode no longer has.
        QHeaderView *header = m_view->horizontalHeader();
        if (header->sortIndicatorSection() != m_model->sortColumn()) {
            header->setSortIndicator(m_model->sortColumn(), m_model->sortOrder());
        }
    }
    if (m_model->rowCount() > 0 && !m_view->selectionModel()->currentIndex().isValid()) {
        m_view->selectRow(0);
    }
    m_markedOnlyCheck->setEnabled(m_model->outcomes() && m_model->outcomes()->RowsComputed());
    m_markedOnlyAction->setEnabled(m_markedOnlyCheck->isEnabled());
    showSummary();
}

void PayrollWindow::jobFinished() {
    PayrollJob::Result result = m_job->takeResult();
    setBusy(false);
    const QString name = QFileInfo(result.Path).fileName();
    if (result.What == PayrollJob::Kind::Save) {
        m_status->setText(result.Cancelled ? QStringLiteral("已取消保存 %1").arg(name)
                          : result.Error.isEmpty()
                              ? QStringLiteral("已保存 %1").arg(name)
                              : QStringLiteral("未能保存 %1：%2").arg(name, result.Error));
        if (!result.Cancelled && result.Error.isEmpty()) {
            m_recentFiles->rememberFolder(QFileInfo(result.Path).absolutePath());
            // A save computes every row that a cancel left out: the totals are known now.
            const std::shared_ptr<const PayrollOutcomes> &shown = m_model->outcomes();
            if (shown && !shown->RowsComputed() && result.Outcomes && result.Outcomes->RowsComputed() &&
                SameFigures(*shown, *result.Outcomes)) {
                showRows(result.Outcomes);
            }
        }
    } else if (result.Cancelled) {
        m_status->setText(result.What == PayrollJob::Kind::Open && result.Table != m_table
                              ? QStringLiteral("已取消打开 %1").arg(name)
                              : QStringLiteral("已取消计算"));
        showSummary();
    } else if (result.What == PayrollJob::Kind::Open && !result.Table) {
        m_status->setText(QStringLiteral("未能打开 %1：%2").arg(name, result.Error));
        if (result.Unsettled && m_queue.empty()) {
            // Asked once the window is idle again, after this slot.
            QTimer::singleShot(0, this,
                               [this, path = result.Path, why = result.Error] { askEncoding(path, why); });
        }
    } else {
        const bool openedFile = result.What == PayrollJob::Kind::Open;
        if (openedFile) {
            m_table = result.Table;
            m_path = result.Path;
            setWindowTitle(QStringLiteral("%1 — 工资表个税").arg(QFileInfo(m_path).fileName()));
            m_recentFiles->rememberFile(m_path);
        }
        showRows(result.Outcomes);
        if (openedFile) {
            moveFocusToRows();
        }
        QString opened = QStringLiteral("已打开 %1").arg(QFileInfo(m_path).fileName());
        // What the reader noted of the file's form: its encoding, its separator.
        const QString notes =
            FromUtf8(m_table->Notes()).trimmed().replace(QLatin1Char('\n'), QStringLiteral("；"));
        if (!notes.isEmpty()) {
            opened += QStringLiteral("（%1）").arg(notes);
        }
        m_status->setText(result.Error.isEmpty() ? opened : result.Error);
    }
    announceStatus();
    startNext();
}

void PayrollWindow::setBusy(bool busy) {
    m_layout->progress()->setVisible(busy);
    m_layout->cancel()->setVisible(busy);
    m_layout->cancel()->setEnabled(busy);
    m_saveAction->setEnabled(!busy && m_model->outcomes() != nullptr);
    m_computeAction->setEnabled(!busy);
    if (busy) {
        m_jobProgress->start();
    } else {
        m_jobProgress->stop();
    }
}

void PayrollWindow::showSummary() {
    m_summaryLine->showSummary(m_table != nullptr, m_modeCombo->currentText(), m_job->busy());
}

void PayrollWindow::askEncoding(const QString &path, const QString &why) {
    QMessageBox question(QMessageBox::Question, QStringLiteral("选择编码"),
                         QStringLiteral("%1\n\n%2 是哪种编码？").arg(why, QFileInfo(path).fileName()),
                         QMessageBox::Cancel, this);
    question.setObjectName(QStringLiteral("encodingQuestion"));
    QPushButton *utf8 = question.addButton(QStringLiteral("按 UTF-8 读取(&U)"), QMessageBox::AcceptRole);
    utf8->setObjectName(QStringLiteral("readAsUtf8"));
    QPushButton *gb18030 = question.addButton(QStringLiteral("按 GB18030 读取(&G)"), QMessageBox::AcceptRole);
    gb18030->setObjectName(QStringLiteral("readAsGb18030"));
    question.setDefaultButton(utf8);
    question.exec();
    if (question.clickedButton() == utf8) {
        openFile(path, TextEncoding::Utf8);
    } else if (question.clickedButton() == gb18030) {
        openFile(path, TextEncoding::Gb18030);
    }
}

void PayrollWindow::showAbout() {
    QMessageBox::about(
        this, QStringLiteral("关于工资表个税"),
        QStringLiteral(
            "工资表个税：打开整张工资表（CSV 文件，或 .xlsx、.xls 工作簿），按所选方式逐行计算个税，"
            "标出落在年终奖盲区和未能计算的行，并给出建议。\n"
            "结果与命令行工具 taxcalc-batch 完全一致。"));
}

void PayrollWindow::dragEnterEvent(QDragEnterEvent *event) {
    if (!LocalFileOf(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void PayrollWindow::dropEvent(QDropEvent *event) {
    const QString path = LocalFileOf(event->mimeData());
    if (!path.isEmpty()) {
        event->acceptProposedAction();
        openFile(path);
    }
}

void PayrollWindow::closeEvent(QCloseEvent *event) {
    m_placement->rememberPlace();
    m_queue.clear();
    m_job->cancel();
    QMainWindow::closeEvent(event);
}

void PayrollWindow::copyRows() {
    const QList<int> rows = m_view->selectedRowNumbers();
    if (rows.isEmpty()) {
        return;
    }
    QApplication::clipboard()->setText(m_model->rowsText(rows));
    m_status->setText(
        QStringLiteral("已复制 %1 行").arg(GroupedCount(static_cast<std::uint64_t>(rows.size()))));
}

void PayrollWindow::computeAgain() {
    if (!m_table || m_job->busy()) {
        return;
    }
    modeChanged();
}

void PayrollWindow::announceStatus() {
    m_announcer->announce(m_status->text());
}

void PayrollWindow::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    m_placement->shown();
}

void PayrollWindow::moveEvent(QMoveEvent *event) {
    QMainWindow::moveEvent(event);
    m_placement->moved();
}

}  // namespace taxcalc
