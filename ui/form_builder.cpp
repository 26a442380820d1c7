// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/form_builder.h"

#include <QHash>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

#include <vector>

#include "ui/clickable_label.h"
#include "ui/colour.h"
#include "ui/layout_table.h"
#include "ui/line_widget.h"
#include "ui/number_entry.h"
#include "ui/panel_frame.h"
#include "ui/picture_box.h"
#include "ui/utf8_text.h"
#include "ui/window_fonts.h"

namespace taxcalc {
namespace {

QRect PixelRect(const ControlRow &row, int dpiX, int dpiY) {
    return QRect(TwipsToPixels(row.Left, dpiX), TwipsToPixels(row.Top, dpiY), TwipsToPixels(row.Width, dpiX),
                 TwipsToPixels(row.Height, dpiY));
}

ClickableLabel::Sizing SizingOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::AutoSizeLabel:
            return ClickableLabel::Sizing::AutoSize;
        case ControlKind::WrappingLabel:
            return ClickableLabel::Sizing::Wrapping;
        default:
            return ClickableLabel::Sizing::Fixed;
    }
}

// Creates the control; the caller places and names it.
QWidget *CreateControl(const ControlRow &row, QWidget *container, const QPixmap &badge) {
    const QString text = FromUtf8(row.Text);
    switch (row.Kind) {
        case ControlKind::Frame:
            return new PanelFrame(text, container);
        case ControlKind::TextEntry: {
            auto *entry = new NumberEntry(container);
            entry->setText(text);
            return entry;
        }
        case ControlKind::Button: {
            auto *button = new QPushButton(text, container);
            button->setAutoDefault(false);
            return button;
        }
        case ControlKind::Picture:
            return new PictureBox(badge, container);
        case ControlKind::AutoSizeLabel:
        case ControlKind::WrappingLabel:
        case ControlKind::FixedLabel:
            return new ClickableLabel(SizingOf(row.Kind), container);
    }
    return nullptr;
}

bool LiesAboveLabels(ControlKind kind) {
    return kind == ControlKind::TextEntry || kind == ControlKind::Button || kind == ControlKind::Picture;
}

}  // namespace

void BuildControls(QWidget &window) {
    const int dpiX = window.logicalDpiX();
    const int dpiY = window.logicalDpiY();
    // The badge is drawn for 96 dots per inch; it grows with its box.
    QPixmap badge(QStringLiteral(":/badge.jpg"));
    if (dpiX != 96 || dpiY != 96) {
        badge = badge.scaled(badge.width() * dpiX / 96, badge.height() * dpiY / 96, Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
    }
    QHash<QString, QWidget *> containers{{QString(), &window}};
    std::vector<QWidget *> raised;

    for (const ControlRow &row : ControlTable()) {
        QWidget *container = containers.value(FromUtf8(row.Container), &window);
        QWidget *control = CreateControl(row, container, badge);
        control->setObjectName(FromUtf8(row.Name));
        control->setFont(WindowFont(row.Font));
        control->setGeometry(PixelRect(row, dpiX, dpiY));
        if (row.ForeColour) {
            SetForeColour(*control, *row.ForeColour);
        }
        auto *label = row.Kind != ControlKind::Picture ? qobject_cast<ClickableLabel *>(control) : nullptr;
        if (label != nullptr) {
            label->setSpokenName(FromUtf8(row.AccessibleName));
            label->setCaption(FromUtf8(row.Text));
        } else if (!row.AccessibleName.empty()) {
            control->setAccessibleName(FromUtf8(row.AccessibleName));
        }
        if (row.Kind == ControlKind::Frame) {
            containers.insert(control->objectName(), control);
        }
        if (LiesAboveLabels(row.Kind)) {
            raised.push_back(control);
        }
    }

    for (const LineSpec &row : LineTable()) {
        QWidget *container = containers.value(FromUtf8(row.Container), &window);
        auto *line =
            new LineWidget(QPoint(TwipsToPixels(row.X1, dpiX), TwipsToPixels(row.Y1, dpiY)),
                           QPoint(TwipsToPixels(row.X2, dpiX), TwipsToPixels(row.Y2, dpiY)), container);
        line->setObjectName(FromUtf8(row.Name));
    }

    for (QWidget *control : raised) {
        control->raise();
    }
}

}  // namespace taxcalc
