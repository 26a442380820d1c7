// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/result_announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <utility>

#include "ui/clickable_label.h"

namespace taxcalc {
namespace {

// The toolkit's bridges present a widget of the notification role when it shows,
// whatever holds the focus.
QAccessibleInterface *AnnouncerAccessible(const QString &className, QObject *object) {
    if (className == QLatin1String("taxcalc::ResultAnnouncer") && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    }
    return nullptr;
}

}  // namespace

ResultAnnouncer::ResultAnnouncer(QWidget *window) : QWidget(window) {
    static const bool installed = (QAccessible::installFactory(&AnnouncerAccessible), true);
    Q_UNUSED(installed);
    setObjectName(QStringLiteral("ResultAnnouncer"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // One pixel that draws nothing, beneath everything: shown, so that the bus
    // reports it as showing, yet never seen.
    setGeometry(0, 0, 1, 1);
    lower();
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
    if (parts.isEmpty()) {
        return;
    }
    setAccessibleName(parts.join(QStringLiteral("；")).replace(QLatin1Char('\n'), QString()));
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

}  // namespace taxcalc
