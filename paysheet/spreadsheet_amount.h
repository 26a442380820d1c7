// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <optional>
#include <string_view>

#include "engine/period_rules.h"
#include "engine/tax_engine.h"

namespace taxcalc {

// A figure as a spreadsheet exports it: "108,001.00" from a cell formatted
// #,##0.00, full-width digits from a Chinese input method, " 18001 元". Blanks
// around the number (space, tab, no-break space, ideographic space), thousands
// separators in whole groups of three, full-width digits, point and sign, and a
// trailing 元 are taken; what is left must be the window's plain decimal form.
// The window's entries keep their own stricter filter.
class SpreadsheetAmount {
public:
    enum class Verdict {
        Number,
        Empty,  // nothing but blanks
        NotANumber,
        Grouping,  // separators that are not whole groups of three: "18001,50", "1,23"
        Exponent,  // "1.8E+04": the sheet may already have dropped digits
        TooLarge,  // well formed, but beyond any amount
    };

    // Sets `amount` only for Verdict::Number.
    static Verdict Read(std::string_view text, Amount &amount);

    // The cents of an amount written plainly, as most cells are: ASCII digits, an
    // optional minus and at most two decimals, below 10^13 yuan. Exactly what Read
    // and rounding to the cent give for such a text, without going through a double;
    // nothing for any other text, which takes the long way.
    static std::optional<Cents> PlainCents(std::string_view text) noexcept;

    // What a refused row says of the figure.
    static std::string_view Reason(Verdict verdict) noexcept;
};

}  // namespace taxcalc
