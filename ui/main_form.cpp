// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "ui/main_form.h"

#include <QApplication>
#include <QIcon>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <array>
#include <string_view>
#include <utility>

#include "panels/calculator.h"
#include "ui/clickable_label.h"
#include "ui/form_builder.h"
#include "ui/key_filter.h"
#include "ui/layout_table.h"
#include "ui/link_addresses.h"
#include "ui/number_entry.h"
#include "ui/open_link.h"
#include "ui/result_announcer.h"
#include "ui/utf8_text.h"
#include "ui/widget_surface.h"
#include "ui/window_palette.h"

namespace taxcalc {
namespace {

struct LinkControl {
    std::string_view Name;
    std::string_view Address;
};

constexpr std::array kLinks{
    LinkControl{"Label1", DecisionPageAddress},   LinkControl{"Label11", AuthorPageAddress},
    LinkControl{"Label3", DownloadSiteAddress},   LinkControl{"Label2", DownloadSiteAddress},
    LinkControl{"Label19", DownloadSiteAddress},  LinkControl{"Label23", DownloadSiteAddress},
    LinkControl{"Picture2", DownloadSiteAddress}, LinkControl{"Picture1", DownloadSiteAddress},
};

constexpr std::array<std::string_view, 8> kTabOrder{"Cmd_ESC2", "Cmd_ESC1", "Text2", "Text3",
                                                    "Cmd_CAL2", "Text5",    "Text4", "Cmd_CAL1"};

constexpr std::array kWatchedEntries{Entry::Text5, Entry::Text4, Entry::Text2, Entry::Text3};

constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                         Qt::WindowCloseButtonHint;

}  // namespace

MainForm::MainForm(QWidget *parent) : QWidget(parent, kWindowFlags) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(FromUtf8(kWindowCaption));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/taxcalc-16.png"));
    icon.addFile(QStringLiteral(":/icons/taxcalc-32.png"));
    setWindowIcon(icon);
    setFixedSize(TwipsToPixels(kClientWidthTwips, logicalDpiX()),
                 TwipsToPixels(kClientHeightTwips, logicalDpiY()));
    // Before the controls exist, so that each of them starts from it.
    setPalette(WindowPalette(QApplication::palette(), *style()));

    BuildControls(*this);
    m_surface = std::make_unique<WidgetSurface>(*this);
    m_calculator = std::make_unique<Calculator>(*m_surface);

    m_keyFilter = std::make_unique<KeyFilter>(*m_calculator);
    for (const Entry entry : kWatchedEntries) {
        m_keyFilter->watch(m_surface->entry(entry), entry);
    }
    connectButtons();
    connectLinks();
    connectHoverCues();
    orderTabs();
    announceResults();

    m_calculator->Load();
}

MainForm::~MainForm() = default;

void MainForm::connectButtons() {
    const auto onClick = [this](const char *name, auto operation) {
        auto *button = RequireControl<QPushButton>(*this, name);
        connect(button, &QPushButton::clicked, this, [this, operation] { operation(*m_calculator); });
    };
    onClick("Cmd_CAL1", [](Calculator &calculator) { calculator.Wage().Calculate(); });
    onClick("Cmd_ESC1", [](Calculator &calculator) { calculator.Wage().Reset(); });
    onClick("Cmd_CAL2", [](Calculator &calculator) { calculator.Bonus().Calculate(); });
    onClick("Cmd_ESC2", [](Calculator &calculator) { calculator.Bonus().Reset(); });
}

void MainForm::connectLinks() {
    for (const LinkControl &link : kLinks) {
        auto *control = RequireControl<ClickableLabel>(*this, link.Name);
        const std::string_view address = link.Address;
        connect(control, &ClickableLabel::clicked, this, [this, address] { OpenLink(this, address); });
    }
}

// The cue stays after the mouse has left; typing, calculating or resetting the
// panel turns the label back to its resting colour.
void MainForm::connectHoverCues() {
    for (const Label label : {Label::Label19, Label::Label23}) {
        connect(m_surface->label(label), &ClickableLabel::mouseMoved, this,
                [this, label] { m_surface->SetForeColour(label, kRed); });
    }
}

void MainForm::orderTabs() {
    QWidget *previous = nullptr;
    for (const std::string_view name : kTabOrder) {
        auto *control = RequireControl(*this, name);
        if (previous != nullptr) {
            setTabOrder(previous, control);
        }
        previous = control;
    }
}

void MainForm::announceResults() {
    m_announcer = new ResultAnnouncer(this);
    const auto labels = [this](std::initializer_list<Label> names) {
        QList<ClickableLabel *> list;
        for (const Label name : names) {
            list.append(m_surface->label(name));
        }
        return list;
    };
    m_announcer->watchPanel(labels({Label::Label29, Label::Label28, Label::Label34, Label::Label26}));
    m_announcer->watchPanel(labels({Label::Label17, Label::Label4, Label::Label5, Label::Label6}));
}

void MainForm::showEvent(QShowEvent *event) {
    if (!std::exchange(m_shownBefore, true)) {
        if (const QScreen *screen = this->screen(); screen != nullptr) {
            setGeometry(
                QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
        }
        RequireControl(*this, kTabOrder.front())->setFocus(Qt::OtherFocusReason);
        // The focus frame shows from the start, not only once a key has been used.
        setAttribute(Qt::WA_KeyboardFocusChange);
    }
    QWidget::showEvent(event);
}

}  // namespace taxcalc
