// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/payroll_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMoveEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStringList>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/period_rules.h"
#include "payroll/bonus_chart.h"
#include "payroll/figures_chart.h"
#include "payroll/payroll_job.h"
#include "payroll/payroll_model.h"
#include "payroll/payroll_table_view.h"
#include "payroll/row_marks.h"
#include "payroll/yuan_text.h"
#include "paysheet/bonus_curve.h"
#include "paysheet/overwrite_check.h"
#include "ui/announcer.h"
#include "ui/utf8_text.h"

namespace taxcalc {
namespace {

constexpr auto kWorkbookSuffix = QLatin1StringView(".xlsx");
constexpr auto kCsvSuffix = QLatin1StringView(".csv");

constexpr int kChartSamples = 480;
constexpr int kSizingRows = 200;
constexpr int kRecentFiles = 8;
const QSize kDefaultSize(1280, 760);

constexpr auto kGeometryKey = QLatin1StringView("payroll/geometry");
constexpr auto kSplitterKey = QLatin1StringView("payroll/splitter");
constexpr auto kRecentKey = QLatin1StringView("payroll/recentFiles");
constexpr auto kFolderKey = QLatin1StringView("payroll/lastFolder");

// Where a combo box's focus came from the user, who may now type into it.
bool ChosenByUser(Qt::FocusReason reason) {
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason || reason == Qt::MouseFocusReason;
}

// "12 秒", "3 分 05 秒"
QString Duration(qint64 seconds) {
    if (seconds < 60) {
        return QStringLiteral("%1 秒").arg(seconds);
    }
    return QStringLiteral("%1 分 %2 秒").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

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
    : QMainWindow(parent),
      m_model(new PayrollModel(this)),
      m_job(new PayrollJob(this)),
      m_progressTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("payrollWindow"));
    setWindowTitle(QStringLiteral("工资表个税"));
    setAcceptDrops(true);
    buildMenus();
    buildControls();
    connect(m_job, &PayrollJob::finished, this, &PayrollWindow::jobFinished);
    connect(m_job, &PayrollJob::previewReady, this, &PayrollWindow::showPreview);
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, &PayrollWindow::showProgress);
    m_announcer = new Announcer(this);
    m_announcer->setObjectName(QStringLiteral("statusAnnouncer"));
    m_announcer->setAccessibleName(QStringLiteral("工资表个税"));
    m_model->setPalette(m_view->palette());
    fillPeriods();
    setBusy(false);
    showSummary();
    fillRecentFiles();
    placeOnScreen();
    // The table holds the focus from the start: no key meant for the rows reaches a mode box.
    m_view->setFocus(Qt::OtherFocusReason);
}

PayrollWindow::~PayrollWindow() = default;

void PayrollWindow::buildMenus() {
    QMenu *file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    QAction *open = file->addAction(QStringLiteral("打开(&O)…"), this, &PayrollWindow::chooseFileToOpen);
    open->setObjectName(QStringLiteral("openAction"));
    open->setShortcut(QKeySequence::Open);
    m_saveAction = file->addAction(QStringLiteral("另存为(&A)…"), this, &PayrollWindow::chooseFileToSave);
    m_saveAction->setObjectName(QStringLiteral("saveAction"));
    // Bound by its keys: the standard "save as" key is empty under several desktops.
    m_saveAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), QKeySequence::Save});
    m_recentMenu = file->addMenu(QStringLiteral("最近打开(&R)"));
    m_recentMenu->setObjectName(QStringLiteral("recentMenu"));
    m_recentMenu->setAccessibleName(QStringLiteral("最近打开"));
    file->addSeparator();
    QAction *quit = file->addAction(QStringLiteral("退出(&X)"), this, &QWidget::close);
    quit->setObjectName(QStringLiteral("quitAction"));
    quit->setShortcut(QKeySequence::Quit);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    // Both are the table's own shortcuts (see buildControls), so that the summary's
    // and the find box's text copy and select as text.
    m_copyAction = edit->addAction(QStringLiteral("复制所选行(&C)"), this, &PayrollWindow::copyRows);
    m_copyAction->setObjectName(QStringLiteral("copyAction"));
    m_copyAction->setShortcut(QKeySequence::Copy);
    m_copyAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_selectAllAction = edit->addAction(QStringLiteral("全选(&A)"), this, [this] { m_view->selectAll(); });
    m_selectAllAction->setObjectName(QStringLiteral("selectAllAction"));
    m_selectAllAction->setShortcut(QKeySequence::SelectAll);
    m_selectAllAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    edit->addSeparator();
    QAction *find = edit->addAction(QStringLiteral("查找(&F)…"), this, &PayrollWindow::showFindBar);
    find->setObjectName(QStringLiteral("findAction"));
    find->setShortcut(QKeySequence::Find);
    QAction *findNext =
        edit->addAction(QStringLiteral("查找下一个(&N)"), this, [this] { this->findNext(true); });
    findNext->setObjectName(QStringLiteral("findNextAction"));
    findNext->setShortcut(QKeySequence::FindNext);
    QAction *findPrevious =
        edit->addAction(QStringLiteral("查找上一个(&P)"), this, [this] { this->findNext(false); });
    findPrevious->setObjectName(QStringLiteral("findPreviousAction"));
    findPrevious->setShortcut(QKeySequence::FindPrevious);

    QMenu *view = menuBar()->addMenu(QStringLiteral("视图(&V)"));
    m_computeAction = view->addAction(QStringLiteral("重新计算(&R)"), this, &PayrollWindow::computeAgain);
    m_computeAction->setObjectName(QStringLiteral("computeAction"));
    m_computeAction->setShortcut(QKeySequence(Qt::Key_F5));
    m_markedOnlyAction = view->addAction(QStringLiteral("只显示盲区和未能计算的行(&B)"));
    m_markedOnlyAction->setObjectName(QStringLiteral("markedOnlyAction"));
    m_markedOnlyAction->setCheckable(true);
    m_markedOnlyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    connect(m_markedOnlyAction, &QAction::toggled, this, &PayrollWindow::markedOnlyChanged);

    QMenu *help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    help->addAction(QStringLiteral("关于(&A)"), this, &PayrollWindow::showAbout)
        ->setObjectName(QStringLiteral("aboutAction"));
}

void PayrollWindow::buildControls() {
    auto *central = new QWidget(this);
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
        combo->installEventFilter(this);
    }
    m_markedOnlyCheck = new QCheckBox(QStringLiteral("只显示盲区和未能计算的行(&B)"), central);
    m_markedOnlyCheck->setObjectName(QStringLiteral("markedOnlyCheck"));
    m_markedOnlyCheck->setAccessibleName(QStringLiteral("只显示盲区和未能计算的行"));
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
    buildFindBar(central);
    layout->addWidget(m_findBar);

    auto *splitter = new QSplitter(Qt::Horizontal, central);
    splitter->setChildrenCollapsible(false);
    m_splitter = splitter;
    m_view = new PayrollTableView(splitter);
    m_view->setObjectName(QStringLiteral("rowsView"));
    m_view->setAccessibleName(QStringLiteral("工资表各行"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->addAction(m_copyAction);
    m_view->addAction(m_selectAllAction);
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
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &PayrollWindow::selectionChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &PayrollWindow::selectionChanged);
    // The marks' colours are chosen for the palette the rows are painted on.
    connect(m_view, &PayrollTableView::paletteChanged, m_model, &PayrollModel::setPalette);
    connect(m_view, &PayrollTableView::rowEntered, this,
            [this](int row) { m_announcer->announce(m_model->rowDescription(row)); });
    m_charts = new QStackedWidget(splitter);
    m_chart = new BonusChart(m_charts);
    m_chart->setObjectName(QStringLiteral("bonusChart"));
    m_figures = new FiguresChart(m_charts);
    m_figures->setObjectName(QStringLiteral("figuresChart"));
    m_charts->addWidget(m_chart);
    m_charts->addWidget(m_figures);
    splitter->addWidget(m_view);
    splitter->addWidget(m_charts);
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
    setCentralWidget(central);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("statusLabel"));
    // A long name in the status never widens the window past the screen.
    m_status->setMinimumWidth(1);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setAccessibleName(QStringLiteral("进度"));
    m_progress->setRange(0, 1000);
    m_progress->setMaximumWidth(260);
    m_cancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setAccessibleName(QStringLiteral("取消"));
    m_cancel->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_pendingOpen.reset();
        m_pendingCompute = false;
        m_job->cancel();
    });
    statusBar()->addWidget(m_status, 1);
    statusBar()->addPermanentWidget(m_progress);
    statusBar()->addPermanentWidget(m_cancel);

    setTabOrder(m_modeCombo, m_periodCombo);
    setTabOrder(m_periodCombo, m_markedOnlyCheck);
    setTabOrder(m_markedOnlyCheck, m_findEdit);
    setTabOrder(m_findEdit, m_view);
    setTabOrder(m_view, m_summary);
    setTabOrder(m_summary, m_cancel);
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
        m_periodNote->hide();
        m_periodNote->clear();
        return;
    }
    const QString shown = m_periodCombo->isEnabled() ? used : m_periodCombo->currentText();
    m_periodNote->setText(QStringLiteral("“%1”没有 %2 的规则，按 %3 计算；换回其他方式仍按 %2。")
                              .arg(m_modeCombo->currentText(), m_chosenPeriod, shown));
    m_periodNote->show();
}

void PayrollWindow::chooseFileToOpen() {
    const QString folder = QSettings().value(kFolderKey, QFileInfo(m_path).absolutePath()).toString();
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
    // A workbook is saved as a workbook, a CSV file as CSV, unless the user picks otherwise.
    const QFileInfo info(m_path);
    const bool workbook = info.suffix().compare(QStringLiteral("xlsx"), Qt::CaseInsensitive) == 0;
    const QString workbookFilter = QStringLiteral("Excel 工作簿 (*.xlsx)");
    const QString csvFilter = QStringLiteral("CSV 文件 (*.csv)");
    QString filter = workbook ? workbookFilter : csvFilter;
    const QString folder = QSettings().value(kFolderKey, info.absolutePath()).toString();
    const QString suggested = folder + QStringLiteral("/") + info.completeBaseName() +
                              QStringLiteral("_结果") + (workbook ? kWorkbookSuffix : kCsvSuffix);
    // The dialog would ask about replacing the name as typed, before the extension is
    // added below: the final name is asked about here instead.
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("另存为"), suggested,
                                                workbookFilter + QStringLiteral(";;") + csvFilter, &filter,
                                                QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) {
        return;
    }
    // The name decides the format, as for taxcalc-batch; a bare name gets the chosen type's.
    if (!path.endsWith(kWorkbookSuffix, Qt::CaseInsensitive) &&
        !path.endsWith(kCsvSuffix, Qt::CaseInsensitive)) {
        path += filter == workbookFilter ? kWorkbookSuffix : kCsvSuffix;
    }
    if (mayReplace(path)) {
        saveFile(path);
    }
}

bool PayrollWindow::mayReplace(const QString &path) {
    if (!QFileInfo::exists(path) || !m_table) {
        return true;
    }
    const QString name = QFileInfo(path).fileName();
    OverwriteCheck::Verdict verdict = OverwriteCheck::Verdict::Refuse;
    std::vector<std::string> lost;
    std::string error;
    QStringList items;
    if (!OverwriteCheck::Judge(*m_table, computation(), QFile::encodeName(m_path).toStdString(),
                               QFile::encodeName(path).toStdString(), verdict, lost, error)) {
        verdict = OverwriteCheck::Verdict::Refuse;
        items << FromUtf8(error);
    }
    for (const std::string &item : lost) {
        items << FromUtf8(item);
    }
    const QString listed = items.join(QStringLiteral("、"));
    QMessageBox box(QMessageBox::Warning, QStringLiteral("另存为"), QString(), QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("replaceQuestion"));
    QPushButton *replace = nullptr;
    switch (verdict) {
        case OverwriteCheck::Verdict::Refuse:
            box.setObjectName(QStringLiteral("replaceRefusal"));
            box.setText(
                QStringLiteral("不能保存到 %1：保存会丢失其中的%2。\n请另选一个文件名。").arg(name, listed));
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case OverwriteCheck::Verdict::ReplaceInput:
            box.setText(
                QStringLiteral("%1 就是打开的文件。保存会用计算结果替换它%2。\n要替换原文件吗？")
                    .arg(name, items.isEmpty() ? QString() : QStringLiteral("，并丢失其中的") + listed));
            replace = box.addButton(QStringLiteral("替换原文件(&R)"), QMessageBox::DestructiveRole);
            break;
        case OverwriteCheck::Verdict::Replace:
            box.setIcon(QMessageBox::Question);
            box.setText(QStringLiteral("%1 已存在。要替换它吗？").arg(name));
            replace = box.addButton(QStringLiteral("替换(&R)"), QMessageBox::AcceptRole);
            break;
    }
    // Enter keeps the file.
    box.setDefaultButton(verdict == OverwriteCheck::Verdict::Refuse ? QMessageBox::Ok : QMessageBox::Cancel);
    box.exec();
    return replace != nullptr && box.clickedButton() == replace;
}

void PayrollWindow::openFile(const QString &path) {
    openFile(path, TextEncoding::Undecided);
}

void PayrollWindow::openFile(const QString &path, TextEncoding encoding) {
    if (m_job->busy()) {
        m_pendingOpen = path;
        m_pendingCompute = false;
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
        m_pendingCompute = true;
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
    if (m_pendingOpen) {
        const QString path = *m_pendingOpen;
        m_pendingOpen.reset();
        openFile(path);
    } else if (m_pendingCompute) {
        m_pendingCompute = false;
        modeChanged();
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
            QSettings().setValue(kFolderKey, QFileInfo(result.Path).absolutePath());
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
        if (result.Unsettled && !m_pendingOpen && !m_pendingCompute) {
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
            rememberFile(m_path);
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

void PayrollWindow::showProgress() {
    const int permille = m_job->permille();
    if (permille < 0) {
        m_progress->setRange(0, 0);
    } else {
        m_progress->setRange(0, 1000);
        m_progress->setValue(permille);
    }
    const PayrollJob::Phase phase = m_job->phase();
    if (static_cast<int>(phase) != m_phaseShown || !m_phaseClock.isValid()) {
        m_phaseShown = static_cast<int>(phase);
        m_phaseClock.start();
    }
    QString format;
    switch (phase) {
        case PayrollJob::Phase::Reading:
            format = m_job->rowsRead() > 0 ? QStringLiteral("读取 %1 行").arg(GroupedCount(m_job->rowsRead()))
                                           : QStringLiteral("读取 %p%");
            break;
        case PayrollJob::Phase::Computing:
            format = QStringLiteral("计算 %p%");
            break;
        case PayrollJob::Phase::Saving:
            format = QStringLiteral("保存 %p%");
            break;
    }
    // The time left, once a large file has shown how fast it goes.
    const qint64 elapsed = m_phaseClock.elapsed();
    if (permille >= 10 && permille < 1000 && elapsed >= 1000) {
        const qint64 left = (elapsed * (1000 - permille) / permille + 999) / 1000;
        format += QStringLiteral(" · 约剩 %1").arg(Duration(left));
    }
    m_progress->setFormat(format);
}

void PayrollWindow::setBusy(bool busy) {
    m_progress->setVisible(busy);
    m_cancel->setVisible(busy);
    m_cancel->setEnabled(busy);
    m_saveAction->setEnabled(!busy && m_model->outcomes() != nullptr);
    m_computeAction->setEnabled(!busy);
    if (busy) {
        m_progress->setValue(0);
        m_phaseClock.invalidate();
        showProgress();
        m_progressTimer->start();
    } else {
        m_progressTimer->stop();
    }
}

void PayrollWindow::showSummary() {
    const std::shared_ptr<const PayrollOutcomes> &outcomes = m_model->outcomes();
    if (!outcomes) {
        m_summary->setText(m_table ? QStringLiteral("这张表不能按“%1”计算。").arg(m_modeCombo->currentText())
                                   : QStringLiteral("打开工资表（文件 → 打开，或把文件拖到窗口上），"
                                                    "每一行的个税、盲区和建议都会算出来。"));
        return;
    }
    if (!outcomes->RowsComputed()) {
        m_summary->setText(
            m_job->busy()
                ? QStringLiteral("共 %1 行 · 正在计算合计…").arg(GroupedCount(outcomes->Table().Rows()))
                : QStringLiteral("共 %1 行 · 合计未算完（已取消）")
                      .arg(GroupedCount(outcomes->Table().Rows())));
        return;
    }
    const PayrollSummary &s = outcomes->Summary();
    QString text =
        QStringLiteral("共 %1 行 · 未能计算 %2 行").arg(GroupedCount(s.Rows)).arg(GroupedCount(s.Refused));
    const bool advises = outcomes->Advises();
    if (advises) {
        text += QStringLiteral(" · %1 %2 行")
                    .arg(RowMarkName(RowState::Advised, outcomes->Computing().Kind()))
                    .arg(GroupedCount(s.Advised));
    }
    if (s.TooLarge) {
        text += QStringLiteral(" · 有数额过大，无法合计");
    } else {
        text += QStringLiteral(" · 个税合计 %1 元").arg(GroupedYuan(s.Tax));
        if (advises) {
            text += QStringLiteral(" · 全部按建议调整可少缴个税 %1 元").arg(GroupedYuan(s.Saving));
        }
        if (s.LatestMonth != 0) {
            text += QStringLiteral(" · %1年%2月预扣 %3 元")
                        .arg(s.LatestMonth / 100)
                        .arg(s.LatestMonth % 100)
                        .arg(GroupedYuan(s.LatestWithheld));
        }
        if (outcomes->Settles()) {
            text += QStringLiteral(" · 应补税合计 %1 元 · 应退税合计 %2 元")
                        .arg(GroupedYuan(s.Payments), GroupedYuan(s.Refunds));
        }
    }
    m_summary->setText(text);
}

void PayrollWindow::selectionChanged() {
    const std::shared_ptr<const PayrollOutcomes> &outcomes = m_model->outcomes();
    const QModelIndex current = m_view->selectionModel()->currentIndex();
    if (!outcomes || !current.isValid()) {
        m_charts->setCurrentWidget(m_chart);
        m_chart->clearCurve(QStringLiteral("选中一行年终奖，这里画出它附近的税后年终奖曲线。"));
        return;
    }
    const std::size_t row = m_model->tableRow(current.row());
    const QString line = QString::number(outcomes->Table().Line(row));
    if (outcomes->Computing().Kind() == BatchMode::Withhold) {
        m_charts->setCurrentWidget(m_figures);
        if (const std::optional<PayrollOutcomes::EmployeeYear> year = outcomes->Year(row)) {
            m_figures->setYear(*year, row);
        } else {
            m_figures->clearFigures(QStringLiteral("第 %1 行不属于哪位员工的哪个月，未能计算。").arg(line));
        }
        return;
    }
    if (outcomes->Settles()) {
        m_charts->setCurrentWidget(m_figures);
        if (const std::optional<PayrollOutcomes::Settled> settled = outcomes->Settlement(row)) {
            m_figures->setSettlement(*settled);
        } else {
            m_figures->clearFigures(QStringLiteral("第 %1 行没有算出全年税额。").arg(line));
        }
        return;
    }
    m_charts->setCurrentWidget(m_chart);
    PayrollOutcomes::CurveRefusal why{};
    std::optional<BonusCurve> curve = outcomes->Curve(row, kChartSamples, why);
    if (!curve) {
        switch (why) {
            case PayrollOutcomes::CurveRefusal::NotBonus:
                m_chart->clearCurve(QStringLiteral("图表画的是年终奖；选“年终奖”计算时显示。"));
                break;
            case PayrollOutcomes::CurveRefusal::NoFigures:
                m_chart->clearCurve(QStringLiteral("第 %1 行没有算出年终奖。").arg(line));
                break;
            case PayrollOutcomes::CurveRefusal::TooLarge:
                m_chart->clearCurve(QStringLiteral("第 %1 行的数额过大，画不出来。").arg(line));
                break;
        }
        return;
    }
    m_chart->setCurve(std::move(*curve),
                      QStringLiteral("%1 年规则").arg(FromUtf8(outcomes->Computing().Period().Name)));
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
    QMessageBox::about(this, QStringLiteral("关于工资表个税"),
                       QStringLiteral("工资表个税：打开整张工资表（CSV 或 .xlsx），按所选方式逐行计算个税，"
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
    rememberPlace();
    m_pendingOpen.reset();
    m_pendingCompute = false;
    m_job->cancel();
    QMainWindow::closeEvent(event);
}

bool PayrollWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_modeCombo || watched == m_periodCombo) {
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
    if (watched == m_findEdit && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            findNext(!key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            m_findBar->hide();
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
    return QMainWindow::eventFilter(watched, event);
}

void PayrollWindow::buildFindBar(QWidget *parent) {
    m_findBar = new QWidget(parent);
    m_findBar->setObjectName(QStringLiteral("findBar"));
    m_findBar->setAccessibleName(QStringLiteral("查找"));
    auto *row = new QHBoxLayout(m_findBar);
    row->setContentsMargins(0, 0, 0, 0);
    auto *label = new QLabel(QStringLiteral("查找(&I)："), m_findBar);
    m_findEdit = new QLineEdit(m_findBar);
    m_findEdit->setObjectName(QStringLiteral("findEdit"));
    m_findEdit->setAccessibleName(QStringLiteral("查找工号或姓名"));
    m_findEdit->setPlaceholderText(QStringLiteral("工号或姓名；回车找下一个，Shift+回车找上一个"));
    m_findEdit->installEventFilter(this);
    label->setBuddy(m_findEdit);
    auto *previous = new QPushButton(QStringLiteral("上一个"), m_findBar);
    previous->setObjectName(QStringLiteral("findPreviousButton"));
    auto *next = new QPushButton(QStringLiteral("下一个"), m_findBar);
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
    m_findBar->hide();
}

void PayrollWindow::showFindBar() {
    m_findBar->show();
    m_findEdit->setFocus(Qt::ShortcutFocusReason);
    m_findEdit->selectAll();
}

void PayrollWindow::findNext(bool forward) {
    const QString wanted = m_findEdit->text().trimmed();
    if (wanted.isEmpty()) {
        showFindBar();
        return;
    }
    const int from = m_view->currentIndex().isValid() ? m_view->currentIndex().row() : (forward ? -1 : 0);
    const int found = m_model->findRow(wanted, from, forward);
    if (found < 0) {
        m_status->setText(QStringLiteral("没有工号或姓名含“%1”的行").arg(wanted));
        announceStatus();
        return;
    }
    m_view->selectRow(found);
    m_view->scrollTo(m_model->index(found, 0));
    m_status->setText(
        QStringLiteral("找到第 %1 行").arg(m_model->headerData(found, Qt::Vertical).toString()));
    announceStatus();
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

void PayrollWindow::placeOnScreen() {
    const QSettings settings;
    if (!restoreGeometry(settings.value(kGeometryKey).toByteArray())) {
        resize(kDefaultSize);
    }
    m_splitter->restoreState(settings.value(kSplitterKey).toByteArray());
    fitToScreen();
}

void PayrollWindow::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    // Only now is the frame known that the desktop puts round the window.
    if (!m_fitted) {
        m_fitted = true;
        fitToScreen();
    }
}

void PayrollWindow::moveEvent(QMoveEvent *event) {
    QMainWindow::moveEvent(event);
    // On X the window manager frames the window after it is shown, and moves it to
    // make room: only then does the frame tell how much of the screen it takes.
    if (m_fitted && !m_framed && frameGeometry().size() != geometry().size()) {
        m_framed = true;
        fitToScreen();
    }
}

void PayrollWindow::fitToScreen() {
    // Within the screen's free area at any scale: the remembered size may be from a
    // larger screen, the default too large for a small one at 150 %.
    const QScreen *shown = screen();
    if (shown == nullptr) {
        return;
    }
    const QRect available = shown->availableGeometry();
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize room = (available.size() - frame).expandedTo(minimumSizeHint());
    resize(size().boundedTo(room).expandedTo(minimumSizeHint()));
    QRect placed = frameGeometry();
    if (!available.contains(placed)) {
        placed.moveCenter(available.center());
        placed.moveLeft(std::max(placed.left(), available.left()));
        placed.moveTop(std::max(placed.top(), available.top()));
        move(placed.topLeft());
    }
}

void PayrollWindow::rememberPlace() {
    QSettings settings;
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kSplitterKey, m_splitter->saveState());
}

void PayrollWindow::rememberFile(const QString &path) {
    QSettings settings;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList recent = settings.value(kRecentKey).toStringList();
    recent.removeAll(absolute);
    recent.prepend(absolute);
    while (recent.size() > kRecentFiles) {
        recent.removeLast();
    }
    settings.setValue(kRecentKey, recent);
    settings.setValue(kFolderKey, QFileInfo(absolute).absolutePath());
    fillRecentFiles();
}

void PayrollWindow::fillRecentFiles() {
    m_recentMenu->clear();
    const QStringList recent = QSettings().value(kRecentKey).toStringList();
    int number = 0;
    for (const QString &path : recent) {
        ++number;
        // The number is the item's key; the folder tells apart files of one name.
        QAction *item = m_recentMenu->addAction(
            QStringLiteral("&%1 %2  （%3）")
                .arg(number)
                .arg(QFileInfo(path).fileName(), QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
        item->setData(path);
        connect(item, &QAction::triggered, this, [this, path] { openFile(path); });
    }
    m_recentMenu->setEnabled(!recent.isEmpty());
}

}  // namespace taxcalc
