// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// An in-memory control surface for tests and tools. It holds the current text of
// each entry, the caption, fore colour and visibility of each label and the entry
// with the focus, and it logs every call the panels make, reads included, in order.
//
// Before any call: every entry and caption is "", every fore colour kBlack, every
// label visible, no entry focused, no message shown.
#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "panels/control_surface.h"

namespace taxcalc {

class RecordingSurface final : public ControlSurface {
public:
    enum class Op { ReadEntry, SetEntryText, FocusEntry, SetCaption, SetForeColour, SetVisible, ShowMessage };

    // One call. Control is the control's name ("Text5", "Label29"; "" for a message).
    // Value is the text read or written, the colour as six upper-case hex digits
    // ("FF0000"), "shown"/"hidden" for visibility, "" for a focus move, or the prompt.
    struct Call {
        Op Operation;
        std::string Control;
        std::string Value;

        friend bool operator==(const Call &, const Call &) = default;
        friend std::ostream &operator<<(std::ostream &out, const Call &call);
    };

    // Puts text into an entry as a user would by typing or pasting: not logged.
    void Fill(Entry entry, std::string_view text);

    const std::string &Text(Entry entry) const;
    const std::string &Caption(Label label) const;
    Colour ForeColour(Label label) const;
    bool Visible(Label label) const;
    std::optional<Entry> Focus() const { return m_focus; }
    int MessageCount() const { return m_messageCount; }
    // The prompt of the latest message, "" before the first.
    const std::string &LastMessage() const { return m_lastMessage; }

    const std::vector<Call> &Log() const { return m_log; }
    // The log without the reads: what the calls changed, in order.
    std::vector<Call> Changes() const;
    void ClearLog() { m_log.clear(); }

    std::string EntryText(Entry entry) const override;
    void SetEntryText(Entry entry, std::string_view text) override;
    void FocusEntry(Entry entry) override;
    void SetCaption(Label label, std::string_view caption) override;
    void SetForeColour(Label label, Colour colour) override;
    void SetVisible(Label label, bool visible) override;
    void ShowMessage(std::string_view prompt) override;

private:
    static constexpr std::size_t kEntries = 4;
    static constexpr std::size_t kLabels = 14;

    struct LabelState {
        std::string Caption;
        Colour ForeColour = kBlack;
        bool Visible = true;
    };

    std::array<std::string, kEntries> m_entries{};
    std::array<LabelState, kLabels> m_labels{};
    std::optional<Entry> m_focus;
    int m_messageCount = 0;
    std::string m_lastMessage;
    // Reads are logged too, although EntryText is const for the panels.
    mutable std::vector<Call> m_log;
};

}  // namespace taxcalc
