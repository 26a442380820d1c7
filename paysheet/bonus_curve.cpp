// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/bonus_curve.h"

#include <algorithm>

namespace taxcalc {
namespace {

constexpr Cents kLeastHalfWidth = 100'000;  // 1000 yuan

}  // namespace

BonusCurve BonusCurve::Around(const PeriodRules &rules, Cents bonus, Cents wage, int samples) {
    BonusCurve curve;
    bonus = std::clamp<Cents>(bonus, 0, kMaxCents / 2);
    curve.Bonus = bonus;
    curve.Figures = TaxBonus(rules, bonus, wage);
    // The bonus that a base stands for: the wage's shortfall is paid on top.
    const Cents offset = bonus - curve.Figures.Base;

    const Cents half = std::max(kLeastHalfWidth, bonus * 15 / 100);
    Cents from = bonus - half;
    Cents to = bonus + half;
    for (const CentsZone &zone : BlindZones(rules)) {
        if (zone.Lower < curve.Figures.Base && curve.Figures.Base < zone.Upper) {
            const Cents room = (zone.Upper - zone.Lower) / 2;
            from = std::min(from, zone.Lower + offset - room);
            to = std::max(to, zone.Upper + offset + room);
        }
    }
    curve.From = std::max<Cents>(from, 0);
    curve.To = to;

    std::vector<Cents> bonuses;
    const int steps = std::max(samples, 2) - 1;
    for (int i = 0; i <= steps; ++i) {
        bonuses.push_back(curve.From + (curve.To - curve.From) * i / steps);
    }
    // Both sides of every drop, and the kink where the base turns positive.
    const auto keep = [&](Cents b) {
        if (b >= curve.From && b <= curve.To) {
            bonuses.push_back(b);
        }
    };
    keep(offset);
    for (const CentsZone &zone : BlindZones(rules)) {
        keep(zone.Lower + offset);
        keep(zone.Lower + offset + 1);
        keep(zone.Upper + offset);
        if (zone.Upper + offset > curve.From && zone.Lower + offset < curve.To) {
            curve.Zones.push_back({zone.Lower + offset, zone.Upper + offset});
        }
    }
    keep(bonus);
    if (curve.Figures.InBlindZone) {
        keep(curve.Figures.RecommendedBonus);
    }
    std::sort(bonuses.begin(), bonuses.end());
    bonuses.erase(std::unique(bonuses.begin(), bonuses.end()), bonuses.end());
    for (const Cents b : bonuses) {
        curve.Points.push_back({b, TaxBonus(rules, b, wage).AfterTax});
    }
    return curve;
}

}  // namespace taxcalc
