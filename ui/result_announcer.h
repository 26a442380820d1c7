// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QList>
#include <QWidget>

#include "ui/announcer.h"

namespace taxcalc {

class ClickableLabel;

// Tells assistive technology about new results. The figures change in labels that
// never hold the focus, so a screen reader would stay silent; this announcer takes
// the spoken names of a panel's result labels each time that panel has computed.
class ResultAnnouncer : public Announcer {
    Q_OBJECT

public:
    explicit ResultAnnouncer(QWidget *window);

    // One panel's result labels in reading order. A calculation rewrites several of
    // them at once; they are announced together once it has finished. Captions
    // emptied by a reset are not announced.
    void watchPanel(const QList<ClickableLabel *> &labels);

private:
    void announce(const QList<ClickableLabel *> &labels);
};

}  // namespace taxcalc
