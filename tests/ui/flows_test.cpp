// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Whole requests on the real window: figures typed into the entries and calculated
// by the button and by Enter, the results read back from the labels.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "window_test_support.h"

using namespace taxcalc;
using namespace taxcalc::test;

namespace {

const QString kPaysLess = QStringLiteral("恭喜！您少交个税 ");
const QString kPaysMore = QStringLiteral("调整使您多交个税 ");
const QString kReasonable = QStringLiteral("评价：1、该年终奖合理，无需调整！");

QString Line2010(const char *tax, const char *saving) {
    return QStringLiteral("2、以2010年九级税率计算，该年终奖需要纳税%1 元，节省%2元！")
        .arg(QLatin1String(tax), QLatin1String(saving));
}

}  // namespace

class FlowsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_window = ShowMainForm(); }
    void cleanup() { m_window.reset(); }

    void wagePanel_data();
    void wagePanel();
    void bonusPanel_data();
    void bonusPanel();
    void blindZoneThenReasonableRecolours();
    void emptyBonusEntryIsRefusedByTheButton_data();
    void emptyBonusEntryIsRefusedByTheButton();
    void emptyWageEntryIsRefusedByTheButton();
    void autoSizeResultLabelsFollowTheirCaptions();
    void calculatingTwiceGivesTheSameCaptions();

private:
    QLineEdit *entry(const char *name) const {
        return Control<QLineEdit>(*m_window, QString::fromLatin1(name));
    }
    QLabel *label(const char *name) const { return Control<QLabel>(*m_window, QString::fromLatin1(name)); }
    // Types both figures over whatever the entries hold, then calculates by the
    // panel's button or by Enter in its second entry.
    void enter(const char *first, const char *second, const QString &firstText, const QString &secondText,
               const char *calculateButton, bool byEnter);

    std::unique_ptr<MainForm> m_window;
};

void FlowsTest::enter(const char *first, const char *second, const QString &firstText,
                      const QString &secondText, const char *calculateButton, bool byEnter) {
    QTest::mouseClick(entry(first), Qt::LeftButton);
    PressIntoFocus(Qt::Key_Home);
    PressIntoFocus(Qt::Key_End, Qt::ShiftModifier);
    TypeIntoFocus(firstText);
    PressIntoFocus(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), entry(second));
    PressIntoFocus(Qt::Key_Home);
    PressIntoFocus(Qt::Key_End, Qt::ShiftModifier);
    TypeIntoFocus(secondText);
    QCOMPARE(entry(first)->text(), firstText);
    QCOMPARE(entry(second)->text(), secondText);
    if (byEnter) {
        PressIntoFocus(Qt::Key_Return);
    } else {
        QTest::mouseClick(Control(*m_window, QString::fromLatin1(calculateButton)), Qt::LeftButton);
    }
}

void FlowsTest::wagePanel_data() {
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("wage");
    QTest::addColumn<QString>("deductions");
    QTest::addColumn<QString>("tax2010");
    QTest::addColumn<QString>("tax2011");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("difference");
    struct Row {
        const char *wage, *deductions, *tax2010, *tax2011;
        bool paysLess;
        const char *difference;
    };
    const Row rows[] = {
        {"3500", "0", "125.00 元", "0.00 元", true, "125.00"},
        {"5000", "0", "325.00 元", "45.00 元", true, "280.00"},
        {"2000", "0", "0.00 元", "0.00 元", true, "0.00"},
        {"3000", "5000", "0.00 元", "0.00 元", true, "0.00"},
        {"38600", "0", "7775.00 元", "7775.00 元", true, "0.00"},
        {"38600.01", "0", "7775.00 元", "7775.00 元", false, "0.00"},
        {"100000", "0", "28825.00 元", "29920.00 元", false, "1095.00"},
        {"1000000", "0", "433725.00 元", "434920.00 元", false, "1195.00"},
        {"10000", "1234.56", "978.09 元", "498.09 元", true, "480.00"},
        {"5000.56", "0", "325.08 元", "45.06 元", true, "280.03"},
    };
    for (const bool byEnter : {false, true}) {
        for (const Row &row : rows) {
            QTest::addRow("%s/%s by %s", row.wage, row.deductions, byEnter ? "Enter" : "button")
                << byEnter << row.wage << row.deductions << row.tax2010 << row.tax2011
                << (row.paysLess ? kPaysLess : kPaysMore) << row.difference;
        }
    }
}

void FlowsTest::wagePanel() {
    QFETCH(bool, byEnter);
    QFETCH(QString, wage);
    QFETCH(QString, deductions);
    QFETCH(QString, tax2010);
    QFETCH(QString, tax2011);
    QFETCH(QString, message);
    QFETCH(QString, difference);
    QTest::mouseMove(label("Label19"), QPoint(3, 3));
    QTest::mouseMove(label("Label19"), QPoint(4, 4));
    enter("Text5", "Text4", wage, deductions, "Cmd_CAL1", byEnter);
    QCOMPARE(label("Label29")->text(), tax2010);
    QCOMPARE(label("Label28")->text(), tax2011);
    QCOMPARE(label("Label34")->text(), message);
    QCOMPARE(label("Label26")->text(), difference);
    QCOMPARE(ForeColour(*label("Label19")), kBlue);
    QCOMPARE(ForeColour(*label("Label26")), kRed);
    QCOMPARE(entry("Text5")->text(), wage);
}

void FlowsTest::bonusPanel_data() {
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("bonus");
    QTest::addColumn<QString>("wage");
    QTest::addColumn<QString>("label17");  // empty: not checked
    QTest::addColumn<QString>("label4");
    QTest::addColumn<QString>("label5");
    QTest::addColumn<QString>("label6");  // "?": not checked
    QTest::addColumn<QColor>("label5Colour");
    QTest::addColumn<QString>("label16");  // empty: not checked
    QTest::addColumn<QString>("label20");  // empty: not checked
    const QString unchecked = QStringLiteral("?");
    for (const bool byEnter : {false, true}) {
        const char *by = byEnter ? "Enter" : "button";
        QTest::addRow("18000/3500 by %s", by)
            << byEnter << "18000"
            << "3500"
            << "540.00 元，税后 17460.00元" << kReasonable << Line2010("1775.00", "1235.00") << "" << kBlack
            << "1775.00 元"
            << "540.00 元";
        QTest::addRow("18001/3500 by %s", by) << byEnter << "18001"
                                              << "3500"
                                              << "1695.10 元，税后 16305.90元"
                                              << "评价：1、该年终奖建议修改为18000元！参考："
                                              << "年终奖18000，税额540.00，\n税后年终奖17460.00"
                                              << Line2010("1775.10", "80.00") << kRed << "1775.10 元"
                                              << "540.10 元";
        QTest::addRow("18600/3000 by %s", by)
            << byEnter << "18600"
            << "3000"
            << "1705.00 元，税后 16895.00元"
            << "评价：1、该年终奖建议修改为18500元！参考："
            << "年终奖18500，税额540.00，\n税后年终奖17960.00" << Line2010("1835.00", "130.00") << kRed << ""
            << "";
        QTest::addRow("18100/3456.78 by %s", by)
            << byEnter << "18100"
            << "3456.78"
            << ""
            << "评价：1、该年终奖建议修改为18043.22元！参考："
            << "年终奖18043.22，税额540.00，\n税后年终奖17503.22" << unchecked << kRed << ""
            << "";
        QTest::addRow("54001/3500 by %s", by) << byEnter << "54001"
                                              << "3500"
                                              << ""
                                              << "评价：1、该年终奖建议修改为54000元！参考："
                                              << "年终奖54000，税额5295.00，\n税后年终奖48705.00"
                                              << Line2010("7975.15", "-2270.05") << kRed << ""
                                              << "";
        QTest::addRow("300/3000 by %s", by)
            << byEnter << "300"
            << "3000"
            << "0.00 元，税后 300.00元" << kReasonable << Line2010("15.00", "15.00") << "" << kBlack << ""
            << "0.00 元";
        QTest::addRow("100/1500 by %s", by)
            << byEnter << "100"
            << "1500"
            << "" << kReasonable << Line2010("0.00", "0.00") << "" << kBlack << "0.00 元"
            << "";
        // The 2010 method picks its row with inclusive bounds: a monthly average of
        // exactly 500 stays at 5 %.
        QTest::addRow("6000/3500 by %s", by) << byEnter << "6000"
                                             << "3500"
                                             << "180.00 元，税后 5820.00元" << kReasonable
                                             << Line2010("300.00", "120.00") << "" << kBlack << ""
                                             << "";
    }
}

void FlowsTest::bonusPanel() {
    QFETCH(bool, byEnter);
    QFETCH(QString, bonus);
    QFETCH(QString, wage);
    QFETCH(QString, label17);
    QFETCH(QString, label4);
    QFETCH(QString, label5);
    QFETCH(QString, label6);
    QFETCH(QColor, label5Colour);
    QFETCH(QString, label16);
    QFETCH(QString, label20);
    QTest::mouseMove(label("Label23"), QPoint(3, 3));
    QTest::mouseMove(label("Label23"), QPoint(4, 4));
    MessageBoxCatcher catcher;
    enter("Text2", "Text3", bonus, wage, "Cmd_CAL2", byEnter);
    QVERIFY(catcher.boxes().isEmpty());
    if (!label17.isEmpty()) {
        QCOMPARE(label("Label17")->text(), label17);
    }
    QCOMPARE(label("Label4")->text(), label4);
    QCOMPARE(label("Label5")->text(), label5);
    QCOMPARE(ForeColour(*label("Label5")), label5Colour);
    if (label6 != QStringLiteral("?")) {
        QCOMPARE(label("Label6")->text(), label6);
    }
    if (!label16.isEmpty()) {
        QCOMPARE(label("Label16")->text(), label16);
    }
    if (!label20.isEmpty()) {
        QCOMPARE(label("Label20")->text(), label20);
    }
    QCOMPARE(ForeColour(*label("Label23")), kBlue);
    for (const char *hidden : {"Label14", "Label16", "Label18", "Label20"}) {
        QVERIFY(label(hidden)->isHidden());
    }
}

void FlowsTest::blindZoneThenReasonableRecolours() {
    enter("Text2", "Text3", QStringLiteral("18001"), QStringLiteral("3500"), "Cmd_CAL2", true);
    QCOMPARE(ForeColour(*label("Label5")), kRed);
    QCOMPARE(ForeColour(*label("Label6")), kBlack);
    enter("Text2", "Text3", QStringLiteral("18000"), QStringLiteral("3500"), "Cmd_CAL2", false);
    QCOMPARE(ForeColour(*label("Label5")), kBlack);
    QCOMPARE(label("Label6")->text(), QString());
    QCOMPARE(ForeColour(*label("Label6")), kBlack);
}

void FlowsTest::emptyBonusEntryIsRefusedByTheButton_data() {
    QTest::addColumn<QString>("bonus");
    QTest::addColumn<QString>("wage");
    QTest::newRow("bonus empty") << ""
                                 << "3500";
    QTest::newRow("wage emptied") << "1000"
                                  << "";
}

void FlowsTest::emptyBonusEntryIsRefusedByTheButton() {
    QFETCH(QString, bonus);
    QFETCH(QString, wage);
    enter("Text2", "Text3", QStringLiteral("18001"), QStringLiteral("3500"), "Cmd_CAL2", false);
    entry("Text2")->setText(bonus);
    entry("Text3")->setText(wage);
    QTest::mouseMove(label("Label23"), QPoint(3, 3));
    QTest::mouseMove(label("Label23"), QPoint(4, 4));
    MessageBoxCatcher catcher;
    QTest::mouseClick(Control(*m_window, QStringLiteral("Cmd_CAL2")), Qt::LeftButton);
    QCOMPARE(catcher.boxes().size(), 1);
    const CaughtBox &box = catcher.boxes().front();
    QCOMPARE(box.Text, QStringLiteral("请输入正确的年终奖及当月工资！"));
    QCOMPARE(box.Title, QStringLiteral("最新2011年终奖计算器_最新2011年个税计算器"));
    QCOMPARE(box.Icon, QMessageBox::NoIcon);
    QCOMPARE(box.ButtonCount, 1);
    QCOMPARE(label("Label17")->text(), QStringLiteral("1695.10 元，税后 16305.90元"));
    QCOMPARE(label("Label4")->text(), QStringLiteral("评价：1、该年终奖建议修改为18000元！参考："));
    QCOMPARE(ForeColour(*label("Label23")), kRed);
    QVERIFY(m_window->isVisible());
}

// Calculating with the wage entry empty, as it is after every reset, shows no result.
void FlowsTest::emptyWageEntryIsRefusedByTheButton() {
    MessageBoxCatcher catcher;
    QTest::mouseClick(Control(*m_window, QStringLiteral("Cmd_CAL1")), Qt::LeftButton);
    QCOMPARE(catcher.boxes().size(), 1);
    QCOMPARE(catcher.boxes().front().Title, m_window->windowTitle());
    for (const char *result : {"Label29", "Label28", "Label34", "Label26"}) {
        QCOMPARE(label(result)->text(), QString());
    }
    QVERIFY(m_window->isVisible());
}

void FlowsTest::autoSizeResultLabelsFollowTheirCaptions() {
    QLabel *tax2010 = label("Label29");
    const int emptyWidth = tax2010->width();
    enter("Text5", "Text4", QStringLiteral("1000000"), QStringLiteral("0"), "Cmd_CAL1", true);
    QCOMPARE(tax2010->pos(), QPoint(144, 152));
    QCOMPARE(tax2010->size(), tax2010->sizeHint());
    QVERIFY(tax2010->width() > emptyWidth);
    QCOMPARE(label("Label26")->pos(), QPoint(280, 216));
    QCOMPARE(label("Label26")->size(), label("Label26")->sizeHint());
    PressIntoFocus(Qt::Key_Escape);
    QCOMPARE(tax2010->width(), emptyWidth);
    QCOMPARE(tax2010->pos(), QPoint(144, 152));
}

void FlowsTest::calculatingTwiceGivesTheSameCaptions() {
    enter("Text5", "Text4", QStringLiteral("5000.56"), QStringLiteral("0"), "Cmd_CAL1", true);
    const QString first = label("Label26")->text();
    PressIntoFocus(Qt::Key_Return);
    QCOMPARE(label("Label26")->text(), first);
    QCOMPARE(label("Label26")->text(), QStringLiteral("280.03"));
}

QTEST_MAIN(FlowsTest)
#include "flows_test.moc"
