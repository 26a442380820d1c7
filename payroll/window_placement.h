// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QMainWindow;
class QSplitter;

namespace taxcalc {

// Where the window stands: the remembered size and splitter, or a default, always
// within the screen's free area at any scale, fitted again once the desktop's frame
// round the window is known; remembered when the window closes.
class WindowPlacement {
public:
    static constexpr QSize kDefaultSize{1280, 760};

    WindowPlacement(QMainWindow *window, QSplitter *splitter);

    // The remembered size and splitter, or a default, within the screen's free area.
    void placeOnScreen();
    // From the window's showEvent and moveEvent, after the base class's.
    void shown();
    void moved();
    void rememberPlace();

    // The window's size (without its frame) within `room`, the free area less the
    // frame, and no smaller than `minimum`.
    static QSize FittedSize(QSize size, QSize available, QSize frame, QSize minimum);
    // Where the framed window goes: where it is if it fits the free area, else
    // centred on it, its top left corner never off the area.
    static QPoint FrameOrigin(QRect placed, QRect available);

private:
    void fitToScreen();

    QMainWindow *m_window;
    QSplitter *m_splitter;
    bool m_fitted = false;
    bool m_framed = false;  // fitted again once the desktop's frame is known
};

}  // namespace taxcalc
