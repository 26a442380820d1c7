// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The payroll window's parts on their own, without the window: the recent files,
// the placement on a screen, the combo boxes' focus policy, the find bar, the
// summary's totals, the queue of jobs, the time left and the names a save offers.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cstdio>
#include <memory>
#include <string>

#include "payroll/combo_focus_policy.h"
#include "payroll/find_bar.h"
#include "payroll/job_progress.h"
#include "payroll/job_queue.h"
#include "payroll/payroll_model.h"
#include "payroll/recent_files.h"
#include "payroll/save_dialogs.h"
#include "payroll/summary_line.h"
#include "payroll/window_placement.h"

using namespace taxcalc;

Q_DECLARE_METATYPE(taxcalc::PayrollSummary)

class PayrollPartsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { QSettings().clear(); }

    void listsRecentFilesLatestFirstOnceAndAtMostEight_data();
    void listsRecentFilesLatestFirstOnceAndAtMostEight();
    void recentFilesMenuNumbersTheFilesAndKeepsMissingOnes();
    void fitsTheWindowOnTheScreen_data();
    void fitsTheWindowOnTheScreen();
    void comboTakesKeysOnlyWhereTheUserPutTheFocus();
    void findBarFindsByNumberOrNameRoundTheEnd_data();
    void findBarFindsByNumberOrNameRoundTheEnd();
    void findBarWithoutTextShowsItselfAndEscClosesIt();
    void summaryTotals_data();
    void summaryTotals();
    void jobQueueKeepsTheLatestRequest();
    void timeLeft_data();
    void timeLeft();
    void saveNames_data();
    void saveNames();

private:
    QTemporaryDir m_dir;
};

void PayrollPartsTest::initTestCase() {
    // What the parts remember goes to an INI file of the test's own.
    QVERIFY(m_dir.isValid());
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    QCoreApplication::setApplicationName(QStringLiteral("payroll-parts"));
}

void PayrollPartsTest::listsRecentFilesLatestFirstOnceAndAtMostEight_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("the first") << QStringList{} << "/a" << QStringList{"/a"};
    QTest::newRow("a new one goes first") << QStringList{"/a", "/b"} << "/c" << QStringList{"/c", "/a", "/b"};
    QTest::newRow("one listed moves up, once")
        << QStringList{"/a", "/b", "/c"} << "/c" << QStringList{"/c", "/a", "/b"};
    QTest::newRow("the first again") << QStringList{"/a", "/b"} << "/a" << QStringList{"/a", "/b"};
    QTest::newRow("a ninth drops the oldest")
        << QStringList{"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8"} << "/9"
        << QStringList{"/9", "/1", "/2", "/3", "/4", "/5", "/6", "/7"};
    QTest::newRow("the eighth comes back first")
        << QStringList{"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8"} << "/8"
        << QStringList{"/8", "/1", "/2", "/3", "/4", "/5", "/6", "/7"};
    QTest::newRow("names differ by case") << QStringList{"/A"} << "/a" << QStringList{"/a", "/A"};
}

void PayrollPartsTest::listsRecentFilesLatestFirstOnceAndAtMostEight() {
    QFETCH(QStringList, before);
    QFETCH(QString, opened);
    QFETCH(QStringList, after);
    QCOMPARE(RecentFiles::Listed(before, opened), after);
}

void PayrollPartsTest::recentFilesMenuNumbersTheFilesAndKeepsMissingOnes() {
    QMenu menu;
    RecentFiles recent(&menu);
    recent.fillRecentFiles();
    QVERIFY(!menu.isEnabled());
    QCOMPARE(recent.folder(QStringLiteral("/start")), QStringLiteral("/start"));
    // Neither file exists: one on a share not mounted now is still offered.
    const QString a = m_dir.filePath(QStringLiteral("a.csv"));
    const QString b = m_dir.filePath(QStringLiteral("sub/b.csv"));
    for (const QString &path : {a, b, a}) {
        recent.rememberFile(path);
    }
    QVERIFY(menu.isEnabled());
    const QList<QAction *> items = menu.actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items[0]->text(), QStringLiteral("&1 a.csv  （%1）").arg(m_dir.path()));
    QCOMPARE(items[1]->text(), QStringLiteral("&2 b.csv  （%1/sub）").arg(m_dir.path()));
    QCOMPARE(recent.folder(QStringLiteral("/start")), m_dir.path());
    QSignalSpy chosen(&recent, &RecentFiles::chosen);
    items[1]->trigger();
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen[0][0].toString(), b);
    // A name relative to the working folder is kept whole; the next menu reads the settings.
    QVERIFY(QDir::setCurrent(m_dir.path()));
    recent.rememberFile(QStringLiteral("c.csv"));
    QMenu next;
    RecentFiles again(&next);
    again.fillRecentFiles();
    QCOMPARE(next.actions().size(), 3);
    QCOMPARE(next.actions()[0]->data().toString(), m_dir.filePath(QStringLiteral("c.csv")));
    QCOMPARE(next.actions()[2]->data().toString(), b);
    again.rememberFolder(QStringLiteral("/saved"));
    QCOMPARE(recent.folder(QString()), QStringLiteral("/saved"));
}

void PayrollPartsTest::fitsTheWindowOnTheScreen_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QRect>("placed");  // the framed window where it stands, at the fitted size
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("fitted");
    QTest::addColumn<QPoint>("origin");
    // A 1600 x 1000 screen with nothing taken off it, in logical pixels at 100, 150 and 200 %.
    QTest::newRow("100 %: the default fits where it is")
        << QSize(1280, 760) << QSize(0, 0) << QSize(900, 400) << QRect(50, 60, 1280, 760)
        << QRect(0, 0, 1600, 1000) << QSize(1280, 760) << QPoint(50, 60);
    // Framed 1290 x 800 at (400, 300) runs off the bottom: centred on (799, 499), 155 = 799 - 1289 / 2.
    QTest::newRow("100 %: framed, off the bottom")
        << QSize(1280, 760) << QSize(10, 40) << QSize(900, 400) << QRect(400, 300, 1290, 800)
        << QRect(0, 0, 1600, 1000) << QSize(1280, 760) << QPoint(155, 100);
    QTest::newRow("150 %: the default shrinks to the screen")
        << QSize(1280, 760) << QSize(0, 0) << QSize(900, 400) << QRect(0, 0, 1066, 666)
        << QRect(0, 0, 1066, 666) << QSize(1066, 666) << QPoint(0, 0);
    QTest::newRow("150 %: less the frame")
        << QSize(1280, 760) << QSize(8, 30) << QSize(900, 400) << QRect(0, 0, 1066, 666)
        << QRect(0, 0, 1066, 666) << QSize(1058, 636) << QPoint(0, 0);
    // Too narrow for the controls: as wide as they need, from the left edge.
    QTest::newRow("200 %: the minimum wins")
        << QSize(1280, 760) << QSize(0, 0) << QSize(900, 400) << QRect(0, 0, 900, 500)
        << QRect(0, 0, 800, 500) << QSize(900, 500) << QPoint(0, 0);
    // A size remembered from a larger screen, and a panel of 40 above: never under the panel.
    QTest::newRow("200 %: under a panel")
        << QSize(1600, 1000) << QSize(0, 0) << QSize(700, 400) << QRect(100, 100, 800, 460)
        << QRect(0, 40, 800, 460) << QSize(800, 460) << QPoint(0, 40);
}

void PayrollPartsTest::fitsTheWindowOnTheScreen() {
    QFETCH(QSize, size);
    QFETCH(QSize, frame);
    QFETCH(QSize, minimum);
    QFETCH(QRect, placed);
    QFETCH(QRect, available);
    QFETCH(QSize, fitted);
    QFETCH(QPoint, origin);
    QCOMPARE(WindowPlacement::FittedSize(size, available.size(), frame, minimum), fitted);
    QCOMPARE(WindowPlacement::FrameOrigin(placed, available), origin);
}

void PayrollPartsTest::comboTakesKeysOnlyWhereTheUserPutTheFocus() {
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *edit = new QLineEdit(&window);
    auto *combo = new QComboBox(&window);
    combo->addItems({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")});
    layout->addWidget(edit);
    layout->addWidget(combo);
    ComboFocusPolicy policy;
    policy.watch(combo);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // Focus from the program: the keys are not for the box.
    combo->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentIndex(), 0);
    // From Tab: they are.
    edit->setFocus(Qt::OtherFocusReason);
    combo->setFocus(Qt::TabFocusReason);
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentIndex(), 1);
    // Another window in front and back again: still the user's.
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(combo, &away);
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentIndex(), 2);
    // The wheel never.
    QWheelEvent wheel(QPointF(5, 5), combo->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(combo, &wheel);
    QCOMPARE(combo->currentIndex(), 2);
    // Once the focus leaves, it is gone, and a mnemonic brings it back.
    edit->setFocus(Qt::OtherFocusReason);
    combo->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(combo, Qt::Key_Up);
    QCOMPARE(combo->currentIndex(), 2);
    edit->setFocus(Qt::OtherFocusReason);
    combo->setFocus(Qt::ShortcutFocusReason);
    QTest::keyClick(combo, Qt::Key_Up);
    QCOMPARE(combo->currentIndex(), 1);
}

namespace {

// 王五's department holds 四, which the search does not look at.
const char kStaff[] =
    "工号,姓名,部门\n"
    "A01,张三,一部\n"
    "A02,李四,二部\n"
    "B03,张四,三部\n"
    "A04,王五,四部\n";

std::shared_ptr<const PayrollTable> Staff() {
    auto table = std::make_shared<PayrollTable>();
    std::string bytes(kStaff);
    const std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(fmemopen(bytes.data(), bytes.size(), "rb"),
                                                                &std::fclose);
    std::string error;
    if (!file || table->Read(file.get(), error) != PayrollTable::Status::Done) {
        qFatal("cannot read the staff: %s", error.c_str());
    }
    return table;
}

}  // namespace

void PayrollPartsTest::findBarFindsByNumberOrNameRoundTheEnd_data() {
    QTest::addColumn<int>("from");  // the current row, -1 for none
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<int>("found");  // the row then current
    QTest::addColumn<QString>("said");
    QTest::newRow("none current, forward") << -1 << "四" << true << 1 << "找到第 3 行";
    QTest::newRow("on to the next") << 1 << "四" << true << 2 << "找到第 4 行";
    QTest::newRow("round past the end, not by department") << 2 << "四" << true << 1 << "找到第 3 行";
    QTest::newRow("none current, backward from the last") << -1 << "四" << false << 2 << "找到第 4 行";
    QTest::newRow("backward round the start") << 1 << "四" << false << 2 << "找到第 4 行";
    QTest::newRow("a number in any case") << -1 << "b0" << true << 2 << "找到第 4 行";
    QTest::newRow("spaces round the text") << 0 << " 王五  " << true << 3 << "找到第 5 行";
    QTest::newRow("itself again, found last") << 3 << "王五" << true << 3 << "找到第 5 行";
    QTest::newRow("a department only") << 0 << "一部" << true << 0 << "没有工号或姓名含“一部”的行";
}

void PayrollPartsTest::findBarFindsByNumberOrNameRoundTheEnd() {
    QFETCH(int, from);
    QFETCH(QString, text);
    QFETCH(bool, forward);
    QFETCH(int, found);
    QFETCH(QString, said);
    PayrollModel model;
    model.setTable(Staff());
    QWidget window;
    QTableView view(&window);
    view.setModel(&model);
    FindBar bar(&model, &window);
    bar.setView(&view);
    if (from >= 0) {
        view.selectRow(from);
    }
    QSignalSpy spy(&bar, &FindBar::said);
    bar.edit()->setText(text);
    bar.findNext(forward);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy[0][0].toString(), said);
    QCOMPARE(view.currentIndex().row(), found);
}

void PayrollPartsTest::findBarWithoutTextShowsItselfAndEscClosesIt() {
    PayrollModel model;
    model.setTable(Staff());
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *bar = new FindBar(&model, &window);
    auto *view = new QTableView(&window);
    view->setModel(&model);
    bar->setView(view);
    layout->addWidget(bar);
    layout->addWidget(view);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(bar->isHidden());
    QSignalSpy spy(bar, &FindBar::said);
    bar->edit()->setText(QStringLiteral("   "));
    bar->findNext(true);
    QVERIFY(bar->isVisible());
    QCOMPARE(QApplication::focusWidget(), bar->edit());
    QCOMPARE(spy.size(), 0);
    // Shift+Enter finds backward: from none, the last row that holds 张, 张四.
    bar->edit()->setText(QStringLiteral("张"));
    QTest::keyClick(bar->edit(), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(view->currentIndex().row(), 2);
    QTest::keyClick(bar->edit(), Qt::Key_Enter);
    QCOMPARE(view->currentIndex().row(), 0);
    QTest::keyClick(bar->edit(), Qt::Key_Escape);
    QVERIFY(bar->isHidden());
    QCOMPARE(QApplication::focusWidget(), view);
}

void PayrollPartsTest::summaryTotals_data() {
    QTest::addColumn<PayrollSummary>("summary");
    QTest::addColumn<QString>("advised");
    QTest::addColumn<bool>("settles");
    QTest::addColumn<QString>("text");
    PayrollSummary bonus;
    bonus.Rows = 6;
    bonus.Refused = 1;
    bonus.Advised = 2;
    bonus.Tax = 1928520;
    bonus.Saving = 730510;
    QTest::newRow("advice") << bonus << "盲区" << false
                            << "共 6 行 · 未能计算 1 行 · 盲区 2 行 · 个税合计 19,285.20 元 · "
                               "全部按建议调整可少缴个税 7,305.10 元";
    PayrollSummary large = bonus;
    large.TooLarge = true;
    large.LatestMonth = 202604;
    QTest::newRow("too large for sums: counts only")
        << large << "可少缴个税" << true
        << "共 6 行 · 未能计算 1 行 · 可少缴个税 2 行 · 有数额过大，无法合计";
    PayrollSummary withheld;
    withheld.Rows = 1234567;
    withheld.Refused = 1000;
    withheld.Tax = 123456789012;
    withheld.LatestMonth = 202612;
    withheld.LatestWithheld = 5;
    QTest::newRow("the latest month withheld")
        << withheld << "" << false
        << "共 1,234,567 行 · 未能计算 1,000 行 · 个税合计 1,234,567,890.12 元 · 2026年12月预扣 0.05 元";
    PayrollSummary settled;
    settled.Rows = 2;
    settled.Tax = 2376000;
    settled.Payments = 972000;
    QTest::newRow("a settlement")
        << settled << "" << true
        << "共 2 行 · 未能计算 0 行 · 个税合计 23,760.00 元 · 应补税合计 9,720.00 元 · "
           "应退税合计 0.00 元";
}

void PayrollPartsTest::summaryTotals() {
    QFETCH(PayrollSummary, summary);
    QFETCH(QString, advised);
    QFETCH(bool, settles);
    QFETCH(QString, text);
    QCOMPARE(SummaryLine::Totals(summary, advised, settles), text);
}

void PayrollPartsTest::jobQueueKeepsTheLatestRequest() {
    QString path;
    JobQueue queue;
    QVERIFY(queue.empty());
    QCOMPARE(queue.takeNext(path), JobQueue::Next::Nothing);
    // The latest file wins.
    queue.askOpen(QStringLiteral("a.csv"));
    queue.askOpen(QStringLiteral("b.csv"));
    QVERIFY(!queue.empty());
    QCOMPARE(queue.takeNext(path), JobQueue::Next::Open);
    QCOMPARE(path, QStringLiteral("b.csv"));
    QVERIFY(queue.empty());
    // A file drops a computing asked before it ...
    queue.askCompute();
    queue.askOpen(QStringLiteral("c.csv"));
    QCOMPARE(queue.takeNext(path), JobQueue::Next::Open);
    QCOMPARE(queue.takeNext(path), JobQueue::Next::Nothing);
    // ... not one asked after it, which runs once the file is open.
    queue.askOpen(QStringLiteral("d.csv"));
    queue.askCompute();
    queue.askCompute();
    QCOMPARE(queue.takeNext(path), JobQueue::Next::Open);
    QCOMPARE(path, QStringLiteral("d.csv"));
    QCOMPARE(queue.takeNext(path), JobQueue::Next::Compute);
    QCOMPARE(queue.takeNext(path), JobQueue::Next::Nothing);
    queue.askOpen(QStringLiteral("e.csv"));
    queue.askCompute();
    queue.clear();
    QVERIFY(queue.empty());
    QCOMPARE(queue.takeNext(path), JobQueue::Next::Nothing);
}

void PayrollPartsTest::timeLeft_data() {
    QTest::addColumn<qint64>("elapsed");  // ms
    QTest::addColumn<int>("permille");
    QTest::addColumn<QString>("said");
    QTest::newRow("under a second") << qint64{999} << 500 << "";
    QTest::newRow("under a hundredth") << qint64{5000} << 9 << "";
    QTest::newRow("done") << qint64{5000} << 1000 << "";
    QTest::newRow("unknown") << qint64{5000} << -1 << "";
    // 2000 ms for half: 2000 more.
    QTest::newRow("half") << qint64{2000} << 500 << " · 约剩 2 秒";
    // 1000 ms for 1 %: 99000 more.
    QTest::newRow("a hundredth") << qint64{1000} << 10 << " · 约剩 1 分 39 秒";
    // 1500 x 1 / 999 = 1 ms, rounded up to a second.
    QTest::newRow("nearly done") << qint64{1500} << 999 << " · 约剩 1 秒";
    QTest::newRow("a whole minute") << qint64{60000} << 500 << " · 约剩 1 分 00 秒";
    // 3 x 60 + 5 = 185 s, from 185000 ms for half.
    QTest::newRow("minutes and seconds") << qint64{185000} << 500 << " · 约剩 3 分 05 秒";
}

void PayrollPartsTest::timeLeft() {
    QFETCH(qint64, elapsed);
    QFETCH(int, permille);
    QFETCH(QString, said);
    QCOMPARE(JobProgress::TimeLeft(elapsed, permille), said);
}

void PayrollPartsTest::saveNames_data() {
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("suggested");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("workbookChosen");
    QTest::addColumn<QString>("saved");
    QTest::newRow("a workbook") << "/in/工资.xlsx"
                                << "/out/工资_结果.xlsx"
                                << "/out/x" << true << "/out/x.xlsx";
    QTest::newRow("a workbook in capitals") << "/in/工资.XLSX"
                                            << "/out/工资_结果.xlsx"
                                            << "/out/x.CSV" << true << "/out/x.CSV";
    QTest::newRow("an old workbook saves as CSV") << "/in/工资.xls"
                                                  << "/out/工资_结果.csv"
                                                  << "/out/x" << false << "/out/x.csv";
    QTest::newRow("dots in the name") << "/in/2026.04.工资.csv"
                                      << "/out/2026.04.工资_结果.csv"
                                      << "/out/x.txt" << false << "/out/x.txt.csv";
    QTest::newRow("the name decides, not the type") << "/in/a.txt"
                                                    << "/out/a_结果.csv"
                                                    << "/out/x.Xlsx" << false << "/out/x.Xlsx";
}

void PayrollPartsTest::saveNames() {
    QFETCH(QString, opened);
    QFETCH(QString, suggested);
    QFETCH(QString, typed);
    QFETCH(bool, workbookChosen);
    QFETCH(QString, saved);
    QCOMPARE(SaveDialogs::SuggestedName(opened, QStringLiteral("/out")), suggested);
    QCOMPARE(SaveDialogs::WithSuffix(typed, workbookChosen), saved);
}

QTEST_MAIN(PayrollPartsTest)
#include "payroll_parts_test.moc"
