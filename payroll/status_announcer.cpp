// SPDX-License-Identifier: MIT
#include "payroll/status_announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace taxcalc {
namespace {

QAccessibleInterface *AnnouncerAccessible(const QString &className, QObject *object) {
    if (className == QLatin1String("taxcalc::StatusAnnouncer") && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    }
    return nullptr;
}

}  // namespace

StatusAnnouncer::StatusAnnouncer(QWidget *parent) : QWidget(parent) {
    static const bool installed = (QAccessible::installFactory(&AnnouncerAccessible), true);
    Q_UNUSED(installed);
    setObjectName(QStringLiteral("statusAnnouncer"));
    setAccessibleName(QStringLiteral("工资表个税"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // One pixel that draws nothing, beneath everything: shown, so that the bus
    // reports it as showing, yet never seen.
    setGeometry(0, 0, 1, 1);
    lower();
}

void StatusAnnouncer::announce(const QString &text) {
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
