// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QWidget>

#include <memory>

namespace taxcalc {

class Calculator;
class KeyFilter;
class ResultAnnouncer;
class WidgetSurface;

// The program's one window: both panels and the notes at its foot. A plain
// top-level widget, not a dialog, so that an Enter or Esc that an entry passes on
// neither closes the window nor presses a button. Constructing it builds every
// control and runs the load steps (the bonus panel's reset, then the wage panel's);
// it shows centred on its screen with the focus on Cmd_ESC2, its frame drawn from
// the start. Its colours are for a light face, whatever the desktop's.
class MainForm : public QWidget {
    Q_OBJECT

public:
    explicit MainForm(QWidget *parent = nullptr);
    ~MainForm() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void connectButtons();
    void connectLinks();
    void connectHoverCues();
    void orderTabs();
    void announceResults();

    // Destroyed in reverse: the key filter goes before the calculator it feeds, the
    // calculator before the surface it writes to.
    std::unique_ptr<WidgetSurface> m_surface;
    std::unique_ptr<Calculator> m_calculator;
    std::unique_ptr<KeyFilter> m_keyFilter;
    ResultAnnouncer *m_announcer = nullptr;
    bool m_shownBefore = false;
};

}  // namespace taxcalc
