// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Entry text to amount and amount to text, independent of the locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/period_rules.h"
#include "engine/tax_engine.h"

namespace taxcalc {

// Plain decimal conversion: an optional sign, ASCII digits with at most one ".",
// at least one digit ("12." is 12, ".5" is 0.5). Blanks, exponents, separators,
// "inf", "nan", non-ASCII digits and values that overflow a double hold no number.
std::optional<Amount> ParseAmount(std::string_view text) noexcept;

// "0.00": the 15-significant-digit form rounded at the cent, a half away from zero;
// no thousands separator; a value that shows as zero carries no sign. Finite only.
std::string MoneyForm(Amount amount);

// MoneyForm followed by " 元".
std::string MoneyText(Amount amount);

// At most 15 significant digits, trailing zeros and point dropped, no exponent
// (18000, 18043.22, 18499.995). Finite only.
std::string PlainForm(Amount amount);

enum class CentsStyle {
    TwoDecimals,  // as MoneyForm: "18043.20", "-5.00", "0.00"
    Plain,        // as PlainForm: "18043.2", "18000"
};

// A whole number of cents, written exactly; for every amount that both can write it
// agrees with MoneyForm (TwoDecimals) or PlainForm (Plain) of the same yuan.
std::string CentsForm(Cents cents, CentsStyle style = CentsStyle::TwoDecimals);
// The same at the end of `text`, for a cell that is written row after row.
void AppendCents(std::string &text, Cents cents, CentsStyle style = CentsStyle::TwoDecimals);

}  // namespace taxcalc
