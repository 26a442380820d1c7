// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "panels/calculator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/panels/recording_surface.h"

namespace taxcalc {
namespace {

using Op = RecordingSurface::Op;
using Call = RecordingSurface::Call;

constexpr std::uint16_t kBackspace = 8;
constexpr std::uint16_t kEnter = 13;
constexpr std::uint16_t kEscape = 27;
const Call kWageBlue{Op::SetForeColour, "Label19", "FF0000"};
const Call kBonusBlue{Op::SetForeColour, "Label23", "FF0000"};

// Types the keys into an entry as the window does: whatever code the key press
// leaves is inserted at the end, and Backspace deletes the last character.
void Type(Calculator &calculator, RecordingSurface &surface, Entry entry, const std::u16string &keys) {
    for (const char16_t key : keys) {
        const std::uint16_t code = calculator.KeyPress(entry, key);
        std::string text = surface.Text(entry);
        if (code == kBackspace && !text.empty()) {
            text.pop_back();
        } else if (code >= ' ' && code < 0x80) {
            text.push_back(static_cast<char>(code));
        }
        surface.Fill(entry, text);
    }
}

TEST(KeyPress, FilterLetsThroughDigitsOnePointAndTheThreeControlKeys) {
    struct FilterCase {
        std::uint16_t Code;
        std::uint16_t Left;
    };
    const FilterCase cases[] = {
        {'0', '0'},  {'5', '5'}, {'9', '9'}, {'.', '.'},        {kBackspace, kBackspace},
        {'/', 0},    {':', 0},   {'-', 0},   {'+', 0},          {',', 0},
        {' ', 0},    {'a', 0},   {'e', 0},   {'E', 0},          {0, 0},
        {9, 0},      {10, 0},    {127, 0},   {0x0100 + '5', 0}, {0xFF10, 0},  // full-width zero
        {0x3002, 0},                                                          // ideographic full stop
    };
    for (const Entry entry : {Entry::Text2, Entry::Text3, Entry::Text4, Entry::Text5}) {
        for (const auto &c : cases) {
            RecordingSurface surface;
            Calculator calculator(surface);
            EXPECT_EQ(calculator.KeyPress(entry, c.Code), c.Left) << EntryName(entry) << " " << c.Code;
            EXPECT_EQ(surface.MessageCount(), 0);
        }
    }
}

TEST(KeyPress, TypedSequencesKeepOneDecimalPoint) {
    struct TypingCase {
        std::u16string Keys;
        std::string Text;
    };
    const TypingCase cases[] = {
        {u"1.5.", "1.5"},  {u".5", ".5"},      {u"12.", "12."},        {u"..", "."},
        {u"a-1 ,2", "12"}, {u"1.\b.5", "1.5"}, {u"1.2\b\b\b.3", ".3"}, {u"0.0.0", "0.00"},
    };
    for (const auto &c : cases) {
        RecordingSurface surface;
        Calculator calculator(surface);
        Type(calculator, surface, Entry::Text5, c.Keys);
        EXPECT_EQ(surface.Text(Entry::Text5), c.Text);
    }
}

TEST(KeyPress, SwallowedKeysStillTurnThePanelsLabelBlue) {
    const std::pair<Entry, Call> cases[] = {{Entry::Text5, kWageBlue},
                                            {Entry::Text4, kWageBlue},
                                            {Entry::Text2, kBonusBlue},
                                            {Entry::Text3, kBonusBlue}};
    for (const auto &[entry, blue] : cases) {
        RecordingSurface surface;
        Calculator calculator(surface);
        EXPECT_EQ(calculator.KeyPress(entry, 'x'), 0);
        EXPECT_EQ(surface.Changes(), std::vector<Call>{blue}) << EntryName(entry);
    }
}

TEST(KeyPress, PointIsSwallowedWhereverTheTextAlreadyHoldsOne) {
    RecordingSurface surface;
    Calculator calculator(surface);
    surface.Fill(Entry::Text3, "3500.");
    EXPECT_EQ(calculator.KeyPress(Entry::Text3, '.'), 0);
    surface.Fill(Entry::Text3, ".3500");
    EXPECT_EQ(calculator.KeyPress(Entry::Text3, '.'), 0);
    // Another entry's point does not count.
    EXPECT_EQ(calculator.KeyPress(Entry::Text2, '.'), '.');
}

TEST(KeyPress, EnterInTheFirstEntryMovesTheFocusOnly) {
    const std::pair<Entry, std::vector<Call>> cases[] = {
        {Entry::Text5, {{Op::FocusEntry, "Text4", ""}, kWageBlue}},
        {Entry::Text2, {{Op::FocusEntry, "Text3", ""}, kBonusBlue}},
    };
    for (const auto &[entry, expected] : cases) {
        RecordingSurface surface;
        Calculator calculator(surface);
        surface.Fill(Entry::Text5, "5000");
        surface.Fill(Entry::Text4, "0");
        surface.Fill(Entry::Text2, "18000");
        surface.Fill(Entry::Text3, "3500");
        EXPECT_EQ(calculator.KeyPress(entry, kEnter), kEnter);
        EXPECT_EQ(surface.Log(), expected);
    }
}

struct GuardCase {
    Entry Second;
    std::string FirstText;
    std::string SecondText;
    bool Calculates;
};

TEST(KeyPress, EnterInTheSecondEntryCalculatesOnlyWhenTheGuardHolds) {
    const GuardCase cases[] = {
        {Entry::Text4, "5000", "0", true},     {Entry::Text4, "", "0", false},
        {Entry::Text4, "5000", "", false},     {Entry::Text4, ".", "0", false},
        {Entry::Text4, "-5000", "0", false},   {Entry::Text4, "5000", "-1", false},
        {Entry::Text4, "5000", "-0", true},    {Entry::Text4, "50 00", "0", false},
        {Entry::Text3, "18000", "3500", true}, {Entry::Text3, "", "3500", false},
        {Entry::Text3, "18000", "", false},    {Entry::Text3, "18000", ".", false},
        {Entry::Text3, "-1", "3500", false},   {Entry::Text3, "18000", "-3500", false},
        {Entry::Text3, "0", "0", true},        {Entry::Text3, "1e4", "3500", false},
    };
    for (const auto &c : cases) {
        const bool wage = c.Second == Entry::Text4;
        const Entry first = wage ? Entry::Text5 : Entry::Text2;
        RecordingSurface surface;
        Calculator calculator(surface);
        surface.Fill(first, c.FirstText);
        surface.Fill(c.Second, c.SecondText);
        EXPECT_EQ(calculator.KeyPress(c.Second, kEnter), kEnter);
        const std::vector<Call> changes = surface.Changes();
        const Call blue = wage ? kWageBlue : kBonusBlue;
        EXPECT_EQ(surface.MessageCount(), 0) << c.FirstText << " / " << c.SecondText;
        ASSERT_FALSE(changes.empty());
        EXPECT_EQ(changes.back(), blue);
        EXPECT_EQ(changes.size() > 1, c.Calculates) << c.FirstText << " / " << c.SecondText;
        if (c.Calculates) {
            EXPECT_EQ(changes.front().Operation, Op::SetCaption);
        }
    }
}

TEST(KeyPress, EnterWithAnEmptyFirstEntryConvertsNothing) {
    RecordingSurface surface;
    Calculator calculator(surface);
    surface.Fill(Entry::Text3, "3500");
    calculator.KeyPress(Entry::Text3, kEnter);
    const std::vector<Call> expected = {
        {Op::ReadEntry, "Text2", ""}, {Op::ReadEntry, "Text3", "3500"}, kBonusBlue};
    EXPECT_EQ(surface.Log(), expected);
}

TEST(KeyPress, EscapeResetsItsOwnPanelThenFocusesItsFirstEntry) {
    const std::pair<Entry, Entry> cases[] = {{Entry::Text5, Entry::Text5},
                                             {Entry::Text4, Entry::Text5},
                                             {Entry::Text2, Entry::Text2},
                                             {Entry::Text3, Entry::Text2}};
    for (const auto &[entry, focus] : cases) {
        RecordingSurface surface;
        Calculator calculator(surface);
        calculator.Load();
        surface.Fill(Entry::Text5, "5000");
        surface.Fill(Entry::Text2, "18001");
        calculator.Wage().Calculate();
        calculator.Bonus().Calculate();
        surface.SetForeColour(Label::Label19, kRed);
        surface.SetForeColour(Label::Label23, kRed);
        surface.ClearLog();

        EXPECT_EQ(calculator.KeyPress(entry, kEscape), kEscape);
        const bool wage = entry == Entry::Text5 || entry == Entry::Text4;
        const std::vector<Call> changes = surface.Changes();
        ASSERT_GE(changes.size(), 2U);
        EXPECT_EQ(changes[changes.size() - 2], (Call{Op::FocusEntry, std::string(EntryName(focus)), ""}));
        EXPECT_EQ(changes.back(), wage ? kWageBlue : kBonusBlue);
        EXPECT_EQ(surface.Focus(), focus);
        // The other panel keeps its entries and results; the bonus reset does turn
        // the wage panel's label blue, as its own reset does.
        if (wage) {
            EXPECT_EQ(surface.Text(Entry::Text5), "");
            EXPECT_EQ(surface.Caption(Label::Label29), "");
            EXPECT_EQ(surface.Text(Entry::Text2), "18001");
            EXPECT_EQ(surface.Caption(Label::Label17), "1695.10 元，税后 16305.90元");
            EXPECT_EQ(surface.ForeColour(Label::Label23), kRed);
        } else {
            EXPECT_EQ(surface.Text(Entry::Text2), "");
            EXPECT_EQ(surface.Caption(Label::Label17), "");
            EXPECT_EQ(surface.Text(Entry::Text5), "5000");
            EXPECT_EQ(surface.Caption(Label::Label29), "325.00 元");
            EXPECT_EQ(surface.ForeColour(Label::Label19), kBlue);
        }
    }
}

TEST(Calculator, LoadResetsTheBonusPanelThenTheWagePanelAndMovesNoFocus) {
    RecordingSurface surface;
    Calculator calculator(surface);
    calculator.Load();
    const std::vector<Call> &log = surface.Log();
    ASSERT_EQ(log.size(), 21U);
    EXPECT_EQ(log.front(), (Call{Op::SetEntryText, "Text2", ""}));
    EXPECT_EQ(log[14], (Call{Op::SetEntryText, "Text5", ""}));
    EXPECT_EQ(surface.Text(Entry::Text3), "3500");
    EXPECT_EQ(surface.Text(Entry::Text4), "0");
    EXPECT_FALSE(surface.Visible(Label::Label14));
    EXPECT_FALSE(surface.Focus().has_value());
}

TEST(Calculator, TypingAWholeWageRoundComputesIt) {
    RecordingSurface surface;
    Calculator calculator(surface);
    calculator.Load();
    Type(calculator, surface, Entry::Text5, u"5000.56\r");
    EXPECT_EQ(surface.Focus(), Entry::Text4);
    Type(calculator, surface, Entry::Text4, u"\b\r");  // "0" deleted: the guard fails
    EXPECT_EQ(surface.Caption(Label::Label29), "");
    Type(calculator, surface, Entry::Text4, u"0\r");
    EXPECT_EQ(surface.Caption(Label::Label29), "325.08 元");
    EXPECT_EQ(surface.Caption(Label::Label26), "280.03");
    EXPECT_EQ(surface.Text(Entry::Text5), "5000.56");
}

}  // namespace
}  // namespace taxcalc
