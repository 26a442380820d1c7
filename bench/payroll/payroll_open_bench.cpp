// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Opens a payroll file in the real payroll window and times, from the moment the
// file is named: the first screen of computed rows painted (the rows show once the
// file is read, while the totals are still being computed), and the summary line
// with the whole file's figures. Then jumps to rows all over the file and paints
// each screen, as scrolling through a million rows does.
//
//   payroll_open_bench FILE        (QT_QPA_PLATFORM=offscreen needs no display)
#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTableView>

#include <cstdio>
#include <ctime>

#include "payroll/payroll_window.h"

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: payroll_open_bench FILE\n");
        return 2;
    }
    taxcalc::PayrollWindow window;
    window.resize(1280, 800);
    window.show();
    QApplication::processEvents();
    auto *cancel = window.findChild<QPushButton *>(QStringLiteral("cancelButton"));
    auto *view = window.findChild<QTableView *>(QStringLiteral("rowsView"));
    auto *summary = window.findChild<QLabel *>(QStringLiteral("summaryLabel"));

    // Wall time, and the CPU time of every thread of the process: on a busy machine
    // the first counts the waits for a core, the second only the work.
    const auto cpu = [start = std::clock()] { return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC; };
    QElapsedTimer clock;
    clock.start();
    window.openFile(QString::fromLocal8Bit(argv[1]));
    // Sleeps until the next event (the job's signals, the progress timer), so that the
    // CPU time counts the window's work and not a spinning wait.
    const auto wait = [] { QApplication::processEvents(QEventLoop::WaitForMoreEvents); };
    while (view->model()->rowCount() == 0 && cancel->isVisible()) {
        wait();
    }
    view->viewport()->repaint();
    const double toFirstScreen = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    const double cpuFirstScreen = cpu();
    while (cancel->isVisible()) {
        wait();
    }
    const double toSummary = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    const double cpuSummary = cpu();

    const int rows = view->model()->rowCount();
    if (rows == 0) {
        std::fprintf(stderr, "payroll_open_bench: nothing opened\n");
        return 1;
    }
    constexpr int kJumps = 200;
    QRandomGenerator random(2011);
    QElapsedTimer scrolling;
    scrolling.start();
    for (int i = 0; i < kJumps; ++i) {
        view->scrollTo(view->model()->index(random.bounded(rows), 0), QAbstractItemView::PositionAtTop);
        view->viewport()->repaint();
    }
    const double perScreen = static_cast<double>(scrolling.nsecsElapsed()) / 1e6 / kJumps;

    std::printf("rows %d\nfirst screen  wall %6.2f s   cpu %6.2f s\nsummary       wall %6.2f s   cpu %6.2f s\n"
                "screen after a jump %.2f ms\n%s\n",
                rows, toFirstScreen, cpuFirstScreen, toSummary, cpuSummary, perScreen,
                summary->text().toUtf8().constData());
    return 0;
}
