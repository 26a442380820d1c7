// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "tests/panels/recording_surface.h"

#include <cstdio>

namespace taxcalc {
namespace {

std::string HexColour(Colour colour) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%06X", static_cast<unsigned>(colour));
    return buffer;
}

std::string_view OpName(RecordingSurface::Op op) {
    switch (op) {
        case RecordingSurface::Op::ReadEntry:
            return "ReadEntry";
        case RecordingSurface::Op::SetEntryText:
            return "SetEntryText";
        case RecordingSurface::Op::FocusEntry:
            return "FocusEntry";
        case RecordingSurface::Op::SetCaption:
            return "SetCaption";
        case RecordingSurface::Op::SetForeColour:
            return "SetForeColour";
        case RecordingSurface::Op::SetVisible:
            return "SetVisible";
        case RecordingSurface::Op::ShowMessage:
            return "ShowMessage";
    }
    return "?";
}

static_assert(static_cast<std::size_t>(Entry::Text5) == 3);
static_assert(static_cast<std::size_t>(Label::Label34) == 13);

std::size_t Index(Entry entry) {
    return static_cast<std::size_t>(entry);
}
std::size_t Index(Label label) {
    return static_cast<std::size_t>(label);
}

}  // namespace

std::ostream &operator<<(std::ostream &out, const RecordingSurface::Call &call) {
    return out << OpName(call.Operation) << '(' << call.Control << ", \"" << call.Value << "\")";
}

void RecordingSurface::Fill(Entry entry, std::string_view text) {
    m_entries.at(Index(entry)) = text;
}

const std::string &RecordingSurface::Text(Entry entry) const {
    return m_entries.at(Index(entry));
}

const std::string &RecordingSurface::Caption(Label label) const {
    return m_labels.at(Index(label)).Caption;
}

Colour RecordingSurface::ForeColour(Label label) const {
    return m_labels.at(Index(label)).ForeColour;
}

bool RecordingSurface::Visible(Label label) const {
    return m_labels.at(Index(label)).Visible;
}

std::vector<RecordingSurface::Call> RecordingSurface::Changes() const {
    std::vector<Call> changes;
    for (const Call &call : m_log) {
        if (call.Operation != Op::ReadEntry) {
            changes.push_back(call);
        }
    }
    return changes;
}

std::string RecordingSurface::EntryText(Entry entry) const {
    const std::string &text = m_entries.at(Index(entry));
    m_log.push_back({Op::ReadEntry, std::string(EntryName(entry)), text});
    return text;
}

void RecordingSurface::SetEntryText(Entry entry, std::string_view text) {
    m_entries.at(Index(entry)) = text;
    m_log.push_back({Op::SetEntryText, std::string(EntryName(entry)), std::string(text)});
}

void RecordingSurface::FocusEntry(Entry entry) {
    m_focus = entry;
    m_log.push_back({Op::FocusEntry, std::string(EntryName(entry)), ""});
}

void RecordingSurface::SetCaption(Label label, std::string_view caption) {
    m_labels.at(Index(label)).Caption = caption;
    m_log.push_back({Op::SetCaption, std::string(LabelName(label)), std::string(caption)});
}

void RecordingSurface::SetForeColour(Label label, Colour colour) {
    m_labels.at(Index(label)).ForeColour = colour;
    m_log.push_back({Op::SetForeColour, std::string(LabelName(label)), HexColour(colour)});
}

void RecordingSurface::SetVisible(Label label, bool visible) {
    m_labels.at(Index(label)).Visible = visible;
    m_log.push_back({Op::SetVisible, std::string(LabelName(label)), visible ? "shown" : "hidden"});
}

void RecordingSurface::ShowMessage(std::string_view prompt) {
    ++m_messageCount;
    m_lastMessage = prompt;
    m_log.push_back({Op::ShowMessage, "", std::string(prompt)});
}

}  // namespace taxcalc
