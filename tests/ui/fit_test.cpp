// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Every text that the window shows in a box of fixed size fits that box whole, at
// the resolution the test runs at (CTest runs it at 96, 120 and 144 dots per inch):
// no line cut at the bottom, no line pushed out of sight.
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QtMath>

#include "window_test_support.h"

using namespace taxcalc;
using namespace taxcalc::test;

namespace {

// How far down the label draws ink: drawn by the label itself in a box four times
// as high, where nothing is cut. A box lower than that cuts the last line.
int InkHeight(QLabel &label) {
    const QSize size = label.size();
    label.resize(size.width(), 4 * size.height() + 100);
    const QImage canvas = label.grab().toImage();
    label.resize(size);
    const QRgb background = canvas.pixel(canvas.width() - 1, canvas.height() - 1);
    const qreal ratio = canvas.devicePixelRatio();  // device pixels, when the window is scaled
    for (int y = canvas.height() - 1; y >= 0; --y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (canvas.pixel(x, y) != background) {
                return qCeil((y + 1) / ratio) - label.contentsRect().top();
            }
        }
    }
    return 0;
}

int Lines(const QLabel &label, const QString &text) {
    const QFontMetrics metrics(label.font());
    const int height =
        metrics.boundingRect(QRect(0, 0, label.contentsRect().width(), 100000), Qt::TextWordWrap, text)
            .height();
    return height / metrics.lineSpacing();
}

}  // namespace

class FitTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_window = ShowMainForm(); }
    void cleanup() { m_window.reset(); }

    void theWindowGrowsWithTheResolution();
    void legalBasisNoteShowsTheWholeAddress();
    void fixedLabelsHoldTheirTexts_data();
    void fixedLabelsHoldTheirTexts();
    void staticLabelsStayInsideTheirContainers();
    void buttonsAndEntriesHoldTheirTexts();

private:
    std::unique_ptr<MainForm> m_window;
};

// A twip is 1/1440 inch, whatever the resolution.
void FitTest::theWindowGrowsWithTheResolution() {
    const int dpi = m_window->logicalDpiX();
    QCOMPARE(m_window->width(), (11430 * dpi + 720) / 1440);
    QCOMPARE(m_window->height(), (8415 * m_window->logicalDpiY() + 720) / 1440);
}

// The first line of the note wraps once; the second, with the address at its end,
// takes one line, so three lines in all, and they fit the box.
void FitTest::legalBasisNoteShowsTheWholeAddress() {
    auto *label = Control<QLabel>(*m_window, QStringLiteral("Label1"));
    const QStringList lines = label->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(1).endsWith(QStringLiteral("www.gov.cn/flfg/2011-06/30/content_1897373.htm")));
    QCOMPARE(Lines(*label, lines.at(0)), 2);
    QCOMPARE(Lines(*label, lines.at(1)), 1);
    QVERIFY2(
        InkHeight(*label) <= label->contentsRect().height(),
        qPrintable(QStringLiteral("%1 > %2").arg(InkHeight(*label)).arg(label->contentsRect().height())));
}

// The evaluation lines with what the bonus panel writes there: advice in two lines,
// the 2010 line, a negative saving, the largest bonus of the last blind zone. (A
// recommended bonus with cents makes Label4's one line too long for its box, at any
// resolution; the box cuts it, as the window has always done.)
void FitTest::fixedLabelsHoldTheirTexts_data() {
    QTest::addColumn<QString>("bonus");
    QTest::addColumn<QString>("wage");
    QTest::newRow("as built") << QString() << QString();
    QTest::newRow("reasonable") << "18000"
                                << "3500";
    QTest::newRow("blind zone 1") << "18001"
                                  << "3500";
    QTest::newRow("blind zone 2, negative saving") << "54001"
                                                   << "3500";
    QTest::newRow("blind zone 6") << "1119999.99"
                                  << "3500";
}

void FitTest::fixedLabelsHoldTheirTexts() {
    QFETCH(QString, bonus);
    QFETCH(QString, wage);
    if (!bonus.isEmpty()) {
        auto *bonusEntry = Control<QLineEdit>(*m_window, QStringLiteral("Text2"));
        auto *wageEntry = Control<QLineEdit>(*m_window, QStringLiteral("Text3"));
        bonusEntry->setText(bonus);
        wageEntry->setText(wage);
        QTest::mouseClick(Control(*m_window, QStringLiteral("Cmd_CAL2")), Qt::LeftButton);
    }
    for (const char *name : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label23"}) {
        auto *label = Control<QLabel>(*m_window, QString::fromLatin1(name));
        QVERIFY2(InkHeight(*label) <= label->contentsRect().height(),
                 qPrintable(QStringLiteral("%1: text %2 px high in a box of %3 px: %4")
                                .arg(QString::fromLatin1(name))
                                .arg(InkHeight(*label))
                                .arg(label->contentsRect().height())
                                .arg(label->text())));
    }
}

// Captions, titles and notes that never change lie wholly inside their frame or
// the window, and the wrapping ones hold all their lines.
void FitTest::staticLabelsStayInsideTheirContainers() {
    for (const char *name : {"Label25", "Label33", "Label32", "Label31", "Label30", "Label27", "Label19",
                             "Label21", "Label12", "Label13", "Label22", "Label15", "Label11"}) {
        auto *label = Control<QLabel>(*m_window, QString::fromLatin1(name));
        const QRect inside = label->parentWidget()->rect();
        QVERIFY2(inside.contains(label->geometry()), name);
        QVERIFY2(InkHeight(*label) <= label->height(), qPrintable(QStringLiteral("%1 %2 %3")
                                                                      .arg(QString::fromLatin1(name))
                                                                      .arg(InkHeight(*label))
                                                                      .arg(label->height())));
    }
}

void FitTest::buttonsAndEntriesHoldTheirTexts() {
    for (const char *name : {"Cmd_CAL1", "Cmd_ESC1", "Cmd_CAL2", "Cmd_ESC2"}) {
        auto *button = Control<QPushButton>(*m_window, QString::fromLatin1(name));
        const QFontMetrics metrics(button->font());
        QVERIFY2(metrics.horizontalAdvance(button->text()) < button->width(), name);
        QVERIFY2(metrics.height() < button->height(), name);
    }
    for (const char *name : {"Text5", "Text4", "Text2", "Text3"}) {
        auto *entry = Control<QLineEdit>(*m_window, QString::fromLatin1(name));
        QVERIFY2(QFontMetrics(entry->font()).height() <= entry->contentsRect().height(), name);
    }
}

QTEST_MAIN(FitTest)
#include "fit_test.moc"
