// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// What the calculator's start-up is measured against: a plain Qt window with
// widgets of the same kinds and numbers, in the same fonts, and none of the
// calculator. With --bare, an empty QWidget.
//   startup_reference [--bare]
#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include <cstring>

namespace {

QFont Kai(qreal points, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("楷体"), QStringLiteral("KaiTi"), QStringLiteral("AR PL UKai CN")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont Song() {
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN")});
    font.setPointSizeF(9);
    return font;
}

QLabel *Label(QWidget *parent, const QString &text, const QFont &font, int x, int y, int w, int h) {
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->setGeometry(x, y, w, h);
    label->setAutoFillBackground(true);
    label->setWordWrap(true);
    return label;
}

QPixmap Badge() {
    QImage image(96, 96, QImage::Format_RGB32);
    image.fill(QColor(208, 24, 24));
    QPainter painter(&image);
    painter.setFont(Kai(28, false));
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("稳健\n致富"));
    return QPixmap::fromImage(image);
}

// One panel: a frame, two entries, two buttons, captions and results, three lines
// and a picture.
void Panel(QWidget *window, int x, const QString &title) {
    auto *frame = new QGroupBox(title, window);
    frame->setFont(Kai(12, false));
    frame->setGeometry(x, 0, 361, 449);
    Label(frame, title, Kai(15.75, false), 56, 32, 275, 21);
    for (int row = 0; row < 2; ++row) {
        auto *entry = new QLineEdit(row == 0 ? QString() : QStringLiteral("3500"), frame);
        entry->setFont(Kai(12, false));
        entry->setGeometry(96, 64 + 40 * row, 140, 30);
        Label(frame, QStringLiteral("每月薪金"), Kai(12, false), 24, 72 + 40 * row, 64, 16);
    }
    for (int button = 0; button < 2; ++button) {
        auto *push = new QPushButton(button == 0 ? QStringLiteral("计算") : QStringLiteral("重新输入(ESC)"), frame);
        push->setFont(Kai(12, false));
        push->setGeometry(button == 0 ? 256 : 120, button == 0 ? 104 : 352, button == 0 ? 65 : 129, 33);
    }
    for (int row = 0; row < 8; ++row) {
        Label(frame, QStringLiteral("调整前需纳税"), Kai(12, false), 8, 152 + 20 * row, 96, 16);
        Label(frame, QStringLiteral("1695.10 元，税后 16305.90元"), Kai(row % 3 == 0 ? 14.25 : 12, false), 144,
              152 + 20 * row, 200, 19);
    }
    for (int line = 0; line < 3; ++line) {
        auto *rule = new QFrame(frame);
        rule->setFrameShape(QFrame::HLine);
        rule->setGeometry(0, 144 + 32 * line, 360, 1);
    }
    auto *picture = new QLabel(frame);
    picture->setPixmap(Badge());
    picture->setGeometry(8, 288, 97, 97);
    Label(frame, QStringLiteral("★ 作者理财专栏：稳健致富\n★ 五年安家，十二年致富\n★ 欢迎加入，一起投资！"),
          Kai(12, false), 120, 296, 229, 48);
    Label(frame, QStringLiteral("★需批量处理年终奖，防止出冤枉钱，请点击！★"), Kai(14.25, true), 48, 400, 265, 41);
}

}  // namespace

int main(int argc, char *argv[]) {
    const bool bare = argc > 1 && std::strcmp(argv[1], "--bare") == 0;
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("最新2011年终奖计算器_最新2011年个税计算器"));
    window.setFixedSize(762, 561);
    if (!bare) {
        Panel(&window, 0, QStringLiteral("个税计算"));
        Panel(&window, 384, QStringLiteral("最新2011年终奖计算器"));
        for (int note = 0; note < 3; ++note) {
            Label(&window, QStringLiteral("1、最新个税计算器的依据是2011年6月。特征为3500元起征、7级税率。参考："), Song(),
                  8, 464 + 32 * note, 729, 17 + 24 * (note % 2));
        }
    }
    window.show();
    return QApplication::exec();
}
