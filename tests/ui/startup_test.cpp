// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The window as the user first sees it: controls, places, texts, colours, fonts,
// stacking, the focus and the Tab order.
#include <QApplication>
#include <QDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "window_test_support.h"

using namespace taxcalc;
using namespace taxcalc::test;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_window = ShowMainForm(); }
    void cleanup() { m_window.reset(); }

    void isAFixedTopLevelWidget();
    void isCentredOnTheScreen();
    void placesEveryBoxedControl_data();
    void placesEveryBoxedControl();
    void placesAutoSizeLabelsAndFitsThem_data();
    void placesAutoSizeLabelsAndFitsThem();
    void wrappingLabelsKeepTheirWidth_data();
    void wrappingLabelsKeepTheirWidth();
    void drawsLinesOnePixelWide_data();
    void drawsLinesOnePixelWide();
    void showsTheClearedStateOfLoad_data();
    void showsTheClearedStateOfLoad();
    void hidesTheFourUnusedLabels_data();
    void hidesTheFourUnusedLabels();
    void colours_data();
    void colours();
    void fonts_data();
    void fonts();
    void textsFitTheirLabels_data();
    void textsFitTheirLabels();
    void labelsAndLinesLieBeneathTheOtherControls_data();
    void labelsAndLinesLieBeneathTheOtherControls();
    void pictureCoversTheFootOfLabel6();
    void focusStartsOnCmdEsc2AndTypingGoesNowhere();
    void tabOrder_data();
    void tabOrder();
    void accessibleNames_data();
    void accessibleNames();

private:
    std::unique_ptr<MainForm> m_window;
};

void StartupTest::isAFixedTopLevelWidget() {
    QVERIFY(m_window->isWindow());
    QVERIFY(qobject_cast<QDialog *>(m_window.get()) == nullptr);
    QCOMPARE(m_window->objectName(), QStringLiteral("MainForm"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("最新2011年终奖计算器_最新2011年个税计算器"));
    QCOMPARE(m_window->size(), QSize(762, 561));
    QCOMPARE(m_window->minimumSize(), QSize(762, 561));
    QCOMPARE(m_window->maximumSize(), QSize(762, 561));
    const QIcon icon = m_window->windowIcon();
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.pixmap(QSize(16, 16)).size(), QSize(16, 16));
    QCOMPARE(icon.pixmap(QSize(32, 32)).size(), QSize(32, 32));
}

void StartupTest::isCentredOnTheScreen() {
    const QPoint screenCentre = m_window->screen()->availableGeometry().center();
    const QPoint windowCentre = m_window->geometry().center();
    QVERIFY2((screenCentre - windowCentre).manhattanLength() <= 2,
             qPrintable(QStringLiteral("window centre %1,%2").arg(windowCentre.x()).arg(windowCentre.y())));
}

// Pixels are the tables' twips divided by 15.
void StartupTest::placesEveryBoxedControl_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("geometry");
    const QString window = QStringLiteral("MainForm");
    QTest::newRow("Frame2") << "Frame2" << window << QRect(0, 0, 361, 393);
    QTest::newRow("Text5") << "Text5"
                           << "Frame2" << QRect(96, 64, 140, 30);
    QTest::newRow("Text4") << "Text4"
                           << "Frame2" << QRect(96, 104, 140, 30);
    QTest::newRow("Cmd_CAL1") << "Cmd_CAL1"
                              << "Frame2" << QRect(256, 104, 65, 33);
    QTest::newRow("Picture2") << "Picture2"
                              << "Frame2" << QRect(8, 288, 97, 97);
    QTest::newRow("Cmd_ESC1") << "Cmd_ESC1"
                              << "Frame2" << QRect(120, 352, 129, 33);
    QTest::newRow("Frame1") << "Frame1" << window << QRect(384, 0, 361, 449);
    QTest::newRow("Text2") << "Text2"
                           << "Frame1" << QRect(96, 64, 140, 30);
    QTest::newRow("Cmd_CAL2") << "Cmd_CAL2"
                              << "Frame1" << QRect(256, 64, 65, 33);
    QTest::newRow("Text3") << "Text3"
                           << "Frame1" << QRect(96, 104, 140, 30);
    QTest::newRow("Label4") << "Label4"
                            << "Frame1" << QRect(8, 184, 345, 17);
    QTest::newRow("Label5") << "Label5"
                            << "Frame1" << QRect(8, 208, 345, 41);
    QTest::newRow("Label6") << "Label6"
                            << "Frame1" << QRect(8, 248, 345, 49);
    QTest::newRow("Picture1") << "Picture1"
                              << "Frame1" << QRect(8, 288, 97, 97);
    QTest::newRow("Label23") << "Label23"
                             << "Frame1" << QRect(120, 296, 225, 57);
    QTest::newRow("Cmd_ESC2") << "Cmd_ESC2"
                              << "Frame1" << QRect(120, 352, 129, 33);
    QTest::newRow("Label2") << "Label2"
                            << "Frame1" << QRect(48, 400, 265, 41);
    QTest::newRow("Label1") << "Label1" << window << QRect(8, 496, 729, 41);
    QTest::newRow("Label3") << "Label3" << window << QRect(8, 544, 729, 17);
}

void StartupTest::placesEveryBoxedControl() {
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, geometry);
    QWidget *control = Control(*m_window, name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->parentWidget()->objectName(), container);
    QCOMPARE(control->geometry(), geometry);
}

void StartupTest::placesAutoSizeLabelsAndFitsThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("Label25") << "Label25"
                             << "Frame2" << QPoint(56, 32);
    QTest::newRow("Label33") << "Label33"
                             << "Frame2" << QPoint(24, 72);
    QTest::newRow("Label32") << "Label32"
                             << "Frame2" << QPoint(24, 112);
    QTest::newRow("Label31") << "Label31"
                             << "Frame2" << QPoint(8, 152);
    QTest::newRow("Label29") << "Label29"
                             << "Frame2" << QPoint(144, 152);
    QTest::newRow("Label30") << "Label30"
                             << "Frame2" << QPoint(8, 184);
    QTest::newRow("Label28") << "Label28"
                             << "Frame2" << QPoint(144, 184);
    QTest::newRow("Label27") << "Label27"
                             << "Frame2" << QPoint(8, 216);
    QTest::newRow("Label34") << "Label34"
                             << "Frame2" << QPoint(144, 216);
    QTest::newRow("Label26") << "Label26"
                             << "Frame2" << QPoint(280, 216);
    QTest::newRow("Label21") << "Label21"
                             << "Frame1" << QPoint(56, 32);
    QTest::newRow("Label12") << "Label12"
                             << "Frame1" << QPoint(24, 72);
    QTest::newRow("Label22") << "Label22"
                             << "Frame1" << QPoint(240, 112);
    QTest::newRow("Label15") << "Label15"
                             << "Frame1" << QPoint(8, 152);
    QTest::newRow("Label17") << "Label17"
                             << "Frame1" << QPoint(80, 152);
    QTest::newRow("Label14") << "Label14"
                             << "Frame1" << QPoint(240, 152);
    QTest::newRow("Label16") << "Label16"
                             << "Frame1" << QPoint(248, 176);
    QTest::newRow("Label18") << "Label18"
                             << "Frame1" << QPoint(240, 192);
    QTest::newRow("Label20") << "Label20"
                             << "Frame1" << QPoint(248, 216);
    QTest::newRow("Label11") << "Label11"
                             << "MainForm" << QPoint(136, 464);
}

void StartupTest::placesAutoSizeLabelsAndFitsThem() {
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QPoint, position);
    auto *label = Control<QLabel>(*m_window, name);
    QVERIFY(label != nullptr);
    QCOMPARE(label->parentWidget()->objectName(), container);
    QCOMPARE(label->pos(), position);
    QCOMPARE(label->size(), label->sizeHint());
    QVERIFY(!label->wordWrap());
}

void StartupTest::wrappingLabelsKeepTheirWidth_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<int>("width");
    QTest::newRow("Label19") << "Label19" << QPoint(120, 296) << 229;
    QTest::newRow("Label13") << "Label13" << QPoint(16, 104) << 72;
}

void StartupTest::wrappingLabelsKeepTheirWidth() {
    QFETCH(QString, name);
    QFETCH(QPoint, position);
    QFETCH(int, width);
    auto *label = Control<QLabel>(*m_window, name);
    QCOMPARE(label->pos(), position);
    QCOMPARE(label->width(), width);
    QVERIFY(label->wordWrap());
    QCOMPARE(label->height(), label->heightForWidth(width));
}

void StartupTest::drawsLinesOnePixelWide_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("Line9") << "Line9"
                           << "Frame2" << QRect(0, 144, 360, 1);
    QTest::newRow("Line8") << "Line8"
                           << "Frame2" << QRect(0, 240, 360, 1);
    QTest::newRow("Line7") << "Line7"
                           << "Frame2" << QRect(128, 144, 1, 96);
    QTest::newRow("Line4") << "Line4"
                           << "Frame1" << QRect(0, 144, 360, 1);
    QTest::newRow("Line5") << "Line5"
                           << "Frame1" << QRect(0, 176, 360, 1);
    QTest::newRow("Line6") << "Line6"
                           << "Frame1" << QRect(64, 144, 1, 32);
}

void StartupTest::drawsLinesOnePixelWide() {
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, geometry);
    QWidget *line = Control(*m_window, name);
    QVERIFY(line != nullptr);
    QCOMPARE(line->parentWidget()->objectName(), container);
    QCOMPARE(line->geometry(), geometry);
    const QImage image = line->grab().toImage();
    const QColor ink = line->palette().color(QPalette::WindowText);
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            QCOMPARE(image.pixelColor(x, y), ink);
        }
    }
}

// Load has reset the bonus panel, then the wage panel.
void StartupTest::showsTheClearedStateOfLoad_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("Text5") << "Text5"
                           << "";
    QTest::newRow("Text4") << "Text4"
                           << "0";
    QTest::newRow("Text2") << "Text2"
                           << "";
    QTest::newRow("Text3") << "Text3"
                           << "3500";
    for (const char *name : {"Label29", "Label28", "Label34", "Label26", "Label17", "Label16", "Label20",
                             "Label4", "Label5", "Label6"}) {
        QTest::newRow(name) << name << "";
    }
    QTest::newRow("Label33") << "Label33"
                             << "每月薪金";
    QTest::newRow("Label13") << "Label13"
                             << " 年终奖 当月工资";
    QTest::newRow("Label22") << "Label22"
                             << "(如>=3500不输)";
    QTest::newRow("Label14") << "Label14"
                             << "旧级别、旧方法";
    QTest::newRow("Label2") << "Label2"
                            << "★需批量处理年终奖，防止出冤枉钱，请点击！★";
    QTest::newRow("Label19") << "Label19"
                             << "★ 作者理财专栏：稳健致富\n★ 五年安家，十二年致富\n★ 欢迎加入，一起投资！";
    QTest::newRow("Label23") << "Label23"
                             << "★ 作者理财专栏：稳健致富\n★ 五年安家，十二年致富\n★ 欢迎加入，一起投资！";
    QTest::newRow("Label1") << "Label1"
                            << "1、最新个税计算器的依据是2011年6月《全国人民代表大会常务委员会关于修改〈中华"
                               "人民共和国个人所得税法〉的决定》。"
                               "特征为3500元起征、7级税率。参考：\n★全国人民代表大会常务委员会关于修改〈中华"
                               "人民共和国个人所得税法〉的决定："
                               "www.gov.cn/flfg/2011-06/30/content_1897373.htm";
    QTest::newRow("Label11") << "Label11"
                             << "★ 本计算器由 taxcalc 开发组制作，免费开源 ★";
    QTest::newRow("Cmd_CAL1") << "Cmd_CAL1"
                              << "计算";
    QTest::newRow("Cmd_ESC2") << "Cmd_ESC2"
                              << "重新输入(ESC)";
    QTest::newRow("Frame2") << "Frame2"
                            << "个税计算";
    QTest::newRow("Frame1") << "Frame1"
                            << "最新2011年终奖计算器";
}

void StartupTest::showsTheClearedStateOfLoad() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QWidget *control = Control(*m_window, name);
    QVERIFY(control != nullptr);
    if (auto *entry = qobject_cast<QLineEdit *>(control)) {
        QCOMPARE(entry->text(), text);
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        QCOMPARE(label->text(), text);
    } else if (auto *button = qobject_cast<QPushButton *>(control)) {
        QCOMPARE(button->text(), text);
    } else {
        QCOMPARE(qobject_cast<QGroupBox *>(control)->title(), text);
    }
}

void StartupTest::hidesTheFourUnusedLabels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("visible");
    for (const char *name : {"Label14", "Label16", "Label18", "Label20"}) {
        QTest::newRow(name) << name << false;
    }
    for (const char *name : {"Label4", "Label5", "Label6", "Label17", "Label19", "Label23", "Label29",
                             "Label26", "Picture1", "Picture2", "Line7", "Text2", "Cmd_CAL2"}) {
        QTest::newRow(name) << name << true;
    }
}

void StartupTest::hidesTheFourUnusedLabels() {
    QFETCH(QString, name);
    QFETCH(bool, visible);
    QCOMPARE(Control(*m_window, name)->isVisible(), visible);
}

void StartupTest::colours_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("Label25 magenta") << "Label25" << kMagenta;
    QTest::newRow("Label21 magenta") << "Label21" << kMagenta;
    QTest::newRow("Label26 red") << "Label26" << kRed;
    QTest::newRow("Label20 red") << "Label20" << kRed;
    QTest::newRow("Label5 red") << "Label5" << kRed;
    QTest::newRow("Label2 dark orange") << "Label2" << kDarkOrange;
    QTest::newRow("Label19 blue after load") << "Label19" << kBlue;
    QTest::newRow("Label23 blue after load") << "Label23" << kBlue;
    const QColor plain = QApplication::palette().color(QPalette::WindowText);
    QTest::newRow("Label6 plain") << "Label6" << plain;
    QTest::newRow("Label29 plain") << "Label29" << plain;
    QTest::newRow("Label1 plain") << "Label1" << plain;
}

void StartupTest::colours() {
    QFETCH(QString, name);
    QFETCH(QColor, colour);
    QCOMPARE(ForeColour(*Control(*m_window, name)), colour);
}

void StartupTest::fonts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("pointSize");
    QTest::addColumn<bool>("bold");
    QTest::newRow("Frame2 panel") << "Frame2" << 12.0 << false;
    QTest::newRow("Text5 panel") << "Text5" << 12.0 << false;
    QTest::newRow("Cmd_ESC1 panel") << "Cmd_ESC1" << 12.0 << false;
    QTest::newRow("Label23 panel") << "Label23" << 12.0 << false;
    QTest::newRow("Label25 title") << "Label25" << 15.75 << false;
    QTest::newRow("Label21 title") << "Label21" << 15.75 << false;
    QTest::newRow("Label26 figure") << "Label26" << 14.25 << false;
    QTest::newRow("Label20 figure") << "Label20" << 14.25 << false;
    QTest::newRow("Label2 notice") << "Label2" << 14.25 << true;
}

void StartupTest::fonts() {
    QFETCH(QString, name);
    QFETCH(double, pointSize);
    QFETCH(bool, bold);
    const QFont font = Control(*m_window, name)->font();
    QCOMPARE(font.pointSizeF(), pointSize);
    QCOMPARE(font.bold(), bold);
    QCOMPARE(font.families().first(), QStringLiteral("楷体"));
    const QString face = QFontInfo(font).family();
    QVERIFY2(face.contains(QStringLiteral("Kai")) || face == QStringLiteral("楷体"), qPrintable(face));
}

// Lines as the label lays them out in its own width, each counted once.
static int LineCount(const QLabel &label, const QString &text) {
    const QFontMetrics metrics(label.font());
    const QRect box = metrics.boundingRect(QRect(0, 0, label.width(), 10000), Qt::TextWordWrap, text);
    return box.height() / metrics.lineSpacing();
}

void StartupTest::textsFitTheirLabels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("lineOfText");  // -1: the whole caption
    QTest::addColumn<int>("lines");
    QTest::newRow("Label13 on two lines") << "Label13" << -1 << 2;
    QTest::newRow("Label2 on two lines") << "Label2" << -1 << 2;
    QTest::newRow("Label19 on three lines") << "Label19" << -1 << 3;
    QTest::newRow("Label23 on three lines") << "Label23" << -1 << 3;
    QTest::newRow("Label1 first line wraps once") << "Label1" << 0 << 2;
    QTest::newRow("Label3 on one line") << "Label3" << -1 << 1;
}

void StartupTest::textsFitTheirLabels() {
    QFETCH(QString, name);
    QFETCH(int, lineOfText);
    QFETCH(int, lines);
    auto *label = Control<QLabel>(*m_window, name);
    const QString text =
        lineOfText < 0 ? label->text() : label->text().split(QLatin1Char('\n')).at(lineOfText);
    QCOMPARE(LineCount(*label, text), lines);
    if (name == QStringLiteral("Label13")) {
        QCOMPARE(label->height(), 2 * QFontMetrics(label->font()).lineSpacing());
    }
}

void StartupTest::labelsAndLinesLieBeneathTheOtherControls_data() {
    QTest::addColumn<QString>("container");
    QTest::newRow("Frame2") << "Frame2";
    QTest::newRow("Frame1") << "Frame1";
}

void StartupTest::labelsAndLinesLieBeneathTheOtherControls() {
    QFETCH(QString, container);
    int highestBeneath = -1;
    int lowestAbove = 1000;
    const QObjectList &stack = Control(*m_window, container)->children();  // bottom first
    for (int i = 0; i < stack.size(); ++i) {
        const QString name = stack.at(i)->objectName();
        if (name.startsWith(QStringLiteral("Label")) || name.startsWith(QStringLiteral("Line"))) {
            highestBeneath = std::max(highestBeneath, i);
        } else if (name.startsWith(QStringLiteral("Text")) || name.startsWith(QStringLiteral("Cmd_")) ||
                   name.startsWith(QStringLiteral("Picture"))) {
            lowestAbove = std::min(lowestAbove, i);
        }
    }
    QVERIFY(highestBeneath >= 0);
    QVERIFY(highestBeneath < lowestAbove);
}

void StartupTest::pictureCoversTheFootOfLabel6() {
    QWidget *frame = Control(*m_window, QStringLiteral("Frame1"));
    QCOMPARE(frame->childAt(50, 292)->objectName(), QStringLiteral("Picture1"));
    QCOMPARE(frame->childAt(200, 292)->objectName(), QStringLiteral("Label6"));
}

void StartupTest::focusStartsOnCmdEsc2AndTypingGoesNowhere() {
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Cmd_ESC2"));
    TypeIntoFocus(QStringLiteral("123"));
    for (const char *name : {"Text5", "Text2"}) {
        QCOMPARE(Control<QLineEdit>(*m_window, name)->text(), QString());
    }
    QCOMPARE(Control<QLineEdit>(*m_window, QStringLiteral("Text3"))->text(), QStringLiteral("3500"));
}

void StartupTest::tabOrder_data() {
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QStringList>("visited");
    QTest::newRow("Tab") << Qt::Key_Tab
                         << QStringList{"Cmd_ESC1", "Text2",    "Text3",    "Cmd_CAL2", "Text5",
                                        "Text4",    "Cmd_CAL1", "Cmd_ESC2", "Cmd_ESC1"};
    QTest::newRow("Shift+Tab") << Qt::Key_Backtab
                               << QStringList{"Cmd_CAL1", "Text4",    "Text5",    "Cmd_CAL2", "Text3",
                                              "Text2",    "Cmd_ESC1", "Cmd_ESC2", "Cmd_CAL1"};
}

void StartupTest::tabOrder() {
    QFETCH(Qt::Key, key);
    QFETCH(QStringList, visited);
    QStringList actual;
    for (qsizetype i = 0; i < visited.size(); ++i) {
        PressIntoFocus(key);
        actual.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(actual, visited);
}

void StartupTest::accessibleNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessibleName");
    QTest::newRow("Text5") << "Text5"
                           << "每月薪金";
    QTest::newRow("Text4") << "Text4"
                           << "三险一金";
    QTest::newRow("Text2") << "Text2"
                           << "年终奖";
    QTest::newRow("Text3") << "Text3"
                           << "年终奖当月工资";
    QTest::newRow("Cmd_CAL1") << "Cmd_CAL1"
                              << "个税计算：计算";
    QTest::newRow("Cmd_ESC1") << "Cmd_ESC1"
                              << "个税计算：重新输入";
    QTest::newRow("Cmd_CAL2") << "Cmd_CAL2"
                              << "年终奖计算：计算";
    QTest::newRow("Cmd_ESC2") << "Cmd_ESC2"
                              << "年终奖计算：重新输入";
}

void StartupTest::accessibleNames() {
    QFETCH(QString, name);
    QFETCH(QString, accessibleName);
    QCOMPARE(Control(*m_window, name)->accessibleName(), accessibleName);
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
