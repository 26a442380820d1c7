// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/result_announcer.h"

#include <QStringList>
#include <QTimer>

#include <memory>
#include <utility>

#include "ui/clickable_label.h"

namespace taxcalc {

ResultAnnouncer::ResultAnnouncer(QWidget *window) : Announcer(window) {
    setObjectName(QStringLiteral("ResultAnnouncer"));
}

void ResultAnnouncer::watchPanel(const QList<ClickableLabel *> &labels) {
    auto pending = std::make_shared<bool>(false);
    for (ClickableLabel *label : labels) {
        connect(label, &ClickableLabel::captionChanged, this, [this, labels, pending] {
            if (std::exchange(*pending, true)) {
                return;
            }
            QTimer::singleShot(0, this, [this, labels, pending] {
                *pending = false;
                announce(labels);
            });
        });
    }
}

void ResultAnnouncer::announce(const QList<ClickableLabel *> &labels) {
    QStringList parts;
    for (const ClickableLabel *label : labels) {
        if (!label->text().isEmpty()) {
            parts.append(label->accessibleName());
        }
    }
    Announcer::announce(parts.join(QStringLiteral("；")).replace(QLatin1Char('\n'), QString()));
}

}  // namespace taxcalc
