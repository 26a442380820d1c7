// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>

#include "engine/number_text.h"
#include "engine/period_rules.h"
#include "ui/utf8_text.h"

namespace taxcalc {

// A sum of money as the saved file writes it ("1234.50"), for the window's texts.
inline QString Yuan(Cents cents) {
    return FromUtf8(CentsForm(cents));
}

// The same with its whole yuan in groups of three ("12,265,673,043.56"), for a
// total that is read rather than copied.
inline QString GroupedYuan(Cents cents) {
    QString text = Yuan(cents);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const qsizetype first = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    for (qsizetype at = (point < 0 ? text.size() : point) - 3; at > first; at -= 3) {
        text.insert(at, QLatin1Char(','));
    }
    return text;
}

// A count of rows the same way ("400,000").
inline QString GroupedCount(std::uint64_t count) {
    return QLocale(QLocale::Chinese, QLocale::China).toString(static_cast<qulonglong>(count));
}

}  // namespace taxcalc
