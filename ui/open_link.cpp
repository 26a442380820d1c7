// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/open_link.h"

#include <QMessageBox>
#include <QProcess>
#include <QWidget>

#include "ui/utf8_text.h"

namespace taxcalc {

bool OpenLink(QWidget *window, std::string_view address) {
    const QString link = FromUtf8(address);
    if (QProcess::startDetached(QStringLiteral("xdg-open"), {link})) {
        return true;
    }
    QMessageBox box(QMessageBox::NoIcon, window->windowTitle(),
                    QStringLiteral("无法启动浏览器。请复制下面的网址，在浏览器中打开：\n") + link,
                    QMessageBox::Ok, window);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box.exec();
    return false;
}

}  // namespace taxcalc
