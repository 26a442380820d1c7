// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace taxcalc {
namespace {

// The toolkit's bridges present a widget of the notification role when it shows,
// whatever holds the focus. Qt asks the factory with each class name from the
// object's own up, so the classes derived from this one are found too.
QAccessibleInterface *AnnouncerAccessible(const QString &className, QObject *object) {
    if (className == QLatin1String("taxcalc::Announcer") && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    }
    return nullptr;
}

}  // namespace

Announcer::Announcer(QWidget *parent) : QWidget(parent) {
    static const bool installed = (QAccessible::installFactory(&AnnouncerAccessible), true);
    Q_UNUSED(installed);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // One pixel that draws nothing, beneath everything: shown, so that the bus
    // reports it as showing, yet never seen.
    setGeometry(0, 0, 1, 1);
    lower();
}

void Announcer::announce(const QString &text) {
    if (text.isEmpty()) {
        return;
    }
    setAccessibleName(text);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

}  // namespace taxcalc
