// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The window on the user's desktop, set up as the program sets it up: a dark
// desktop palette, the focus frame, Qt's own texts in Chinese, the entries'
// context menu, and the command line that needs no display.
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include <cmath>

#include "ui/application_setup.h"
#include "window_test_support.h"

using namespace taxcalc;
using namespace taxcalc::test;

namespace {

// WCAG 2 contrast, worked out here from the sRGB channels.
double Luminance(const QColor &colour) {
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double Contrast(const QColor &a, const QColor &b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A dark scheme as qt6ct sets it on the Fusion style.
QPalette DarkDesktop() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::AlternateBase, QColor(0x42, 0x42, 0x42));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
    dark.setColor(QPalette::Dark, QColor(0x20, 0x20, 0x20));
    return dark;
}

QStringList MenuTexts(QLineEdit &entry) {
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        for (const QAction *action : menu->actions()) {
            if (!action->isSeparator()) {
                texts.append(action->text());
            }
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), entry.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&entry, &event);
    return texts;
}

struct Run {
    int Status;
    QString Out;
    QString Err;
};

Run RunWithoutDisplay(const QStringList &arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(name));
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TAXCALC_PROGRAM), arguments);
    if (!process.waitForFinished(10000)) {
        return {-1, {}, {}};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT

private slots:
    void darkDesktopLeavesEveryTextReadable_data();
    void darkDesktopLeavesEveryTextReadable();
    void lightDesktopKeepsItsOwnColours();
    void focusFrameShowsFromTheStart();
    void messageBoxButtonIsChinese();
    void contextMenuIsChineseAndPromisesNoSwallowedShortcut();
    void commandLineNeedsNoDisplay_data();
    void commandLineNeedsNoDisplay();
};

// Minimum contrasts on the window's face, from the colours as designed on a light
// grey face (0xEFEFEF): blue 7.4, black 17, dark orange 4.6, red 3.5, magenta 2.7.
void DesktopTest::darkDesktopLeavesEveryTextReadable_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("minimum");
    for (const char *name :
         {"Label19", "Label23", "Label6", "Label31", "Label1", "Label3", "Label11", "Label2"}) {
        QTest::newRow(name) << name << 4.5;
    }
    for (const char *name : {"Label25", "Label21", "Label26", "Label5"}) {
        QTest::newRow(name) << name << 2.5;
    }
}

void DesktopTest::darkDesktopLeavesEveryTextReadable() {
    QFETCH(QString, name);
    QFETCH(double, minimum);
    const QPalette desktop = QApplication::palette();
    QApplication::setPalette(DarkDesktop());
    const auto window = ShowMainForm();
    QApplication::setPalette(desktop);
    const QWidget *label = Control(*window, name);
    const QPalette colours = label->palette();
    const double contrast = Contrast(colours.color(label->foregroundRole()), colours.color(QPalette::Window));
    QVERIFY2(contrast >= minimum, qPrintable(QString::number(contrast)));
    // The lines, the entries and the buttons as well.
    const QPalette face = window->palette();
    QVERIFY(Contrast(face.color(QPalette::WindowText), face.color(QPalette::Window)) >= 4.5);
    const auto *entry = Control<QLineEdit>(*window, QStringLiteral("Text2"));
    QVERIFY(Contrast(entry->palette().color(QPalette::Text), entry->palette().color(QPalette::Base)) >= 4.5);
    const auto *button = Control<QPushButton>(*window, QStringLiteral("Cmd_CAL2"));
    QVERIFY(Contrast(button->palette().color(QPalette::ButtonText),
                     button->palette().color(QPalette::Button)) >= 4.5);
}

void DesktopTest::lightDesktopKeepsItsOwnColours() {
    const QPalette desktop = QApplication::palette();
    QPalette light = desktop;
    light.setColor(QPalette::Window, QColor(0xF4, 0xF0, 0xE6));
    light.setColor(QPalette::WindowText, QColor(0x20, 0x20, 0x30));
    QApplication::setPalette(light);
    const auto window = ShowMainForm();
    QApplication::setPalette(desktop);
    QCOMPARE(window->palette().color(QPalette::Window), QColor(0xF4, 0xF0, 0xE6));
    const auto *label = Control(*window, QStringLiteral("Label31"));
    QCOMPARE(label->palette().color(label->foregroundRole()), QColor(0x20, 0x20, 0x30));
    QCOMPARE(ForeColour(*Control(*window, QStringLiteral("Label23"))), kBlue);
}

// Cmd_ESC1 and Cmd_ESC2 are the same button; only the focused one shows a frame.
void DesktopTest::focusFrameShowsFromTheStart() {
    const auto window = ShowMainForm();
    auto *focused = Control<QPushButton>(*window, QStringLiteral("Cmd_ESC2"));
    auto *other = Control<QPushButton>(*window, QStringLiteral("Cmd_ESC1"));
    QVERIFY(focused->hasFocus());
    QStyleOptionButton option;
    option.initFrom(focused);
    QVERIFY(option.state.testFlag(QStyle::State_HasFocus));
    QVERIFY(option.state.testFlag(QStyle::State_KeyboardFocusChange));
    QCOMPARE(focused->size(), other->size());
    QVERIFY(focused->grab().toImage() != other->grab().toImage());
}

void DesktopTest::messageBoxButtonIsChinese() {
    const auto window = ShowMainForm();
    QString buttonText;
    QTimer::singleShot(0, [&buttonText] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box != nullptr) {
            buttonText = box->button(QMessageBox::Ok)->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    Control<QLineEdit>(*window, QStringLiteral("Text2"))->clear();
    QTest::mouseClick(Control(*window, QStringLiteral("Cmd_CAL2")), Qt::LeftButton);
    QCOMPARE(buttonText, QStringLiteral("确定"));
}

// Ctrl with a letter types a control character, which the entries swallow; Delete
// keeps its effect.
void DesktopTest::contextMenuIsChineseAndPromisesNoSwallowedShortcut() {
    const auto window = ShowMainForm();
    auto *entry = Control<QLineEdit>(*window, QStringLiteral("Text3"));
    entry->selectAll();
    const QStringList texts = MenuTexts(*entry);
    QVERIFY2(texts.size() >= 6, qPrintable(texts.join(QLatin1Char('|'))));
    for (const char *chinese : {"撤消(&U)", "重做(&R)", "剪切(&T)", "复制(&C)", "粘贴(&P)", "删除", "全选"}) {
        QVERIFY2(texts.contains(QString::fromUtf8(chinese)), qPrintable(texts.join(QLatin1Char('|'))));
    }
    for (const QString &text : texts) {
        QVERIFY2(!text.contains(QStringLiteral("Ctrl")), qPrintable(text));
    }
}

void DesktopTest::commandLineNeedsNoDisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("outStartsWith");
    QTest::addColumn<QString>("errContains");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << QStringLiteral("用法：taxcalc") << QString();
    QTest::newRow("-h after another")
        << QStringList{"-style", "-h"} << 0 << QStringLiteral("用法：taxcalc") << QString();
    QTest::newRow("--version") << QStringList{"--version"} << 0 << QStringLiteral("taxcalc 1.0.0\n")
                               << QString();
    QTest::newRow("after --") << QStringList{"--", "--help"} << 1 << QString()
                              << QStringLiteral("no display");
    QTest::newRow("no option") << QStringList{} << 1 << QString() << QStringLiteral("xvfb-run");
}

void DesktopTest::commandLineNeedsNoDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, outStartsWith);
    QFETCH(QString, errContains);
    const Run run = RunWithoutDisplay(arguments);
    QCOMPARE(run.Status, status);
    if (outStartsWith.isEmpty()) {
        QCOMPARE(run.Out, QString());
    } else {
        QVERIFY2(run.Out.startsWith(outStartsWith), qPrintable(run.Out));
    }
    if (errContains.isEmpty()) {
        QCOMPARE(run.Err, QString());
    } else {
        QVERIFY2(run.Err.contains(errContains), qPrintable(run.Err));
    }
    if (status == 0 && arguments.contains(QStringLiteral("--help"))) {
        QVERIFY(run.Out.contains(QStringLiteral("Usage: taxcalc")));
    }
}

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    if (!PrepareApplication(application, QStringLiteral("io.github.taxcalc.Taxcalc"))) {
        qWarning("Qt's Chinese translation is missing");
    }
    DesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "desktop_test.moc"
