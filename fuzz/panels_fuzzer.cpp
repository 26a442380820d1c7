// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Drives both panels through the calculator with arbitrary entry texts and key
// codes. Aborts when a caption shows "nan" or "inf", when a refused attempt writes
// anything but its message, when a key press shows a message, or when a number
// text breaks its form.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/number_text.h"
#include "panels/calculator.h"
#include "panels/key_code.h"
#include "tests/panels/recording_surface.h"

namespace taxcalc {
namespace {

using Op = RecordingSurface::Op;

[[noreturn]] void Fail(const char *what, std::string_view detail) {
    std::fprintf(stderr, "panels_fuzzer: %s: [%.*s]\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

class Reader {
public:
    Reader(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}
    bool Done() const { return m_size == 0; }
    std::uint8_t Byte() {
        if (m_size == 0) {
            return 0;
        }
        --m_size;
        return *m_data++;
    }
    std::uint16_t Word() {
        const std::uint16_t low = Byte();
        return static_cast<std::uint16_t>(low | Byte() << 8);
    }
    std::string Bytes(std::size_t count) {
        std::string text;
        while (count-- > 0 && m_size > 0) {
            text.push_back(static_cast<char>(Byte()));
        }
        return text;
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
};

constexpr Entry kEntries[] = {Entry::Text2, Entry::Text3, Entry::Text4, Entry::Text5};
constexpr std::string_view kNumberAlphabet = "0123456789.-+.0e 5";
constexpr std::uint16_t kKeys[] = {KeyCode::Backspace,
                                   KeyCode::Enter,
                                   KeyCode::Escape,
                                   '.',
                                   '0',
                                   '1',
                                   '5',
                                   '9',
                                   '-',
                                   '+',
                                   'e',
                                   ' ',
                                   0,
                                   0xFF10};

bool ContainsIgnoringCase(std::string_view text, std::string_view word) {
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < word.size() && (text[i + k] | 0x20) == word[k]) {
            ++k;
        }
        if (k == word.size()) {
            return true;
        }
    }
    return false;
}

bool IsDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Money form: -?digits.dd, never "-0.00". Plain form: -?digits(.digits ending in 1-9)?.
void CheckNumberForms(std::string_view text) {
    const auto value = ParseAmount(text);
    const bool outsideGrammar = text.find_first_not_of("0123456789.+-") != std::string_view::npos ||
                                text.find_first_of("0123456789") == std::string_view::npos;
    if (value && outsideGrammar) {
        Fail("a text outside the grammar holds a number", text);
    }
    if (!value) {
        return;
    }
    std::string money = MoneyForm(*value);
    const std::string_view unsignedMoney = money.front() == '-' ? std::string_view(money).substr(1) : money;
    const std::size_t point = unsignedMoney.find('.');
    if (point == std::string_view::npos || point + 3 != unsignedMoney.size() ||
        !IsDigits(unsignedMoney.substr(0, point)) || !IsDigits(unsignedMoney.substr(point + 1)) ||
        money == "-0.00") {
        Fail("money form", money);
    }
    const std::string plain = PlainForm(*value);
    std::string_view unsignedPlain = plain.front() == '-' ? std::string_view(plain).substr(1) : plain;
    const std::size_t plainPoint = unsignedPlain.find('.');
    if (plainPoint != std::string_view::npos) {
        if (!IsDigits(unsignedPlain.substr(plainPoint + 1)) || unsignedPlain.back() == '0') {
            Fail("plain form", plain);
        }
        unsignedPlain = unsignedPlain.substr(0, plainPoint);
    }
    if (!IsDigits(unsignedPlain) || plain == "-0") {
        Fail("plain form", plain);
    }
}

bool IsMoney(std::string_view text, bool mayBeNegative) {
    if (mayBeNegative && !text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    return point != std::string_view::npos && point + 3 == text.size() && IsDigits(text.substr(0, point)) &&
           IsDigits(text.substr(point + 1));
}

bool IsMoneyText(std::string_view text) {
    constexpr std::string_view kYuan = " 元";
    return text.size() > kYuan.size() && text.substr(text.size() - kYuan.size()) == kYuan &&
           IsMoney(text.substr(0, text.size() - kYuan.size()), false);
}

// A calculation writes each figure of its panel as a money text: taxes and the
// difference are never negative, and an empty or malformed figure is a fault.
void CheckFigures(const RecordingSurface::Call &call) {
    bool wellFormed = true;
    if (call.Control == "Label29" || call.Control == "Label28" || call.Control == "Label16" ||
        call.Control == "Label20") {
        wellFormed = IsMoneyText(call.Value);
    } else if (call.Control == "Label26") {
        wellFormed = IsMoney(call.Value, false);
    } else if (call.Control == "Label17") {
        constexpr std::string_view kLink = " 元，税后 ";
        const std::size_t link = call.Value.find(kLink);
        wellFormed = link != std::string::npos && IsMoney(call.Value.substr(0, link), false) &&
                     call.Value.size() > link + kLink.size() + 3 &&
                     IsMoney(std::string_view(call.Value)
                                 .substr(link + kLink.size(), call.Value.size() - link - kLink.size() - 3),
                             true);
    }
    if (!wellFormed) {
        Fail("a figure is malformed", call.Value);
    }
}

// What one step of the run did, judged from the log it left.
void CheckStep(const RecordingSurface &surface, int messagesBefore, bool keyPress) {
    const int messages = surface.MessageCount() - messagesBefore;
    const auto changes = surface.Changes();
    if (keyPress && messages != 0) {
        Fail("a key press showed a message", surface.LastMessage());
    }
    if (messages > 0 && (messages != 1 || changes.size() != 1)) {
        Fail("a refused attempt changed more than its message", surface.LastMessage());
    }
    for (const auto &call : changes) {
        if (call.Operation == Op::SetCaption &&
            (ContainsIgnoringCase(call.Value, "nan") || ContainsIgnoringCase(call.Value, "inf"))) {
            Fail("a caption shows a non-finite figure", call.Value);
        }
        if (call.Operation == Op::SetCaption && !call.Value.empty()) {
            CheckFigures(call);
        }
    }
}

// A calculation that shows no message writes its figures: none is left empty.
void CheckCalculated(const RecordingSurface &surface, int messagesBefore, Label figure) {
    if (surface.MessageCount() == messagesBefore && surface.Caption(figure).empty()) {
        Fail("a calculation wrote an empty figure", LabelName(figure));
    }
}

void Type(Calculator &calculator, RecordingSurface &surface, Entry entry, std::uint16_t code) {
    const std::uint16_t left = calculator.KeyPress(entry, code);
    std::string text = surface.Text(entry);
    if (left == KeyCode::Backspace && !text.empty()) {
        text.pop_back();
    } else if (left >= 0x20 && left < 0x7F) {
        text.push_back(static_cast<char>(left));
    }
    surface.Fill(entry, text);
}

}  // namespace
}  // namespace taxcalc

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace taxcalc;
    Reader input(data, size);
    RecordingSurface surface;
    Calculator calculator(surface);
    calculator.Load();
    for (int step = 0; step < 64 && !input.Done(); ++step) {
        const std::uint8_t op = input.Byte();
        const Entry entry = kEntries[input.Byte() % 4];
        surface.ClearLog();
        const int messagesBefore = surface.MessageCount();
        bool keyPress = false;
        switch (op % 10) {
            case 0: {  // pasted bytes
                const std::string text = input.Bytes(input.Byte() % 40);
                CheckNumberForms(text);
                surface.Fill(entry, text);
                break;
            }
            case 1: {  // pasted number-like text
                std::string text;
                for (std::uint8_t n = input.Byte() % 24; n > 0; --n) {
                    text.push_back(kNumberAlphabet[input.Byte() % kNumberAlphabet.size()]);
                }
                CheckNumberForms(text);
                surface.Fill(entry, text);
                break;
            }
            case 2: {  // a long run of one digit, to reach the ends of the double range
                std::string text =
                    surface.Text(entry) + std::string(input.Word() % 400, '0' + input.Byte() % 10);
                CheckNumberForms(text);
                surface.Fill(entry, text);
                break;
            }
            case 3:
                keyPress = true;
                Type(calculator, surface, entry, kKeys[input.Byte() % std::size(kKeys)]);
                break;
            case 4:
                keyPress = true;
                Type(calculator, surface, entry, input.Word());
                break;
            case 5:
                calculator.Wage().Calculate();
                CheckCalculated(surface, messagesBefore, Label::Label29);
                break;
            case 6:
                calculator.Bonus().Calculate();
                CheckCalculated(surface, messagesBefore, Label::Label17);
                break;
            case 7:
                calculator.Wage().Reset();
                break;
            case 8:
                calculator.Bonus().Reset();
                break;
            default:  // the mouse passes over a promotional label
                surface.SetForeColour(op & 0x10 ? Label::Label19 : Label::Label23, kRed);
                surface.ClearLog();
                break;
        }
        CheckStep(surface, messagesBefore, keyPress);
    }
    return 0;
}
