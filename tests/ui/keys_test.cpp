// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Real key events into the four entries: what the filter lets through, what Enter
// and Esc do, where the focus goes, and the promotional labels' colours.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "ui/key_codes.h"
#include "window_test_support.h"

using namespace taxcalc;
using namespace taxcalc::test;

class KeysTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_window = ShowMainForm(); }
    void cleanup() { m_window.reset(); }

    void keyCodes_data();
    void keyCodes();
    void typedCharactersAreFiltered_data();
    void typedCharactersAreFiltered();
    void keysThatTypeNothingKeepTheirEffect_data();
    void keysThatTypeNothingKeepTheirEffect();
    void ctrlVIsSwallowedButMenuPasteIsNot();
    void typedAndPastedTextCalculateAlike_data();
    void typedAndPastedTextCalculateAlike();
    void enterMovesOnInTheFirstEntry_data();
    void enterMovesOnInTheFirstEntry();
    void enterCalculatesOnlyWhenBothEntriesHoldNumbers_data();
    void enterCalculatesOnlyWhenBothEntriesHoldNumbers();
    void escResetsOnlyItsOwnPanel_data();
    void escResetsOnlyItsOwnPanel();
    void anyKeyTurnsItsPanelsLabelBlue_data();
    void anyKeyTurnsItsPanelsLabelBlue();
    void inputMethodTextNeverReachesAnEntry();

private:
    QLineEdit *entry(const char *name) const {
        return Control<QLineEdit>(*m_window, QString::fromLatin1(name));
    }
    QLabel *label(const char *name) const { return Control<QLabel>(*m_window, QString::fromLatin1(name)); }
    void hover(const char *name) const {
        QTest::mouseMove(label(name), QPoint(5, 5));
        QTest::mouseMove(label(name), QPoint(6, 6));
    }

    std::unique_ptr<MainForm> m_window;
};

void KeysTest::keyCodes_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("codes");
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    QTest::newRow("digit") << int{Qt::Key_5} << none << "5"
                           << "5";
    QTest::newRow("keypad digit") << int{Qt::Key_7} << Qt::KeyboardModifiers(Qt::KeypadModifier) << "7"
                                  << "7";
    QTest::newRow("point") << int{Qt::Key_Period} << none << "."
                           << ".";
    QTest::newRow("letter") << int{Qt::Key_A} << none << "a"
                            << "a";
    QTest::newRow("blank") << int{Qt::Key_Space} << none << " "
                           << " ";
    QTest::newRow("Ctrl+V as the test tool sends it") << int{Qt::Key_V} << ctrl << "v" << QString(QChar(22));
    QTest::newRow("Ctrl+V as X11 sends it") << int{Qt::Key_V} << ctrl << "\x16" << QString(QChar(22));
    QTest::newRow("Ctrl+A") << int{Qt::Key_A} << ctrl << "a" << QString(QChar(1));
    QTest::newRow("Ctrl+Shift+Z") << int{Qt::Key_Z} << (ctrl | Qt::ShiftModifier) << "Z"
                                  << QString(QChar(26));
    QTest::newRow("Ctrl+1 types nothing") << int{Qt::Key_1} << ctrl << "1"
                                          << "";
    QTest::newRow("Backspace") << int{Qt::Key_Backspace} << none << "\b" << QString(QChar(8));
    QTest::newRow("Return") << int{Qt::Key_Return} << none << "\r" << QString(QChar(13));
    QTest::newRow("keypad Enter") << int{Qt::Key_Enter} << Qt::KeyboardModifiers(Qt::KeypadModifier) << "\r"
                                  << QString(QChar(13));
    QTest::newRow("Escape") << int{Qt::Key_Escape} << none << "\x1b" << QString(QChar(27));
    QTest::newRow("Delete as X11 sends it") << int{Qt::Key_Delete} << none << "\x7f"
                                            << "";
    QTest::newRow("Left") << int{Qt::Key_Left} << none << ""
                          << "";
    QTest::newRow("Home") << int{Qt::Key_Home} << none << ""
                          << "";
    QTest::newRow("Insert") << int{Qt::Key_Insert} << none << ""
                            << "";
    QTest::newRow("F1") << int{Qt::Key_F1} << none << ""
                        << "";
    QTest::newRow("Shift alone") << int{Qt::Key_Shift} << Qt::KeyboardModifiers(Qt::ShiftModifier) << ""
                                 << "";
    QTest::newRow("Tab") << int{Qt::Key_Tab} << none << "\t"
                         << "";
    QTest::newRow("Shift+Tab") << int{Qt::Key_Backtab} << Qt::KeyboardModifiers(Qt::ShiftModifier) << ""
                               << "";
    QTest::newRow("several characters at once") << int{Qt::Key_unknown} << none << "1a"
                                                << "1a";
    QTest::newRow("outside the 16-bit plane")
        << int{Qt::Key_unknown} << none << QString::fromUcs4(U"\U0001F600")
        << QString::fromUcs4(U"\U0001F600");
}

void KeysTest::keyCodes() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, codes);
    QCOMPARE(QString::fromStdU16String(KeyPressCodes(key, modifiers, text)), codes);
}

void KeysTest::typedCharactersAreFiltered_data() {
    QTest::addColumn<QString>("entryName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::newRow("letters, signs, blanks and commas go nowhere") << "Text5"
                                                                  << "a-+ ,1e2"
                                                                  << "12";
    QTest::newRow("a second point is swallowed") << "Text5"
                                                 << "1.5."
                                                 << "1.5";
    QTest::newRow("a point may come first") << "Text4"
                                            << ".5"
                                            << "0.5";
    QTest::newRow("a point may come last") << "Text2"
                                           << "12."
                                           << "12.";
    QTest::newRow("a point after the built 3500") << "Text3"
                                                  << ".25.x"
                                                  << "3500.25";
    QTest::newRow("full-width digits are not digits") << "Text2"
                                                      << "１２3"
                                                      << "3";
}

void KeysTest::typedCharactersAreFiltered() {
    QFETCH(QString, entryName);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    ClickAndType(*Control(*m_window, entryName), typed);
    QCOMPARE(Control<QLineEdit>(*m_window, entryName)->text(), text);
}

void KeysTest::keysThatTypeNothingKeepTheirEffect_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("text");
    QTest::newRow("Backspace deletes") << QList<int>{Qt::Key_Backspace} << "350";
    QTest::newRow("Home, then a digit") << QList<int>{Qt::Key_Home, Qt::Key_1} << "13500";
    QTest::newRow("Home, Delete") << QList<int>{Qt::Key_Home, Qt::Key_Delete} << "500";
    QTest::newRow("Left twice, Backspace")
        << QList<int>{Qt::Key_Left, Qt::Key_Left, Qt::Key_Backspace} << "300";
}

void KeysTest::keysThatTypeNothingKeepTheirEffect() {
    QFETCH(QList<int>, keys);
    QFETCH(QString, text);
    QTest::mouseClick(entry("Text3"), Qt::LeftButton);
    PressIntoFocus(Qt::Key_End);
    for (const int key : keys) {
        PressIntoFocus(static_cast<Qt::Key>(key));
    }
    QCOMPARE(entry("Text3")->text(), text);
}

void KeysTest::ctrlVIsSwallowedButMenuPasteIsNot() {
    QApplication::clipboard()->setText(QStringLiteral("-1x"));
    QTest::mouseClick(entry("Text5"), Qt::LeftButton);
    PressIntoFocus(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(entry("Text5")->text(), QString());
    entry("Text5")->paste();  // what the context menu's Paste runs
    QCOMPARE(entry("Text5")->text(), QStringLiteral("-1x"));
}

// Pasted text is not filtered; when it holds a number the panel meets it like typed text.
void KeysTest::typedAndPastedTextCalculateAlike_data() {
    QTest::addColumn<bool>("pasted");
    QTest::newRow("typed") << false;
    QTest::newRow("pasted") << true;
}

void KeysTest::typedAndPastedTextCalculateAlike() {
    QFETCH(bool, pasted);
    QTest::mouseClick(entry("Text5"), Qt::LeftButton);
    if (pasted) {
        QApplication::clipboard()->setText(QStringLiteral("5000"));
        entry("Text5")->paste();
    } else {
        TypeIntoFocus(QStringLiteral("5000"));
    }
    PressIntoFocus(Qt::Key_Return);
    PressIntoFocus(Qt::Key_Return);
    QCOMPARE(label("Label29")->text(), QStringLiteral("325.00 元"));
    QCOMPARE(label("Label28")->text(), QStringLiteral("45.00 元"));
    QCOMPARE(label("Label26")->text(), QStringLiteral("280.00"));
}

void KeysTest::enterMovesOnInTheFirstEntry_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("wage panel") << "Text5"
                                << "Text4";
    QTest::newRow("bonus panel") << "Text2"
                                 << "Text3";
}

void KeysTest::enterMovesOnInTheFirstEntry() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    MessageBoxCatcher catcher;
    ClickAndType(*Control(*m_window, first), QStringLiteral("18001"));
    PressIntoFocus(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget()->objectName(), second);
    for (const char *result : {"Label29", "Label17", "Label4"}) {
        QCOMPARE(label(result)->text(), QString());
    }
    QVERIFY(catcher.boxes().isEmpty());
    QVERIFY(m_window->isVisible());
}

void KeysTest::enterCalculatesOnlyWhenBothEntriesHoldNumbers_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("firstText");  // pasted, so that any text can stand there
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("shown");
    QTest::newRow("wage: both filled") << "Text5"
                                       << "Text4"
                                       << "5000"
                                       << "Label28"
                                       << "45.00 元";
    QTest::newRow("wage: wage empty") << "Text5"
                                      << "Text4"
                                      << ""
                                      << "Label28"
                                      << "";
    QTest::newRow("wage: a lone point") << "Text5"
                                        << "Text4"
                                        << "."
                                        << "Label28"
                                        << "";
    QTest::newRow("wage: negative") << "Text5"
                                    << "Text4"
                                    << "-5000"
                                    << "Label28"
                                    << "";
    QTest::newRow("bonus: both filled") << "Text2"
                                        << "Text3"
                                        << "18000"
                                        << "Label17"
                                        << "540.00 元，税后 17460.00元";
    QTest::newRow("bonus: bonus empty") << "Text2"
                                        << "Text3"
                                        << ""
                                        << "Label17"
                                        << "";
    QTest::newRow("bonus: not a number") << "Text2"
                                         << "Text3"
                                         << "1-2"
                                         << "Label17"
                                         << "";
}

void KeysTest::enterCalculatesOnlyWhenBothEntriesHoldNumbers() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, firstText);
    QFETCH(QString, result);
    QFETCH(QString, shown);
    MessageBoxCatcher catcher;
    Control<QLineEdit>(*m_window, first)->setText(firstText);
    QTest::mouseClick(Control(*m_window, second), Qt::LeftButton);
    PressIntoFocus(Qt::Key_Return);
    QCOMPARE(Control<QLabel>(*m_window, result)->text(), shown);
    QVERIFY(catcher.boxes().isEmpty());
    QCOMPARE(QApplication::focusWidget()->objectName(), second);
    QVERIFY(m_window->isVisible());
}

void KeysTest::escResetsOnlyItsOwnPanel_data() {
    QTest::addColumn<QString>("pressedIn");
    QTest::addColumn<QString>("focusAfter");
    QTest::addColumn<bool>("wageCleared");
    QTest::newRow("Text5") << "Text5"
                           << "Text5" << true;
    QTest::newRow("Text4") << "Text4"
                           << "Text5" << true;
    QTest::newRow("Text2") << "Text2"
                           << "Text2" << false;
    QTest::newRow("Text3") << "Text3"
                           << "Text2" << false;
}

void KeysTest::escResetsOnlyItsOwnPanel() {
    QFETCH(QString, pressedIn);
    QFETCH(QString, focusAfter);
    QFETCH(bool, wageCleared);
    ClickAndType(*entry("Text5"), QStringLiteral("5000"));
    PressIntoFocus(Qt::Key_Return);
    TypeIntoFocus(QStringLiteral("12"));  // after the built "0": 012
    PressIntoFocus(Qt::Key_Return);
    ClickAndType(*entry("Text2"), QStringLiteral("18000"));
    PressIntoFocus(Qt::Key_Return);
    PressIntoFocus(Qt::Key_Return);
    QCOMPARE(label("Label29")->text(), QStringLiteral("323.20 元"));
    QCOMPARE(label("Label4")->text(), QStringLiteral("评价：1、该年终奖合理，无需调整！"));

    QTest::mouseClick(Control(*m_window, pressedIn), Qt::LeftButton);
    PressIntoFocus(Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget()->objectName(), focusAfter);
    QVERIFY(m_window->isVisible());
    if (wageCleared) {
        QCOMPARE(entry("Text5")->text(), QString());
        QCOMPARE(entry("Text4")->text(), QStringLiteral("0"));
        QCOMPARE(label("Label29")->text(), QString());
        QCOMPARE(label("Label26")->text(), QString());
        QCOMPARE(entry("Text2")->text(), QStringLiteral("18000"));
        QCOMPARE(label("Label17")->text(), QStringLiteral("540.00 元，税后 17460.00元"));
    } else {
        QCOMPARE(entry("Text2")->text(), QString());
        QCOMPARE(entry("Text3")->text(), QStringLiteral("3500"));
        QCOMPARE(label("Label17")->text(), QString());
        QCOMPARE(label("Label4")->text(), QString());
        QCOMPARE(label("Label5")->text(), QString());
        QCOMPARE(entry("Text5")->text(), QStringLiteral("5000"));
        QCOMPARE(label("Label29")->text(), QStringLiteral("323.20 元"));
    }
}

void KeysTest::anyKeyTurnsItsPanelsLabelBlue_data() {
    QTest::addColumn<QString>("entryName");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("ownLabel");
    QTest::addColumn<QString>("otherLabel");
    QTest::newRow("a swallowed letter in Text3") << "Text3" << int{Qt::Key_X} << "Label23"
                                                 << "Label19";
    QTest::newRow("a digit in Text2") << "Text2" << int{Qt::Key_7} << "Label23"
                                      << "Label19";
    QTest::newRow("Backspace in Text5") << "Text5" << int{Qt::Key_Backspace} << "Label19"
                                        << "Label23";
    QTest::newRow("a blank in Text4") << "Text4" << int{Qt::Key_Space} << "Label19"
                                      << "Label23";
}

void KeysTest::anyKeyTurnsItsPanelsLabelBlue() {
    QFETCH(QString, entryName);
    QFETCH(int, key);
    QFETCH(QString, ownLabel);
    QFETCH(QString, otherLabel);
    hover("Label19");
    hover("Label23");
    QCOMPARE(ForeColour(*Control(*m_window, ownLabel)), kRed);
    QCOMPARE(ForeColour(*Control(*m_window, otherLabel)), kRed);
    QTest::mouseClick(Control(*m_window, entryName), Qt::LeftButton);
    PressIntoFocus(static_cast<Qt::Key>(key));
    QCOMPARE(ForeColour(*Control(*m_window, ownLabel)), kBlue);
    QCOMPARE(ForeColour(*Control(*m_window, otherLabel)), kRed);
}

void KeysTest::inputMethodTextNeverReachesAnEntry() {
    QLineEdit *text5 = entry("Text5");
    QTest::mouseClick(text5, Qt::LeftButton);
    QCOMPARE(text5->inputMethodQuery(Qt::ImEnabled).toBool(), false);
    QInputMethodEvent commit(QString(), {});
    commit.setCommitString(QStringLiteral("abc-12"));
    QApplication::sendEvent(text5, &commit);
    QCOMPARE(text5->text(), QString());
}

QTEST_MAIN(KeysTest)
#include "keys_test.moc"
