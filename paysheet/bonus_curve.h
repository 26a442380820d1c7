// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <vector>

#include "engine/period_rules.h"

namespace taxcalc {

// What a bonus leaves after tax over a range of bonuses around one of them, under a
// period's rules and a month's wage: the figures a chart draws, every one of them
// from the engine. The after-tax amount rises in straight lines and drops at each
// bracket edge; the points hold both sides of every drop in range, so that joining
// them draws the cliff where it is.
struct BonusCurve {
    struct Point {
        Cents Bonus;
        Cents AfterTax;
    };
    // A blind zone in bonuses rather than bases; both edges exclusive.
    struct Zone {
        Cents Lower;
        Cents Upper;
    };

    Cents From = 0;
    Cents To = 0;
    std::vector<Point> Points;  // by bonus, From and To included
    std::vector<Zone> Zones;    // those that reach into [From, To]
    Cents Bonus = 0;            // the bonus the curve is drawn around
    PeriodBonus Figures{};      // its tax, after-tax amount and advice

    // A range of about 15 % either side of the bonus, widened to hold the whole zone
    // that the bonus sits in with room either side; `samples` points at least.
    static BonusCurve Around(const PeriodRules &rules, Cents bonus, Cents wage, int samples);
};

}  // namespace taxcalc
