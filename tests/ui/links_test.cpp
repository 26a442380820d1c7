// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Clicks on the notes, the promotional labels and the pictures start the browser
// through a stand-in xdg-open that records its arguments; mouse moves give the
// promotional labels their hover cue.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "window_test_support.h"

using namespace taxcalc;
using namespace taxcalc::test;

namespace {

const QString kDecisionPage = QStringLiteral("https://www.gov.cn/flfg/2011-06/30/content_1897373.htm");
const QString kAuthorPage = QStringLiteral("https://www.chinatax.gov.cn/");
const QString kDownloadSite = QStringLiteral("https://sourceforge.net/");

}  // namespace

class LinksTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void eachClickStartsTheBrowserOnce_data();
    void eachClickStartsTheBrowserOnce();
    void twoClicksStartTwoBrowsers();
    void otherButtonsAndPlainLabelsOpenNothing_data();
    void otherButtonsAndPlainLabelsOpenNothing();
    void clickChangesNothingInTheWindow();
    void mouseMoveTurnsOnlyThatLabelRed_data();
    void mouseMoveTurnsOnlyThatLabelRed();
    void leavingDoesNotUndoTheCue();
    void resetsRestoreTheRestingColour_data();
    void resetsRestoreTheRestingColour();
    void refusedBonusCalculationKeepsTheCue();
    void withoutXdgOpenTheAddressIsShown();

private:
    QStringList recordedStarts() const;
    void usePath(const QString &path) { qputenv("PATH", path.toLocal8Bit()); }
    QWidget *control(const QString &name) const { return Control(*m_window, name); }

    QTemporaryDir m_fakeBin;
    QTemporaryDir m_emptyBin;
    QByteArray m_originalPath;
    std::unique_ptr<MainForm> m_window;
};

void LinksTest::initTestCase() {
    QVERIFY(m_fakeBin.isValid());
    QVERIFY(m_emptyBin.isValid());
    m_originalPath = qgetenv("PATH");
    QFile script(m_fakeBin.filePath(QStringLiteral("xdg-open")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    // One line per start: the argument count, then the arguments.
    script.write("#!/bin/sh\nprintf '%s %s\\n' \"$#\" \"$*\" >> \"$(dirname \"$0\")/starts.log\"\n");
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

void LinksTest::init() {
    QFile::remove(m_fakeBin.filePath(QStringLiteral("starts.log")));
    usePath(m_fakeBin.path() + QLatin1Char(':') + QString::fromLocal8Bit(m_originalPath));
    m_window = ShowMainForm();
}

void LinksTest::cleanup() {
    m_window.reset();
    qputenv("PATH", m_originalPath);
}

QStringList LinksTest::recordedStarts() const {
    QFile log(m_fakeBin.filePath(QStringLiteral("starts.log")));
    if (!log.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void LinksTest::eachClickStartsTheBrowserOnce_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::newRow("Label1, the legal-basis note") << "Label1" << kDecisionPage;
    QTest::newRow("Label11, the credit line") << "Label11" << kAuthorPage;
    QTest::newRow("Label3, the blind-zone note") << "Label3" << kDownloadSite;
    QTest::newRow("Label2, the bold notice") << "Label2" << kDownloadSite;
    QTest::newRow("Label19") << "Label19" << kDownloadSite;
    QTest::newRow("Label23") << "Label23" << kDownloadSite;
    QTest::newRow("Picture2") << "Picture2" << kDownloadSite;
    QTest::newRow("Picture1") << "Picture1" << kDownloadSite;
}

void LinksTest::eachClickStartsTheBrowserOnce() {
    QFETCH(QString, name);
    QFETCH(QString, address);
    MessageBoxCatcher catcher;
    QTest::mouseClick(control(name), Qt::LeftButton);
    QTRY_COMPARE(recordedStarts(), QStringList{QStringLiteral("1 ") + address});
    QTest::qWait(200);  // a second start would have been recorded by now
    QCOMPARE(recordedStarts().size(), 1);
    QVERIFY(catcher.boxes().isEmpty());
}

void LinksTest::twoClicksStartTwoBrowsers() {
    QTest::mouseClick(control(QStringLiteral("Label3")), Qt::LeftButton);
    QTest::mouseClick(control(QStringLiteral("Label3")), Qt::LeftButton);
    QTRY_COMPARE(recordedStarts().size(), 2);
}

void LinksTest::otherButtonsAndPlainLabelsOpenNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("right click on Label1") << "Label1" << Qt::RightButton;
    QTest::newRow("middle click on Picture1") << "Picture1" << Qt::MiddleButton;
    QTest::newRow("Label33, a caption") << "Label33" << Qt::LeftButton;
    QTest::newRow("Label17, a result") << "Label17" << Qt::LeftButton;
}

void LinksTest::otherButtonsAndPlainLabelsOpenNothing() {
    QFETCH(QString, name);
    QFETCH(Qt::MouseButton, button);
    QTest::mouseClick(control(name), button);
    QTest::qWait(300);
    QCOMPARE(recordedStarts(), QStringList());
}

void LinksTest::clickChangesNothingInTheWindow() {
    QTest::mouseMove(control(QStringLiteral("Label19")), QPoint(4, 4));
    QTest::mouseMove(control(QStringLiteral("Label19")), QPoint(5, 5));
    QCOMPARE(ForeColour(*control(QStringLiteral("Label19"))), kRed);
    QTest::mouseClick(control(QStringLiteral("Label19")), Qt::LeftButton);
    QTRY_COMPARE(recordedStarts().size(), 1);
    QCOMPARE(ForeColour(*control(QStringLiteral("Label19"))), kRed);
    QCOMPARE(ForeColour(*control(QStringLiteral("Label23"))), kBlue);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Cmd_ESC2"));
    QCOMPARE(Control<QLabel>(*m_window, QStringLiteral("Label19"))->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!Control<QLabel>(*m_window, QStringLiteral("Label1"))->font().underline());
}

void LinksTest::mouseMoveTurnsOnlyThatLabelRed_data() {
    QTest::addColumn<QString>("hovered");
    QTest::addColumn<QString>("other");
    QTest::newRow("Label19") << "Label19"
                             << "Label23";
    QTest::newRow("Label23") << "Label23"
                             << "Label19";
}

void LinksTest::mouseMoveTurnsOnlyThatLabelRed() {
    QFETCH(QString, hovered);
    QFETCH(QString, other);
    QTest::mouseMove(m_window.get(), QPoint(2, 2));
    QTest::mouseMove(control(hovered), QPoint(10, 10));
    QCOMPARE(ForeColour(*control(hovered)), kRed);
    QCOMPARE(ForeColour(*control(other)), kBlue);
}

void LinksTest::leavingDoesNotUndoTheCue() {
    QTest::mouseMove(control(QStringLiteral("Label23")), QPoint(10, 10));
    QTest::mouseMove(control(QStringLiteral("Label23")), QPoint(12, 12));
    QTest::mouseMove(m_window.get(), QPoint(2, 2));
    QCOMPARE(ForeColour(*control(QStringLiteral("Label23"))), kRed);
}

// The wage panel's reset turns only Label19 blue; the bonus panel's turns both.
void LinksTest::resetsRestoreTheRestingColour_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QColor>("label19");
    QTest::addColumn<QColor>("label23");
    QTest::newRow("Cmd_ESC1") << "Cmd_ESC1" << kBlue << kRed;
    QTest::newRow("Cmd_ESC2") << "Cmd_ESC2" << kBlue << kBlue;
}

void LinksTest::resetsRestoreTheRestingColour() {
    QFETCH(QString, button);
    QFETCH(QColor, label19);
    QFETCH(QColor, label23);
    for (const char *name : {"Label19", "Label23"}) {
        QTest::mouseMove(control(QString::fromLatin1(name)), QPoint(10, 10));
        QTest::mouseMove(control(QString::fromLatin1(name)), QPoint(11, 11));
    }
    QTest::mouseClick(control(button), Qt::LeftButton);
    QCOMPARE(ForeColour(*control(QStringLiteral("Label19"))), label19);
    QCOMPARE(ForeColour(*control(QStringLiteral("Label23"))), label23);
}

void LinksTest::refusedBonusCalculationKeepsTheCue() {
    QTest::mouseMove(control(QStringLiteral("Label23")), QPoint(10, 10));
    QTest::mouseMove(control(QStringLiteral("Label23")), QPoint(11, 11));
    MessageBoxCatcher catcher;
    QTest::mouseClick(control(QStringLiteral("Cmd_CAL2")), Qt::LeftButton);
    QCOMPARE(catcher.boxes().size(), 1);
    QCOMPARE(ForeColour(*control(QStringLiteral("Label23"))), kRed);
}

void LinksTest::withoutXdgOpenTheAddressIsShown() {
    usePath(m_emptyBin.path());
    MessageBoxCatcher catcher;
    QTest::mouseClick(control(QStringLiteral("Label1")), Qt::LeftButton);
    QCOMPARE(catcher.boxes().size(), 1);
    const CaughtBox &box = catcher.boxes().front();
    QCOMPARE(box.Title, m_window->windowTitle());
    QVERIFY2(box.Text.contains(kDecisionPage), qPrintable(box.Text));
    QCOMPARE(box.ButtonCount, 1);
    QVERIFY(m_window->isVisible());
    QCOMPARE(recordedStarts(), QStringList());
    // The window goes on working after the failed start.
    QTest::mouseClick(control(QStringLiteral("Label3")), Qt::LeftButton);
    QCOMPARE(catcher.boxes().size(), 2);
    QVERIFY(catcher.boxes().back().Text.contains(kDownloadSite));
}

QTEST_MAIN(LinksTest)
#include "links_test.moc"
