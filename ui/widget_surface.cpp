// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/widget_surface.h"

#include <QMessageBox>
#include <QWidget>

#include "ui/clickable_label.h"
#include "ui/colour.h"
#include "ui/form_builder.h"
#include "ui/number_entry.h"
#include "ui/utf8_text.h"

namespace taxcalc {

static_assert(static_cast<std::size_t>(Entry::Text5) + 1 == 4, "every entry is bound");
static_assert(static_cast<std::size_t>(Label::Label34) + 1 == 14, "every label is bound");

WidgetSurface::WidgetSurface(QWidget &window) : m_window(window) {
    for (std::size_t i = 0; i < kEntryCount; ++i) {
        m_entries[i] = RequireControl<NumberEntry>(window, EntryName(static_cast<Entry>(i)));
    }
    for (std::size_t i = 0; i < kLabelCount; ++i) {
        m_labels[i] = RequireControl<ClickableLabel>(window, LabelName(static_cast<Label>(i)));
    }
}

NumberEntry *WidgetSurface::entry(Entry entry) const noexcept {
    return m_entries[static_cast<std::size_t>(entry)];
}

ClickableLabel *WidgetSurface::label(Label label) const noexcept {
    return m_labels[static_cast<std::size_t>(label)];
}

std::string WidgetSurface::EntryText(Entry entry) const {
    return this->entry(entry)->text().toStdString();
}

void WidgetSurface::SetEntryText(Entry entry, std::string_view text) {
    this->entry(entry)->setText(FromUtf8(text));
}

void WidgetSurface::FocusEntry(Entry entry) {
    this->entry(entry)->setFocus(Qt::OtherFocusReason);
}

void WidgetSurface::SetCaption(Label label, std::string_view caption) {
    this->label(label)->setCaption(FromUtf8(caption));
}

void WidgetSurface::SetForeColour(Label label, Colour colour) {
    taxcalc::SetForeColour(*this->label(label), colour);
}

void WidgetSurface::SetVisible(Label label, bool visible) {
    this->label(label)->setVisible(visible);
}

void WidgetSurface::ShowMessage(std::string_view prompt) {
    QMessageBox box(QMessageBox::NoIcon, m_window.windowTitle(), FromUtf8(prompt), QMessageBox::Ok,
                    &m_window);
    box.exec();
}

}  // namespace taxcalc
