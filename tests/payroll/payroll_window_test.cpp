// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The payroll window driven as a user drives it: files opened by the menu's dialog,
// by a drop and by name, the mode switched from the keyboard, the summary read
// back, the marks and the filter, the chart, saving, and a long run cancelled.
#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <vector>

#include "payroll/bonus_chart.h"
#include "payroll/figures_chart.h"
#include "payroll/payroll_model.h"
#include "payroll/payroll_window.h"
#include "payroll/yuan_text.h"
#include "ui/application_setup.h"

using namespace taxcalc;

namespace {

// A payroll with both the bonus mode's and the wage mode's columns.
const char kPayroll[] =
    "工号,姓名,部门,年终奖,当月工资,每月薪金,三险一金\n"
    "000123,张三,财务部,18001,3500,5000,\n"
    "000124,李四,人事部,18000,,8000,1000\n"
    "000125,王五,\"研发部, 北京\",54001,3000,12000,2000\n"
    "000126,赵六,销售部,一万,3500,3000,\n"
    "000127,钱七,研发部,60000,8000,abc,\n"
    "000128,孙八,后勤,12000,4200,3500,0\n";

// Worked by hand. Bonus taxes: 18001 x 10 % - 105 = 1695.10; 18000 x 3 % = 540.00;
// 54001 - 500 = 53501 x 10 % - 105 = 5245.10; 60000 x 20 % - 555 = 11445.00;
// 12000 x 3 % = 360.00; together 19285.20. 18001 and 60000 sit in zones: following
// the advice saves 1695.10 - 540.00 and 11445.00 - 5295.00, 7305.10 in all.
const QString kBonusSummary = QStringLiteral(
    "共 6 行 · 未能计算 1 行 · 盲区 2 行 · 个税合计 19,285.20 元 · 全部按建议调整可少缴个税 7,305.10 元");
// 2011 wage taxes: 5000 - 3500 = 1500 x 3 % = 45.00; 8000 - 1000 - 3500 = 3500 x 10 %
// - 105 = 245.00; 12000 - 2000 - 3500 = 6500 x 20 % - 555 = 745.00; 3000 and 3500 - 0
// pay nothing; abc is refused. 1035.00 in all.
const QString kWageSummary = QStringLiteral("共 6 行 · 未能计算 1 行 · 个税合计 1,035.00 元");

// WCAG 2 contrast, worked out here from the sRGB channels.
double Luminance(const QColor &c) {
    const auto linear = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double Contrast(const QColor &a, const QColor &b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The strongest contrast of a pixel of the area with the background: that of the
// ink its text is painted in.
double InkContrast(const QImage &image, const QRect &area, const QColor &background) {
    double strongest = 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            strongest = std::max(strongest, Contrast(image.pixelColor(x, y), background));
        }
    }
    return strongest;
}

// What the window tells assistive technology: the event, its object, and the name
// (and, for the focus, the description) of what it concerns.
struct Heard {
    QAccessible::Event Type;
    QObject *Object;
    QString Text;
};
std::vector<Heard> g_heard;

void Overhear(QAccessibleEvent *event) {
    QAccessibleInterface *told = event->accessibleInterface();
    QString text = told != nullptr ? told->text(QAccessible::Name) : QString();
    if (told != nullptr && event->type() == QAccessible::Focus) {
        text += QLatin1Char('|') + told->text(QAccessible::Description);
    }
    g_heard.push_back({event->type(), event->object(), text});
}

}  // namespace

class PayrollWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensByTheMenusDialogByDropAndByName_data();
    void opensByTheMenusDialogByDropAndByName();
    void switchesModeFromTheKeyboard();
    void switchesPeriodFromTheKeyboard();
    void marksAndFiltersBlindZoneAndRefusedRows();
    void chartFollowsTheSelectedRow();
    void savesWhatTaxcalcBatchWrites_data();
    void savesWhatTaxcalcBatchWrites();
    void savesWorkbooksAsTaxcalcBatchDoes();
    void chartsShowAnEmployeesYearAndASettlement();
    void cancelsALongRunAndKeepsWhatWasShown();
    void refusesAFileWithoutAHeaderInPlainWords();
    void asksTheEncodingWhereTheFileLeavesItOpen_data();
    void asksTheEncodingWhereTheFileLeavesItOpen();
    void controlsHaveAccessibleNamesAndQtSpeaksChinese();

    void scrollKeysMoveTheRowsNeverTheMode_data();
    void scrollKeysMoveTheRowsNeverTheMode();
    void tabLeavesTheTableAndItsFocusIsDrawn();
    void keepsThePeriodThroughModesThatLackIt();
    void marksAndChartReadOnLightAndDarkPalettes_data();
    void marksAndChartReadOnLightAndDarkPalettes();
    void fitsTheScreenAndRemembersItsPlace();
    void sortsTheViewNotTheFile_data();
    void sortsTheViewNotTheFile();
    void findsByNumberOrName_data();
    void findsByNumberOrName();
    void copiesRowsAsCellsWithTheHeader();
    void remembersRecentFilesAndTheirFolder();
    void screenReadersHearTheFocusedRowAndTheStatus();
    void smallThings();
    void savesOverAFileOnlyAsTheUserSaysAndNeverOverWhatWouldBeLost_data();
    void savesOverAFileOnlyAsTheUserSaysAndNeverOverWhatWouldBeLost();
    void saysWhichSheetOfAWorkbookItReads();

private:
    template <typename T>
    T *control(const char *name) const {
        T *found = m_window->findChild<T *>(QString::fromLatin1(name));
        if (found == nullptr) {
            qFatal("no control %s", name);
        }
        return found;
    }
    QString summary() const { return control<QLabel>("summaryLabel")->text(); }
    QString status() const { return control<QLabel>("statusLabel")->text(); }
    QTableView *rows() const { return control<QTableView>("rowsView"); }
    // The 工号 of the current row.
    QString current() const { return model()->index(rows()->currentIndex().row(), 0).data().toString(); }
    PayrollModel *model() const {
        return qobject_cast<PayrollModel *>(control<QTableView>("rowsView")->model());
    }
    QString writeFile(const QString &name, const QByteArray &bytes) const;
    // Runs the script with Debian's python3; its standard output.
    QString python(const QString &script, const QStringList &arguments) const;
    // Picks the mode by taxcalc-batch's name for it, and the period, waiting for each to compute.
    void chooseMode(const QString &mode, const QString &period);
    bool waitIdle() const;

    QTemporaryDir m_dir;
    std::unique_ptr<PayrollWindow> m_window;
};

void PayrollWindowTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    // The window's remembered size, files and folder go to the test's own folder,
    // never the user's, nor another run's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       m_dir.filePath(QStringLiteral("settings")));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       m_dir.filePath(QStringLiteral("settings")));
    QCoreApplication::setOrganizationName(QStringLiteral("taxcalc-tests"));
    QCoreApplication::setApplicationName(QStringLiteral("payroll-window"));
    QVERIFY(PrepareApplication(*qApp, QStringLiteral("io.github.taxcalc.TaxcalcPayroll")));
}

void PayrollWindowTest::init() {
    m_window = std::make_unique<PayrollWindow>();
    m_window->show();
    // Shortcuts such as Esc reach only the active window.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void PayrollWindowTest::cleanup() {
    m_window.reset();
    // Each test starts without the sizes and files another remembered.
    QSettings().clear();
}

QString PayrollWindowTest::writeFile(const QString &name, const QByteArray &bytes) const {
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

bool PayrollWindowTest::waitIdle() const {
    // The cancel button shows exactly while work runs.
    QPushButton *cancel = control<QPushButton>("cancelButton");
    return QTest::qWaitFor([cancel] { return !cancel->isVisible(); }, 60000);
}

void PayrollWindowTest::opensByTheMenusDialogByDropAndByName_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("menu") << "menu";
    QTest::newRow("drop") << "drop";
    QTest::newRow("name") << "name";
}

void PayrollWindowTest::opensByTheMenusDialogByDropAndByName() {
    QFETCH(QString, how);
    const QString path = writeFile(QStringLiteral("工资表.csv"), kPayroll);
    if (how == QLatin1String("menu")) {
        QTimer::singleShot(0, this, [path] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            dialog->selectFile(path);
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        // File, then Open, from the keyboard.
        QTest::keyClick(m_window.get(), Qt::Key_F, Qt::AltModifier);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_O);
    } else if (how == QLatin1String("drop")) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        const QPoint centre = m_window->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(centre, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &drop);
    } else {
        m_window->openFile(path);
    }
    QVERIFY(waitIdle());
    QCOMPARE(summary(), kBonusSummary);
    QCOMPARE(model()->rowCount(), 6);
    QCOMPARE(model()->columnCount(), 7 + 8 + 1);
    QCOMPARE(model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("年终奖"));
    QCOMPARE(model()->headerData(15, Qt::Horizontal).toString(), QStringLiteral("错误"));
    QCOMPARE(model()->headerData(2, Qt::Vertical).toString(), QStringLiteral("4"));  // line in the file
    QCOMPARE(model()->index(2, 2).data().toString(), QStringLiteral("研发部, 北京"));
    QCOMPARE(model()->index(0, 0).data().toString(), QStringLiteral("000123"));
    QCOMPARE(model()->index(0, 7).data().toString(), QStringLiteral("1695.10"));
    QCOMPARE(model()->index(0, 10).data().toString(), QStringLiteral("18000"));
    QCOMPARE(model()->index(3, 15).data().toString(), QStringLiteral("年终奖：不是数字"));
    QVERIFY(m_window->windowTitle().startsWith(QStringLiteral("工资表.csv")));
}

void PayrollWindowTest::switchesModeFromTheKeyboard() {
    m_window->openFile(writeFile(QStringLiteral("mode.csv"), kPayroll));
    QVERIFY(waitIdle());
    QCOMPARE(summary(), kBonusSummary);
    QComboBox *mode = control<QComboBox>("modeCombo");
    // Alt+M gives the mode box the focus through its label; Down picks 工资.
    QTest::keyClick(m_window.get(), Qt::Key_M, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), mode);
    QTest::keyClick(mode, Qt::Key_Down);
    QCOMPARE(mode->currentText(), QStringLiteral("工资"));
    QVERIFY(waitIdle());
    QCOMPARE(summary(), kWageSummary);
    QCOMPARE(model()->columnCount(), 7 + 4 + 1);
    QCOMPARE(model()->index(2, 8).data().toString(), QStringLiteral("745.00"));
    QCOMPARE(model()->index(4, 11).data().toString(), QStringLiteral("每月薪金：不是数字"));
    QVERIFY(!control<QComboBox>("periodCombo")->isEnabled());

    QTest::keyClick(mode, Qt::Key_Up);
    QVERIFY(waitIdle());
    QCOMPARE(summary(), kBonusSummary);

    // A file without the wage mode's columns says so and computes again on return.
    m_window->openFile(writeFile(QStringLiteral("bonus-only.csv"), "年终奖\n18001\n"));
    QVERIFY(waitIdle());
    // Opening a file puts the focus on its rows; the mode box takes keys once the
    // user gives it the focus again.
    QCOMPARE(QApplication::focusWidget(), control<QTableView>("rowsView"));
    QTest::keyClick(m_window.get(), Qt::Key_M, Qt::AltModifier);
    QTest::keyClick(mode, Qt::Key_Down);
    QVERIFY(waitIdle());
    QCOMPARE(summary(), QStringLiteral("这张表不能按“工资”计算。"));
    QCOMPARE(control<QLabel>("statusLabel")->text(),
             QStringLiteral("表头中没有每月薪金列（列名“每月薪金”或“wage”）"));
    // The rows stay in sight, the file's own column only.
    QCOMPARE(model()->rowCount(), 1);
    QCOMPARE(model()->columnCount(), 1);
    QCOMPARE(model()->index(0, 0).data().toString(), QStringLiteral("18001"));
    QTest::keyClick(mode, Qt::Key_Up);
    QVERIFY(waitIdle());
    // A semicolon-separated file in GBK, as some spreadsheets save it, is read as the tool reads it.
    m_window->openFile(
        writeFile(QStringLiteral("gbk.csv"), "\xC4\xEA\xD6\xD5\xBD\xB1;x\n18001;\xD5\xC5\xC8\xFD\n"));
    QVERIFY(waitIdle());
    QCOMPARE(control<QLabel>("statusLabel")->text(),
             QStringLiteral("已打开 gbk.csv（编码 GB18030（按全文判断）；分隔符 分号“;”）"));
    QCOMPARE(model()->index(0, 1).data().toString(), QStringLiteral("张三"));
    QTest::keyClick(m_window.get(), Qt::Key_M, Qt::AltModifier);
    QTest::keyClick(mode, Qt::Key_Down);
    QVERIFY(waitIdle());
    QCOMPARE(model()->rowCount(), 1);
    QCOMPARE(model()->columnCount(), 2);
    QTest::keyClick(mode, Qt::Key_Up);
    QVERIFY(waitIdle());
    QCOMPARE(model()->rowCount(), 1);
}

void PayrollWindowTest::switchesPeriodFromTheKeyboard() {
    m_window->openFile(writeFile(QStringLiteral("period.csv"), kPayroll));
    QVERIFY(waitIdle());
    QComboBox *period = control<QComboBox>("periodCombo");
    QVERIFY(period->isEnabled());
    QCOMPARE(period->count(), 4);
    QCOMPARE(period->currentText(), QStringLiteral("2011（2011-09-01 至 2018-09-30）"));
    QTest::keyClick(m_window.get(), Qt::Key_P, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), period);

    // 2019: the bonus alone by the monthly table of 3 % up to 36000 and 10 % less 210
    // up to 144000; the wages play no part. 540.03 + 540.00 + (5400.10 - 210) +
    // (6000 - 210) + 360.00 = 12420.13, and no bonus sits in a zone.
    QTest::keyClick(period, Qt::Key_End);
    QCOMPARE(period->currentText(), QStringLiteral("2019（2019-01-01 至 2027-12-31）"));
    QVERIFY(waitIdle());
    QCOMPARE(summary(), QStringLiteral("共 6 行 · 未能计算 1 行 · 盲区 0 行 · 个税合计 12,420.13 元 · "
                                       "全部按建议调整可少缴个税 0.00 元"));
    QCOMPARE(model()->headerData(7, Qt::Horizontal).toString(), QStringLiteral("年终奖个税"));
    QVERIFY(control<BonusChart>("bonusChart")
                ->accessibleDescription()
                .contains(QStringLiteral("税后 17460.97 元")));

    // 2008: the nine-bracket table on 2000 a month, the window's 2010 figures:
    // 1775.10 + 1775.00 + 7975.15 + (9000 - 125) + 1175.00 = 21575.25.
    QTest::keyClick(period, Qt::Key_Home);
    QVERIFY(waitIdle());
    QCOMPARE(summary(), QStringLiteral("共 6 行 · 未能计算 1 行 · 盲区 0 行 · 个税合计 21,575.25 元 · "
                                       "全部按建议调整可少缴个税 0.00 元"));

    // The period chosen stays through a round trip to the wage mode, which takes none.
    QComboBox *mode = control<QComboBox>("modeCombo");
    mode->setCurrentIndex(1);
    QVERIFY(!period->isEnabled());
    QVERIFY(waitIdle());
    mode->setCurrentIndex(0);
    QCOMPARE(period->currentText(), QStringLiteral("2008（2008-03-01 至 2011-08-31）"));
    QVERIFY(waitIdle());
    QCOMPARE(summary(), QStringLiteral("共 6 行 · 未能计算 1 行 · 盲区 0 行 · 个税合计 21,575.25 元 · "
                                       "全部按建议调整可少缴个税 0.00 元"));
}

void PayrollWindowTest::marksAndFiltersBlindZoneAndRefusedRows() {
    m_window->openFile(writeFile(QStringLiteral("marks.csv"), kPayroll));
    QVERIFY(waitIdle());
    PayrollModel *rows = model();
    struct Expected {
        int Row;
        RowState State;
    };
    const Expected expected[] = {{0, RowState::Advised}, {1, RowState::Computed}, {2, RowState::Computed},
                                 {3, RowState::Refused}, {4, RowState::Advised},  {5, RowState::Computed}};
    QColor zoneColour;
    QColor refusedColour;
    for (const Expected &e : expected) {
        const QModelIndex first = rows->index(e.Row, 0);
        QCOMPARE(first.data(PayrollModel::kStateRole).toInt(), static_cast<int>(e.State));
        const bool marked = e.State == RowState::Advised || e.State == RowState::Refused;
        // Colour and an icon, never colour alone; and words for a screen reader.
        QCOMPARE(first.data(Qt::BackgroundRole).isValid(), marked);
        QCOMPARE(first.data(Qt::DecorationRole).value<QIcon>().isNull(), !marked);
        QCOMPARE(first.data(Qt::AccessibleDescriptionRole).toString().isEmpty(), !marked);
        if (e.State == RowState::Advised) {
            zoneColour = first.data(Qt::BackgroundRole).value<QColor>();
        } else if (e.State == RowState::Refused) {
            refusedColour = first.data(Qt::BackgroundRole).value<QColor>();
        }
    }
    QVERIFY(zoneColour != refusedColour);

    QTest::keyClick(m_window.get(), Qt::Key_B, Qt::ControlModifier);
    QVERIFY(control<QCheckBox>("markedOnlyCheck")->isChecked());
    QCOMPARE(rows->rowCount(), 3);
    QCOMPARE(rows->headerData(0, Qt::Vertical).toString(), QStringLiteral("2"));
    QCOMPARE(rows->headerData(1, Qt::Vertical).toString(), QStringLiteral("5"));
    QCOMPARE(rows->headerData(2, Qt::Vertical).toString(), QStringLiteral("6"));
    QCOMPARE(rows->index(2, 1).data().toString(), QStringLiteral("钱七"));
    QCOMPARE(summary(), kBonusSummary);  // the summary is the whole file's
    // The box's mnemonic clicks it after a short press animation.
    QTest::keyClick(m_window.get(), Qt::Key_B, Qt::AltModifier);
    QTRY_VERIFY(!control<QCheckBox>("markedOnlyCheck")->isChecked());
    QCOMPARE(rows->rowCount(), 6);
}

void PayrollWindowTest::chartFollowsTheSelectedRow() {
    m_window->openFile(writeFile(QStringLiteral("chart.csv"), kPayroll));
    QVERIFY(waitIdle());
    auto *chart = control<BonusChart>("bonusChart");
    QTableView *view = control<QTableView>("rowsView");
    // The first row is selected on opening: 18001 in the first zone.
    QCOMPARE(chart->accessibleDescription(),
             QStringLiteral("本行年终奖 18001.00 元，税后 16305.90 元，在盲区内；建议年终奖 18000.00 "
                            "元，税后 17460.00 元。"));
    QVERIFY(chart->curve().has_value());
    QCOMPARE(chart->curve()->Zones.front().Lower, 1800000);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(chart->accessibleDescription(),
             QStringLiteral("本行年终奖 18000.00 元，税后 17460.00 元，不在盲区。"));
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Down);
    QVERIFY(!chart->curve().has_value());
    QCOMPARE(chart->accessibleDescription(), QStringLiteral("第 5 行没有算出年终奖。"));
    QTest::keyClick(view, Qt::Key_Down);
    // 60000 with a wage of 8000: the 54000 zone, advice 54000 keeping 48705.00.
    QCOMPARE(chart->accessibleDescription(),
             QStringLiteral("本行年终奖 60000.00 元，税后 48555.00 元，在盲区内；建议年终奖 54000.00 "
                            "元，税后 48705.00 元。"));
    const QImage picture = chart->grab().toImage();
    QVERIFY(!picture.isNull());
}

void PayrollWindowTest::savesWhatTaxcalcBatchWrites_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("period");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("summary");  // worked by hand; empty where another test checks it
    QTest::newRow("bonus") << "bonus"
                           << "" << QByteArray(kPayroll) << kBonusSummary;
    QTest::newRow("wage") << "wage"
                          << "" << QByteArray(kPayroll) << kWageSummary;
    QTest::newRow("bonus 2008") << "bonus"
                                << "2008" << QByteArray(kPayroll) << QString();
    QTest::newRow("bonus 2019 with the year's income")
        << "bonus"
        << "2019" << QByteArray("工号,年终奖,全年应纳税所得额\n1,38000,100000\n2,150000,20000\n3,36000,\n")
        << QString();
    // GBK, as Excel saves on Chinese Windows, with a blank row and an extra cell.
    QTest::newRow("bonus gbk") << "bonus"
                               << ""
                               << QByteArray(
                                      "\xD0\xD5\xC3\xFB,\xC4\xEA\xD6\xD5\xBD\xB1\r\n"
                                      "\xD5\xC5\xC8\xFD,18001\r\n,\r\n\xC0\xEE,19000,x\r\n")
                               << QString();
    // 17460 after tax needs 18000 (540.00 tax); one cent more needs 19283.34 (1823.33);
    // 30000 with a wage of 3000 needs 33161.11 (3161.11).
    QTest::newRow("gross bonus") << "gross-bonus"
                                 << "2011"
                                 << QByteArray(
                                        "工号,税后年终奖,当月工资\n1,17460,\n2,17460.01,\n3,30000,3000\n")
                                 << QStringLiteral("共 3 行 · 未能计算 0 行 · 个税合计 5,524.44 元");
    // 8000 after 1200 and tax: 9631.25 gross, (9631.25 - 1200 - 3500) x 20 % - 555 =
    // 431.25 tax; 3300 after 300: 3600, no tax; a negative net is refused.
    QTest::newRow("gross wage 2011") << "gross-wage"
                                     << "2011"
                                     << QByteArray("工号,税后工资,三险一金\n1,8000,1200\n2,3300,300\n3,-1,\n")
                                     << QStringLiteral("共 3 行 · 未能计算 1 行 · 个税合计 431.25 元");
    // 张三 pays 1480.00 a year now and 280.00 less split 11000 + 4000; 王五 13560.00 and
    // 3360.00 less; 赵六's minimum wage is above a twelfth of his year.
    QTest::newRow("split 2019")
        << "split"
        << "2019"
        << QByteArray(
               "工号,姓名,月薪,年终奖,三险一金,最低月薪,专项附加扣除\n1001,张三,8000,40000,1000,,24000\n"
               "1002,王五,6000,150000,800,,\n1003,赵六,3000,0,,5000,\n")
        << QStringLiteral(
               "共 3 行 · 未能计算 1 行 · 可少缴个税 2 行 · 个税合计 15,040.00 元 · "
               "全部按建议调整可少缴个税 3,640.00 元");
    // 张三 withholds 300.00 in January and February, 580.00 in April (10000 of taxable
    // income a month); 李四 150.00 in April; March is refused and takes April with it.
    QTest::newRow("withhold")
        << "withhold"
        << ""
        << QByteArray(
               "工号,姓名,所属月份,本期收入,三险一金,累计专项附加扣除\n"
               "1,张三,2026-02,20000,3000,4000\n2,李四,2026-04,10000,,\n1,张三,2026-01,20000,3000,2000\n"
               "3,王五,2026-03,一万,,\n3,王五,2026-04,10000,,\n")
        << QStringLiteral("共 5 行 · 未能计算 2 行 · 个税合计 750.00 元 · 2026年4月预扣 150.00 元");
    // 4000 of labour: 640.00; 4000 of author's remuneration: 448.00.
    QTest::newRow("remuneration") << "remuneration"
                                  << ""
                                  << QByteArray("姓名,收入,所得项目\n甲,4000,\n乙,4000,稿酬\n丙,1,奖金\n")
                                  << QStringLiteral("共 3 行 · 未能计算 1 行 · 个税合计 1,088.00 元");
    // 150000 of bonus joined to 30000 of wages: 9480.00, 19110.00 back of 28590.00;
    // 216000 from two employers: 14280.00 less 4560.00 paid.
    QTest::newRow("reconcile")
        << "reconcile"
        << ""
        << QByteArray("姓名,工资薪金收入,全年一次性奖金,已缴税额\n甲,30000,150000,28590\n乙,216000,,4560\n")
        << QStringLiteral(
               "共 2 行 · 未能计算 0 行 · 个税合计 23,760.00 元 · 应补税合计 9,720.00 元 · "
               "应退税合计 19,110.00 元");
}

void PayrollWindowTest::savesWhatTaxcalcBatchWrites() {
    QFETCH(QString, mode);
    QFETCH(QString, period);
    QFETCH(QByteArray, input);
    QFETCH(QString, summary);
    const QString in = writeFile(QStringLiteral("in.csv"), input);
    const QString fromTool = m_dir.filePath(QStringLiteral("tool.csv"));
    QStringList arguments{mode, in, QStringLiteral("-o"), fromTool};
    if (!period.isEmpty()) {
        arguments << QStringLiteral("--rules") << period;
    }
    QProcess tool;
    tool.start(QStringLiteral(TAXCALC_BATCH_PROGRAM), arguments);
    QVERIFY(tool.waitForFinished(30000));
    QVERIFY(tool.exitCode() == 0 || tool.exitCode() == 1);

    m_window->openFile(in);
    QVERIFY(waitIdle());
    chooseMode(mode, period);
    if (!summary.isEmpty()) {
        QCOMPARE(this->summary(), summary);
    }
    const QString fromWindow = m_dir.filePath(QStringLiteral("窗口.csv"));
    m_window->saveFile(fromWindow);
    QVERIFY(waitIdle());
    QCOMPARE(control<QLabel>("statusLabel")->text(), QStringLiteral("已保存 窗口.csv"));
    QFile a(fromTool);
    QFile b(fromWindow);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray expected = a.readAll();
    QVERIFY(expected.size() > 100);
    QCOMPARE(b.readAll(), expected);
}

// The bars are the rows' own figures: each month's withholding of the selected
// employee, in month order, the selected month marked; the year's two taxes and what
// was paid for a reconciliation.
void PayrollWindowTest::chartsShowAnEmployeesYearAndASettlement() {
    m_window->openFile(writeFile(QStringLiteral("months.csv"),
                                 "工号,所属月份,本期收入,三险一金,累计专项附加扣除\n"
                                 "1,2026-04,20000,3000,8000\n2,2026-01,9000,,\n1,2026-01,20000,3000,2000\n"
                                 "1,2026-03,20000,3000,6000\n1,2026-02,20000,3000,4000\n"));
    QVERIFY(waitIdle());
    chooseMode(QStringLiteral("withhold"), QString());
    control<QTableView>("rowsView")->selectRow(0);
    const auto *chart = control<FiguresChart>("figuresChart");
    QVERIFY(chart->isVisible());
    std::vector<std::pair<QString, QString>> bars;
    for (const FiguresChart::Bar &bar : chart->bars()) {
        bars.emplace_back(bar.Label, Yuan(bar.Value) + (bar.Marked ? QStringLiteral("*") : QString()));
    }
    const std::vector<std::pair<QString, QString>> expected{
        {QStringLiteral("1月"), QStringLiteral("300.00")},
        {QStringLiteral("2月"), QStringLiteral("300.00")},
        {QStringLiteral("3月"), QStringLiteral("300.00")},
        {QStringLiteral("4月"), QStringLiteral("580.00*")}};
    QCOMPARE(bars, expected);
    // The same figures stand in the rows' 本期应预扣预缴税额 column.
    const int withheld = model()->columnCount() - 3;
    QCOMPARE(model()->headerData(withheld, Qt::Horizontal).toString(), QStringLiteral("本期应预扣预缴税额"));
    QCOMPARE(model()->index(0, withheld).data().toString(), QStringLiteral("580.00"));
    QCOMPARE(model()->index(2, withheld).data().toString(), QStringLiteral("300.00"));

    m_window->openFile(writeFile(QStringLiteral("year.csv"),
                                 "姓名,工资薪金收入,全年一次性奖金,已缴税额\n甲,30000,150000,28590\n"));
    QVERIFY(waitIdle());
    chooseMode(QStringLiteral("reconcile"), QString());
    control<QTableView>("rowsView")->selectRow(0);
    bars.clear();
    for (const FiguresChart::Bar &bar : chart->bars()) {
        bars.emplace_back(bar.Label, Yuan(bar.Value) + (bar.Marked ? QStringLiteral("*") : QString()));
    }
    const std::vector<std::pair<QString, QString>> settled{
        {QStringLiteral("单独计税"), QStringLiteral("28590.00")},
        {QStringLiteral("并入综合所得"), QStringLiteral("9480.00*")},
        {QStringLiteral("已缴税额"), QStringLiteral("28590.00")}};
    QCOMPARE(bars, settled);
    QVERIFY(chart->accessibleDescription().contains(QStringLiteral("退税 19110.00 元")));
}

// A workbook from openpyxl (an ID with leading zeros as text, a date, numbers),
// saved as a workbook: every cell's value, type and number format is what the tool
// writes, which a spreadsheet reader sees.
void PayrollWindowTest::savesWorkbooksAsTaxcalcBatchDoes() {
    const QString in = m_dir.filePath(QStringLiteral("in.xlsx"));
    QCOMPARE(python(QStringLiteral(R"(import sys, datetime, openpyxl
book = openpyxl.Workbook()
ws = book.active
ws.append(["工号", "姓名", "年终奖", "当月工资", "入职"])
ws.append(["000123", "张三", 18001, None, datetime.date(2020, 3, 1)])
ws.append([])
ws.append(["000124", "李四", "abc", 3000, None])
ws.append(["000125", "王五", 60000, 8000, None])
book.save(sys.argv[1])
)"),
                    {in}),
             QString());
    const QString fromTool = m_dir.filePath(QStringLiteral("tool.xlsx"));
    QProcess tool;
    tool.start(QStringLiteral(TAXCALC_BATCH_PROGRAM),
               {QStringLiteral("bonus"), in, QStringLiteral("-o"), fromTool});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 1);

    m_window->openFile(in);
    QVERIFY(waitIdle());
    QCOMPARE(summary(), QStringLiteral("共 4 行 · 未能计算 1 行 · 盲区 2 行 · 个税合计 13,140.10 元 · "
                                       "全部按建议调整可少缴个税 7,305.10 元"));
    const QString fromWindow = m_dir.filePath(QStringLiteral("窗口.xlsx"));
    m_window->saveFile(fromWindow);
    QVERIFY(waitIdle());
    QCOMPARE(control<QLabel>("statusLabel")->text(), QStringLiteral("已保存 窗口.xlsx"));
    const QString dump = QStringLiteral(R"(import sys, openpyxl
for row in openpyxl.load_workbook(sys.argv[1]).worksheets[0].iter_rows():
    print([(c.value, c.data_type, c.number_format) for c in row])
)");
    const QString seen = python(dump, {fromWindow});
    QVERIFY(seen.contains(QStringLiteral("('000123', 's', 'General')")));
    QVERIFY(seen.contains(QStringLiteral("(1695.1, 'n', '0.00')")));
    QCOMPARE(seen, python(dump, {fromTool}));
}

QString PayrollWindowTest::python(const QString &script, const QStringList &arguments) const {
    // openpyxl is Debian's, installed for Debian's own python3.
    QProcess process;
    process.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), script} + arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning("%s", process.readAllStandardError().constData());
        return QStringLiteral("python3 failed");
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

void PayrollWindowTest::chooseMode(const QString &mode, const QString &period) {
    const std::optional<BatchMode> named = ModeNamed(mode.toStdString());
    QVERIFY(named.has_value());
    QComboBox *modeCombo = control<QComboBox>("modeCombo");
    const int index = modeCombo->findData(static_cast<int>(*named));
    QVERIFY(index >= 0);
    if (index != modeCombo->currentIndex()) {
        modeCombo->setCurrentIndex(index);
        QVERIFY(waitIdle());
    }
    if (!period.isEmpty()) {
        QComboBox *periods = control<QComboBox>("periodCombo");
        const int chosen = periods->findData(period);
        QVERIFY(chosen >= 0);
        if (chosen != periods->currentIndex()) {
            periods->setCurrentIndex(chosen);
            QVERIFY(waitIdle());
        }
    }
}

void PayrollWindowTest::cancelsALongRunAndKeepsWhatWasShown() {
    m_window->openFile(writeFile(QStringLiteral("small.csv"), kPayroll));
    QVERIFY(waitIdle());
    QByteArray big = "工号,年终奖,当月工资\n";
    for (int i = 0; i < 400000; ++i) {
        big += QByteArray::number(100000 + i) + (i % 2 == 0 ? ",18001,3500\n" : ",54001.5,3000\n");
    }
    const QString path = writeFile(QStringLiteral("big.csv"), big);
    m_window->openFile(path);
    QPushButton *cancel = control<QPushButton>("cancelButton");
    QVERIFY(cancel->isVisible());
    QVERIFY(control<QProgressBar>("progressBar")->isVisible());
    QTest::mouseClick(cancel, Qt::LeftButton);
    QVERIFY(waitIdle());
    QCOMPARE(control<QLabel>("statusLabel")->text(), QStringLiteral("已取消打开 big.csv"));
    QCOMPARE(model()->rowCount(), 6);
    QCOMPARE(summary(), kBonusSummary);

    // Cancelled while the totals are computed, the rows stay and the summary says so.
    m_window->openFile(path);
    QVERIFY(QTest::qWaitFor([this] { return summary().contains(QStringLiteral("正在计算合计")); }, 60000));
    QCOMPARE(model()->rowCount(), 400000);
    QTest::mouseClick(cancel, Qt::LeftButton);
    QVERIFY(waitIdle());
    QCOMPARE(control<QLabel>("statusLabel")->text(), QStringLiteral("已取消计算"));
    QCOMPARE(summary(), QStringLiteral("共 400,000 行 · 合计未算完（已取消）"));
    QCOMPARE(model()->index(0, 3).data().toString(), QStringLiteral("1695.10"));
    QCOMPARE(model()->index(0, 0).data(PayrollModel::kStateRole).toInt(),
             static_cast<int>(RowState::Advised));
    QVERIFY(!control<QCheckBox>("markedOnlyCheck")->isEnabled());
    // A save computes the rows that the cancel left out: the summary has its totals then.
    // 200000 x 1695.10 + 200000 x (53501.50 x 10 % - 105 = 5245.15); only 18001 is in a zone.
    const QString bigSummary = QStringLiteral(
        "共 400,000 行 · 未能计算 0 行 · 盲区 200,000 行 · 个税合计 1,388,050,000.00 元 · "
        "全部按建议调整可少缴个税 231,020,000.00 元");
    m_window->saveFile(m_dir.filePath(QStringLiteral("big-saved.csv")));
    QVERIFY(waitIdle());
    QCOMPARE(status(), QStringLiteral("已保存 big-saved.csv"));
    QCOMPARE(summary(), bigSummary);

    m_window->openFile(m_dir.filePath(QStringLiteral("small.csv")));
    QVERIFY(waitIdle());
    QCOMPARE(summary(), kBonusSummary);
    // Esc cancels too, while reading or, on a fast machine, while computing the totals;
    // opened in full, the big file gives its own figures.
    m_window->openFile(path);
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    QVERIFY(waitIdle());
    const QString cancelled = control<QLabel>("statusLabel")->text();
    QVERIFY2(cancelled == QStringLiteral("已取消打开 big.csv") || cancelled == QStringLiteral("已取消计算"),
             qPrintable(cancelled));
    QVERIFY(summary() == kBonusSummary ||
            summary() == QStringLiteral("共 400,000 行 · 合计未算完（已取消）"));
    // F5 computes again whatever Esc stopped.
    QTest::keyClick(m_window.get(), Qt::Key_F5);
    QVERIFY(waitIdle());
    QVERIFY(summary() == kBonusSummary || summary() == bigSummary);
    m_window->openFile(path);
    QVERIFY(waitIdle());
    QCOMPARE(model()->rowCount(), 400000);
    // 200000 x 1695.10 + 200000 x (53501.50 x 10 % - 105 = 5245.15); only 18001 is in a zone.
    QCOMPARE(
        summary(),
        QStringLiteral("共 400,000 行 · 未能计算 0 行 · 盲区 200,000 行 · 个税合计 1,388,050,000.00 元 · "
                       "全部按建议调整可少缴个税 231,020,000.00 元"));

    // A save cancelled half way leaves no file behind.
    const QString saved = m_dir.filePath(QStringLiteral("big.xlsx"));
    const QStringList before = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
    m_window->saveFile(saved);
    QVERIFY(cancel->isVisible());
    QTest::mouseClick(cancel, Qt::LeftButton);
    QVERIFY(waitIdle());
    QCOMPARE(control<QLabel>("statusLabel")->text(), QStringLiteral("已取消保存 big.xlsx"));
    QVERIFY(!QFile::exists(saved));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), before);
}

void PayrollWindowTest::refusesAFileWithoutAHeaderInPlainWords() {
    m_window->openFile(writeFile(QStringLiteral("empty.csv"), ""));
    QVERIFY(waitIdle());
    QCOMPARE(control<QLabel>("statusLabel")->text(),
             QStringLiteral("未能打开 empty.csv：输入是空的，没有表头"));
    QCOMPARE(model()->rowCount(), 0);
    m_window->openFile(m_dir.filePath(QStringLiteral("missing.csv")));
    QVERIFY(waitIdle());
    QVERIFY(
        control<QLabel>("statusLabel")->text().startsWith(QStringLiteral("未能打开 missing.csv：无法打开")));
}

void PayrollWindowTest::asksTheEncodingWhereTheFileLeavesItOpen_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("name");  // the first cell, as read
    QTest::addColumn<QString>("status");
    QTest::newRow("UTF-8") << "readAsUtf8"
                           << "José"
                           << "已打开 josé.csv（编码 UTF-8（按所选））";
    QTest::newRow("GB18030") << "readAsGb18030"
                             << "Jos茅"
                             << "已打开 josé.csv（编码 GB18030（按所选））";
    QTest::newRow("neither")
        << ""
        << ""
        << "未能打开 josé.csv：无法确定输入的编码：从第 2 行起的文字读作 UTF-8 或 GB18030 都说得通";
}

// Two bytes that make é in UTF-8 and 茅 in GB18030: the file does not say which it is,
// so the window asks, where the tool asks for --encoding.
void PayrollWindowTest::asksTheEncodingWhereTheFileLeavesItOpen() {
    QFETCH(QString, answer);
    QFETCH(QString, name);
    QFETCH(QString, status);
    const QString path = writeFile(QStringLiteral("josé.csv"), "name,bonus\nJos\xC3\xA9,18001\n");
    bool asked = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (question == nullptr || question->objectName() != QLatin1String("encodingQuestion")) {
            return;
        }
        asked = true;
        if (answer.isEmpty()) {
            QTest::keyClick(question, Qt::Key_Escape);
        } else {
            question->findChild<QPushButton *>(answer)->click();
        }
    });
    poll.start(20);
    m_window->openFile(path);
    QVERIFY(QTest::qWaitFor([&] { return asked; }, 30000));
    QVERIFY(waitIdle());
    QCOMPARE(control<QLabel>("statusLabel")->text(), status);
    QCOMPARE(model()->rowCount(), name.isEmpty() ? 0 : 1);
    if (!name.isEmpty()) {
        QCOMPARE(model()->index(0, 0).data().toString(), name);
    }
}

void PayrollWindowTest::controlsHaveAccessibleNamesAndQtSpeaksChinese() {
    m_window->openFile(writeFile(QStringLiteral("工资表.csv"), kPayroll));
    QVERIFY(waitIdle());
    // What a screen reader is told each control is called; a label is called by what
    // it shows, so that the summary and the status are read out, not a caption.
    for (QWidget *widget : m_window->findChildren<QWidget *>()) {
        if (widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_"))) {
            continue;
        }
        // A hidden label says nothing to anyone; it is read once it shows.
        if (qobject_cast<QLabel *>(widget) != nullptr && !widget->isVisibleTo(m_window.get())) {
            continue;
        }
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(accessible != nullptr);
        const QString name = accessible->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty(), qPrintable(widget->objectName()));
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            QCOMPARE(name, label->text());
        }
    }
    for (QAction *action : m_window->findChildren<QAction *>()) {
        if (!action->objectName().isEmpty()) {
            QVERIFY2(action->text().contains(QLatin1Char('&')), qPrintable(action->objectName()));
        }
    }
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
}

void PayrollWindowTest::scrollKeysMoveTheRowsNeverTheMode_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("PageDown") << int(Qt::Key_PageDown) << Qt::KeyboardModifiers();
    QTest::newRow("End") << int(Qt::Key_End) << Qt::KeyboardModifiers();
    QTest::newRow("Ctrl+End") << int(Qt::Key_End) << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("Down") << int(Qt::Key_Down) << Qt::KeyboardModifiers();
}

void PayrollWindowTest::scrollKeysMoveTheRowsNeverTheMode() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    m_window->openFile(writeFile(QStringLiteral("keys.csv"), kPayroll));
    QVERIFY(waitIdle());
    // After opening, the keys go to the rows, from the first.
    QCOMPARE(QApplication::focusWidget(), rows());
    QCOMPARE(current(), QStringLiteral("000123"));
    QTest::keyClick(rows(), static_cast<Qt::Key>(key), modifiers);
    // Nor does a box take keys where the user never put the focus, nor the wheel.
    QComboBox *mode = control<QComboBox>("modeCombo");
    mode->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(mode, static_cast<Qt::Key>(key), modifiers);
    QWheelEvent wheel(QPointF(5, 5), mode->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(mode, &wheel);
    QCOMPARE(mode->currentText(), QStringLiteral("年终奖"));
    QVERIFY(!control<QPushButton>("cancelButton")->isVisible());
    // Tab still leaves it.
    QTest::keyClick(mode, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control<QComboBox>("periodCombo"));
}

void PayrollWindowTest::tabLeavesTheTableAndItsFocusIsDrawn() {
    m_window->openFile(writeFile(QStringLiteral("tab.csv"), kPayroll));
    QVERIFY(waitIdle());
    QTableView *view = rows();
    QTest::keyClick(view, Qt::Key_Down);
    const QRect row = view->visualRect(model()->index(1, 0)).adjusted(0, -2, 0, 2);
    const QImage focused = view->viewport()->grab().toImage().copy(row);
    // Tab leaves the table, Shift+Tab comes back and goes on; the row stays.
    QTest::keyClick(view, Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != view);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), view);
    QTest::keyClick(view, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), control<QCheckBox>("markedOnlyCheck"));
    QCOMPARE(current(), QStringLiteral("000124"));
    QCOMPARE(view->selectionModel()->selectedRows().size(), 1);
    // The row with the focus is drawn otherwise than without it.
    QVERIFY(view->viewport()->grab().toImage().copy(row) != focused);
}

void PayrollWindowTest::keepsThePeriodThroughModesThatLackIt() {
    m_window->openFile(writeFile(QStringLiteral("periods.csv"), kPayroll));
    QVERIFY(waitIdle());
    chooseMode(QStringLiteral("bonus"), QStringLiteral("2019"));
    QComboBox *period = control<QComboBox>("periodCombo");
    QLabel *note = control<QLabel>("periodNote");
    QVERIFY(note->isHidden());
    // 税后反推工资 has no 2019, and says so beside the box; 最优分配 and 年终奖 take it again.
    chooseMode(QStringLiteral("gross-wage"), QString());
    QVERIFY(period->currentData().toString() != QStringLiteral("2019"));
    QVERIFY(!note->isHidden() && note->text().contains(QStringLiteral("“税后反推工资”没有 2019")));
    chooseMode(QStringLiteral("split"), QString());
    QCOMPARE(period->currentData().toString(), QStringLiteral("2019"));
    QVERIFY(note->isHidden());
    chooseMode(QStringLiteral("bonus"), QString());
    QCOMPARE(summary(), QStringLiteral("共 6 行 · 未能计算 1 行 · 盲区 0 行 · 个税合计 12,420.13 元 · "
                                       "全部按建议调整可少缴个税 0.00 元"));
}

void PayrollWindowTest::marksAndChartReadOnLightAndDarkPalettes_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
}

void PayrollWindowTest::marksAndChartReadOnLightAndDarkPalettes() {
    QFETCH(bool, dark);
    const QPalette desktop = QApplication::palette();
    // A dark theme's colours: light text, dark bases and buttons.
    const QColor ink(0xEE, 0xEE, 0xEE);
    const QPalette darkPalette(ink, QColor(0x35, 0x35, 0x35), QColor(0x50, 0x50, 0x50),
                               QColor(0x20, 0x20, 0x20), QColor(0x30, 0x30, 0x30), ink, Qt::white,
                               QColor(0x1E, 0x1E, 0x1E), QColor(0x2B, 0x2B, 0x2B));
    QApplication::setPalette(dark ? darkPalette : QApplication::style()->standardPalette());
    m_window->openFile(writeFile(QStringLiteral("palette.csv"), kPayroll));
    QVERIFY(waitIdle());
    // No row selected, so that the marked rows paint their own colours.
    rows()->selectionModel()->clear();
    const QImage painted = rows()->viewport()->grab().toImage();
    for (const int row : {0, 3}) {  // in a blind zone; refused
        const QRect area = rows()->visualRect(model()->index(row, 2));
        const QColor background = painted.pixelColor(area.right() - 3, area.center().y());
        QCOMPARE(background, model()->index(row, 2).data(Qt::BackgroundRole).value<QColor>());
        QCOMPARE(Luminance(background) < 0.2, dark);
        QVERIFY2(InkContrast(painted, area, background) >= 4.5, qPrintable(QString::number(row)));
    }
    // The chart's message, with no row selected.
    const QImage message = control<BonusChart>("bonusChart")->grab().toImage();
    const QColor ground = message.pixelColor(2, 2);
    const double contrast = InkContrast(message, message.rect(), ground);
    QApplication::setPalette(desktop);
    QCOMPARE(Luminance(ground) < 0.2, dark);
    QVERIFY2(contrast >= 4.5, qPrintable(QString::number(contrast)));
}

void PayrollWindowTest::fitsTheScreenAndRemembersItsPlace() {
    const QRect available = m_window->screen()->availableGeometry();
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
        // The test's 1600 x 1000 screen, in logical pixels.
        const double scale = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
        QVERIFY(std::abs(m_window->screen()->geometry().width() - 1600 / scale) <= 1);
        QVERIFY(std::abs(m_window->screen()->geometry().height() - 1000 / scale) <= 1);
    }
    // A long summary and a long name in the status do not widen it.
    m_window->openFile(
        writeFile(QStringLiteral("一个名字相当长的工资表文件，看窗口会不会被它撑宽.csv"), kPayroll));
    QVERIFY(waitIdle());
    chooseMode(QStringLiteral("split"), QStringLiteral("2019"));
    QApplication::processEvents();
    QVERIFY(available.contains(m_window->frameGeometry()));
    QVERIFY(m_window->width() >= m_window->minimumSizeHint().width());
    QVERIFY(m_window->height() >= m_window->minimumSizeHint().height());
    // Size and splitter come back in the next window.
    const QSize chosen = (available.size() * 0.8).expandedTo(m_window->minimumSizeHint());
    m_window->resize(chosen);
    auto *splitter = m_window->findChild<QSplitter *>();
    QApplication::processEvents();
    splitter->setSizes({splitter->width() / 3, splitter->width() * 2 / 3});
    const QList<int> split = splitter->sizes();
    QVERIFY(m_window->close());
    init();
    QCOMPARE(m_window->size(), chosen);
    QCOMPARE(m_window->findChild<QSplitter *>()->sizes(), split);
}

void PayrollWindowTest::sortsTheViewNotTheFile_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("order");  // the last digit of each row's 工号, worked by hand
    QTest::newRow("姓名 by pinyin") << 1 << 1 << "478536";  // li qian sun wang zhang zhao
    // Amounts by their value; 一万 is text, after the figures either way.
    QTest::newRow("年终奖 rising") << 3 << 1 << "843576";
    QTest::newRow("年终奖 falling") << 3 << 2 << "753486";
    // 11445.00 > 5245.10 > 1695.10 > 540.00 > 360.00; the refused row has none, last.
    QTest::newRow("tax falling") << 7 << 2 << "753486";
    QTest::newRow("third click: the file's order") << 3 << 3 << "345678";
}

void PayrollWindowTest::sortsTheViewNotTheFile() {
    QFETCH(int, column);
    QFETCH(int, clicks);
    QFETCH(QString, order);
    m_window->openFile(writeFile(QStringLiteral("sort.csv"), kPayroll));
    QVERIFY(waitIdle());
    rows()->selectRow(4);  // 钱七
    QHeaderView *header = rows()->horizontalHeader();
    rows()->scrollTo(model()->index(0, column));
    for (int i = 0; i < clicks; ++i) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          {header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                           header->height() / 2});
    }
    QString shown;
    for (int row = 0; row < model()->rowCount(); ++row) {
        shown += model()->index(row, 0).data().toString().right(1);
    }
    QCOMPARE(shown, order);
    QCOMPARE(header->sortIndicatorSection(), clicks == 3 ? -1 : column);
    QCOMPARE(current(), QStringLiteral("000127"));  // the selection goes along with its row
    // The saved file keeps the file's order.
    const QString saved = m_dir.filePath(QStringLiteral("sorted.csv"));
    m_window->saveFile(saved);
    QVERIFY(waitIdle());
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (int row = 1; row < 7; ++row) {
        QVERIFY(lines[row].startsWith("00012" + QByteArray::number(row + 2)));
    }
}

void PayrollWindowTest::findsByNumberOrName_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QString>("found");  // 工号; the first row's where nothing is found
    QTest::addColumn<QString>("status");
    QTest::newRow("a name") << "王五" << true << "000125"
                            << "找到第 4 行";
    QTest::newRow("part of a number, next") << "0001" << true << "000124"
                                            << "找到第 3 行";
    QTest::newRow("previous, round the end") << "0001" << false << "000128"
                                             << "找到第 7 行";
    QTest::newRow("not a department") << "财务部" << true << "000123"
                                      << "没有工号或姓名含“财务部”的行";
}

void PayrollWindowTest::findsByNumberOrName() {
    QFETCH(QString, text);
    QFETCH(bool, forward);
    QFETCH(QString, found);
    QFETCH(QString, status);
    m_window->openFile(writeFile(QStringLiteral("find.csv"), kPayroll));
    QVERIFY(waitIdle());
    QTest::keyClick(m_window.get(), Qt::Key_F, Qt::ControlModifier);
    auto *edit = control<QLineEdit>("findEdit");
    QCOMPARE(QApplication::focusWidget(), edit);
    edit->insert(text);  // as an input method commits it
    QTest::keyClick(edit, Qt::Key_Return, forward ? Qt::NoModifier : Qt::ShiftModifier);
    QCOMPARE(current(), found);
    QCOMPARE(this->status(), status);
    // Esc closes the bar and gives the rows the keys again.
    QTest::keyClick(edit, Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), rows());
    QVERIFY(control<QWidget>("findBar")->isHidden());
}

void PayrollWindowTest::copiesRowsAsCellsWithTheHeader() {
    m_window->openFile(writeFile(QStringLiteral("copy.csv"), kPayroll));
    QVERIFY(waitIdle());
    rows()->selectionModel()->select(model()->index(2, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::keyClick(rows(), Qt::Key_C, Qt::ControlModifier);
    QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0].split(QLatin1Char('\t')).size(), 16);
    QVERIFY(lines[0].startsWith(QStringLiteral("工号\t姓名\t部门\t年终奖\t")));
    QVERIFY(lines[1].startsWith(QStringLiteral("000123\t张三\t财务部\t18001\t3500\t5000\t\t1695.10\t")));
    QVERIFY(lines[2].startsWith(
        QStringLiteral("000125\t王五\t研发部, 北京\t54001\t3000\t12000\t2000\t5245.10\t")));
    // Ctrl+A, then every row; a cell with a quote is quoted, as spreadsheets read it.
    // 100 and 200 at 3 % of a twelfth: 3.00 and 6.00.
    m_window->openFile(
        writeFile(QStringLiteral("quote.csv"), "工号,姓名,年终奖\n1,\"A\"\"B\",100\n2,C,200\n"));
    QVERIFY(waitIdle());
    QTest::keyClick(rows(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(rows(), Qt::Key_C, Qt::ControlModifier);
    lines = QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[1].startsWith(QStringLiteral("1\t\"A\"\"B\"\t100\t3.00\t")));
    QVERIFY(lines[2].startsWith(QStringLiteral("2\tC\t200\t6.00\t")));
}

void PayrollWindowTest::remembersRecentFilesAndTheirFolder() {
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("sub")));
    const QString a = writeFile(QStringLiteral("a.csv"), kPayroll);
    const QString b = writeFile(QStringLiteral("sub/b.csv"), kPayroll);
    for (const QString &path : {a, b, a}) {
        m_window->openFile(path);
        QVERIFY(waitIdle());
    }
    // The next window lists them, the latest first, and opens one from the menu.
    init();
    const QList<QAction *> recent = control<QMenu>("recentMenu")->actions();
    QCOMPARE(recent.size(), 2);
    QCOMPARE(recent[0]->data().toString(), a);
    QCOMPARE(recent[1]->data().toString(), b);
    recent[1]->trigger();
    QVERIFY(waitIdle());
    QVERIFY(m_window->windowTitle().startsWith(QStringLiteral("b.csv")));
    // The open dialog starts in the folder last used.
    QString folder;
    QTimer::singleShot(0, this, [&folder] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        folder = dialog->directory().absolutePath();
        dialog->reject();
    });
    control<QAction>("openAction")->trigger();
    QCOMPARE(folder, QFileInfo(b).absolutePath());
}

void PayrollWindowTest::screenReadersHearTheFocusedRowAndTheStatus() {
    g_heard.clear();
    QAccessible::installUpdateHandler(&Overhear);
    const auto stop = qScopeGuard([] { QAccessible::installUpdateHandler(nullptr); });
    // Qt tells assistive technology only while a bridge listens: on X with the
    // accessibility bus, as ctest runs this test a second time.
    if (!QTest::qWaitFor([] { return QAccessible::isActive(); }, 5000)) {
        QSKIP("no accessibility bus: see payroll_window_accessibility_test");
    }
    m_window->openFile(writeFile(QStringLiteral("speech.csv"), kPayroll));
    QVERIFY(waitIdle());
    QObject *announcer = m_window->findChild<QWidget *>(QStringLiteral("statusAnnouncer"));
    const auto said = [](QAccessible::Event type, QObject *object) {
        QStringList texts;
        for (const Heard &heard : g_heard) {
            if (heard.Type == type && heard.Object == object) {
                texts.append(heard.Text);
            }
        }
        return texts;
    };
    QVERIFY(said(QAccessible::Alert, announcer)
                .join(QLatin1Char('\n'))
                .contains(QStringLiteral("已打开 speech.csv")));
    // Computing again while the mode box has the focus tells of no focus in the table.
    QTest::keyClick(m_window.get(), Qt::Key_M, Qt::AltModifier);
    QTRY_VERIFY(control<QComboBox>("modeCombo")->hasFocus());
    g_heard.clear();
    QTest::keyClick(control<QComboBox>("modeCombo"), Qt::Key_Down);
    QVERIFY(waitIdle());
    QTest::keyClick(control<QComboBox>("modeCombo"), Qt::Key_Up);
    QVERIFY(waitIdle());
    QVERIFY(said(QAccessible::Focus, rows()).isEmpty());
    // In the table, the row the focus moves to is said whole: who, the bonus, the tax, the mark.
    rows()->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(rows()->hasFocus());
    g_heard.clear();
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(rows(), Qt::Key_Down);
    }
    const QStringList focused = said(QAccessible::Focus, rows());
    QCOMPARE(focused.size(), 3);
    QVERIFY(focused.back().startsWith(QStringLiteral("000126|未能计算")));
    const QStringList rowsSaid = said(QAccessible::Alert, announcer);
    QCOMPARE(rowsSaid.size(), 3);
    QCOMPARE(rowsSaid[0], QStringLiteral("工号 000124，姓名 李四，年终奖 18000，2011年终奖个税 540.00"));
    QCOMPARE(rowsSaid[2], QStringLiteral("工号 000126，姓名 赵六，年终奖 一万，未能计算：年终奖：不是数字"));
    QTest::keyClick(rows(), Qt::Key_Home, Qt::ControlModifier);
    QVERIFY(said(QAccessible::Alert, announcer).back().endsWith(QStringLiteral("1695.10，盲区")));
    // A save's outcome is announced, not only shown.
    m_window->saveFile(m_dir.filePath(QStringLiteral("speech-out.csv")));
    QVERIFY(waitIdle());
    QCOMPARE(said(QAccessible::Alert, announcer).back(), QStringLiteral("已保存 speech-out.csv"));
}

void PayrollWindowTest::smallThings() {
    m_window->openFile(writeFile(QStringLiteral("small-things.csv"), kPayroll));
    QVERIFY(waitIdle());
    // The blind zone's tooltip gives the advice: 18000 at 3 % = 540.00, leaving 17460.00.
    QCOMPARE(model()->index(0, 0).data(Qt::ToolTipRole).toString(),
             QStringLiteral("盲区：建议年终奖 18000，建议税额 540.00，建议税后年终奖 17460.00"));
    // Ctrl+Shift+S asks where to save.
    QString asked;
    QTimer::singleShot(0, this, [&asked] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        asked = dialog->windowTitle();
        dialog->reject();
    });
    QTest::keyClick(rows(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(asked, QStringLiteral("另存为"));
}

QTEST_MAIN(PayrollWindowTest)
void PayrollWindowTest::savesOverAFileOnlyAsTheUserSaysAndNeverOverWhatWouldBeLost_data() {
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("typed");   // in the save dialog
    QTest::addColumn<QString>("target");  // the file the name stands for
    QTest::addColumn<QString>("box");     // the message's objectName
    QTest::addColumn<QString>("told");    // part of what it says
    QTest::addColumn<bool>("replace");    // the answer, where there is a choice
    QTest::addColumn<bool>("saved");
    QTest::newRow("a bare name for the opened workbook with a second sheet")
        << "rich.xlsx"
        << "rich"
        << "rich.xlsx"
        << "replaceRefusal"
        << "工作表“汇总”" << true << false;
    QTest::newRow("the opened GB18030 file, kept") << "gbk.csv"
                                                   << "gbk.csv"
                                                   << "gbk.csv"
                                                   << "replaceQuestion"
                                                   << "GB18030 编码（将存为 UTF-8）" << false << false;
    QTest::newRow("the opened GB18030 file, replaced") << "gbk.csv"
                                                       << "gbk"
                                                       << "gbk.csv"
                                                       << "replaceQuestion"
                                                       << "就是打开的文件" << true << true;
    QTest::newRow("another file, by its bare name") << "gbk.csv"
                                                    << "other"
                                                    << "other.csv"
                                                    << "replaceQuestion"
                                                    << "other.csv 已存在" << true << true;
}

void PayrollWindowTest::savesOverAFileOnlyAsTheUserSaysAndNeverOverWhatWouldBeLost() {
    QFETCH(QString, opened);
    QFETCH(QString, typed);
    QFETCH(QString, target);
    QFETCH(QString, box);
    QFETCH(QString, told);
    QFETCH(bool, replace);
    QFETCH(bool, saved);
    writeFile(QStringLiteral("gbk.csv"), "\xC4\xEA\xD6\xD5\xBD\xB1\n18001\n");  // 年终奖
    writeFile(QStringLiteral("other.csv"), "old");
    QCOMPARE(python(QStringLiteral(R"PY(import sys, openpyxl
book = openpyxl.Workbook()
book.active.append(["年终奖"])
book.active.append([18001])
book.create_sheet("汇总").append(["=SUM(Sheet!A:A)"])
book.save(sys.argv[1])
)PY"),
                    {m_dir.filePath(QStringLiteral("rich.xlsx"))}),
             QString());
    QFile before(m_dir.filePath(target));
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();
    m_window->openFile(m_dir.filePath(opened));
    QVERIFY(waitIdle());

    QString said;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        dialog->selectFile(m_dir.filePath(typed));
        QTest::keyClick(dialog, Qt::Key_Return);
        // The question comes once the dialog has closed, about the name with its extension.
        QTimer::singleShot(0, this, [&] {
            QVERIFY(QTest::qWaitFor(
                [] { return qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); }));
            auto *message = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QCOMPARE(message->objectName(), box);
            said = message->text();
            QAbstractButton *answer = nullptr;
            for (QAbstractButton *button : message->buttons()) {
                if ((message->buttonRole(button) != QMessageBox::RejectRole) == replace) {
                    answer = button;
                }
            }
            QVERIFY(answer != nullptr);
            answer->click();
        });
    });
    control<QAction>("saveAction")->trigger();
    QVERIFY(waitIdle());
    QVERIFY2(said.contains(told), qPrintable(said));
    QVERIFY(said.contains(target));
    QFile after(m_dir.filePath(target));
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll() != bytes, saved);
    QCOMPARE(status().startsWith(QStringLiteral("已保存")), saved);
}

void PayrollWindowTest::saysWhichSheetOfAWorkbookItReads() {
    const QString path = m_dir.filePath(QStringLiteral("hidden.xlsx"));
    QCOMPARE(python(QStringLiteral(R"(import sys, openpyxl
book = openpyxl.Workbook()
book.active.title = "旧表"
book.active.append(["年终奖"])
book.active.append([18001])
book.active.sheet_state = "hidden"
book.create_sheet("新表")
book.save(sys.argv[1])
)"),
                    {path}),
             QString());
    m_window->openFile(path);
    QVERIFY(waitIdle());
    QVERIFY2(status().contains(QStringLiteral("读取的是工作表“旧表”（隐藏），另有 1 个工作表未读取")),
             qPrintable(status()));
}

#include "payroll_window_test.moc"
