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

int Pixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

QRect PixelRect(const ControlSpec &spec) {
    return QRect(Pixels(spec.Left), Pixels(spec.Top), Pixels(spec.Width), Pixels(spec.Height));
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
QWidget *CreateControl(const ControlSpec &spec, QWidget *container, const QPixmap &badge) {
    const QString text = FromUtf8(spec.Text);
    switch (spec.Kind) {
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
            return new ClickableLabel(SizingOf(spec.Kind), container);
    }
    return nullptr;
}

bool LiesAboveLabels(ControlKind kind) {
    return kind == ControlKind::TextEntry || kind == ControlKind::Button || kind == ControlKind::Picture;
}

}  // namespace

void BuildControls(QWidget &window) {
    const QPixmap badge(QStringLiteral(":/badge.jpg"));
    QHash<QString, QWidget *> containers{{QString(), &window}};
    std::vector<QWidget *> raised;

    for (const ControlSpec &spec : ControlTable()) {
        QWidget *container = containers.value(FromUtf8(spec.Container), &window);
        QWidget *control = CreateControl(spec, container, badge);
        control->setObjectName(FromUtf8(spec.Name));
        control->setFont(WindowFont(spec.Font));
        control->setGeometry(PixelRect(spec));
        if (spec.ForeColour) {
            SetForeColour(*control, *spec.ForeColour);
        }
        if (!spec.AccessibleName.empty()) {
            control->setAccessibleName(FromUtf8(spec.AccessibleName));
        }
        if (auto *label = qobject_cast<ClickableLabel *>(control);
            label != nullptr && spec.Kind != ControlKind::Picture) {
            label->setCaption(FromUtf8(spec.Text));
        }
        if (spec.Kind == ControlKind::Frame) {
            containers.insert(control->objectName(), control);
        }
        if (LiesAboveLabels(spec.Kind)) {
            raised.push_back(control);
        }
    }

    for (const LineSpec &spec : LineTable()) {
        QWidget *container = containers.value(FromUtf8(spec.Container), &window);
        auto *line = new LineWidget(QPoint(Pixels(spec.X1), Pixels(spec.Y1)),
                                    QPoint(Pixels(spec.X2), Pixels(spec.Y2)), container);
        line->setObjectName(FromUtf8(spec.Name));
    }

    for (QWidget *control : raised) {
        control->raise();
    }
}

}  // namespace taxcalc
