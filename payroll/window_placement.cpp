// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "payroll/window_placement.h"

#include <QByteArray>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QSplitter>

#include <algorithm>

namespace taxcalc {
namespace {

constexpr auto kGeometryKey = QLatin1StringView("payroll/geometry");
constexpr auto kSplitterKey = QLatin1StringView("payroll/splitter");

}  // namespace

WindowPlacement::WindowPlacement(QMainWindow *window, QSplitter *splitter)
    : m_window(window), m_splitter(splitter) {}

void WindowPlacement::placeOnScreen() {
    const QSettings settings;
    if (!m_window->restoreGeometry(settings.value(kGeometryKey).toByteArray())) {
        m_window->resize(kDefaultSize);
    }
    m_splitter->restoreState(settings.value(kSplitterKey).toByteArray());
    fitToScreen();
}

void WindowPlacement::shown() {
    // Only now is the frame known that the desktop puts round the window.
    if (!m_fitted) {
        m_fitted = true;
        fitToScreen();
    }
}

void WindowPlacement::moved() {
    // On X the window manager frames the window after it is shown, and moves it to
    // make room: only then does the frame tell how much of the screen it takes.
    if (m_fitted && !m_framed && m_window->frameGeometry().size() != m_window->geometry().size()) {
        m_framed = true;
        fitToScreen();
    }
}

QSize WindowPlacement::FittedSize(QSize size, QSize available, QSize frame, QSize minimum) {
    const QSize room = (available - frame).expandedTo(minimum);
    return size.boundedTo(room).expandedTo(minimum);
}

QPoint WindowPlacement::FrameOrigin(QRect placed, QRect available) {
    if (!available.contains(placed)) {
        placed.moveCenter(available.center());
        placed.moveLeft(std::max(placed.left(), available.left()));
        placed.moveTop(std::max(placed.top(), available.top()));
    }
    return placed.topLeft();
}

void WindowPlacement::fitToScreen() {
    // Within the screen's free area at any scale: the remembered size may be from a
    // larger screen, the default too large for a small one at 150 %.
    const QScreen *shown = m_window->screen();
    if (shown == nullptr) {
        return;
    }
    const QRect available = shown->availableGeometry();
    const QSize frame = m_window->frameGeometry().size() - m_window->geometry().size();
    m_window->resize(FittedSize(m_window->size(), available.size(), frame, m_window->minimumSizeHint()));
    const QRect placed = m_window->frameGeometry();
    if (!available.contains(placed)) {
        m_window->move(FrameOrigin(placed, available));
    }
}

void WindowPlacement::rememberPlace() {
    QSettings settings;
    settings.setValue(kGeometryKey, m_window->saveGeometry());
    settings.setValue(kSplitterKey, m_splitter->saveState());
}

}  // namespace taxcalc
