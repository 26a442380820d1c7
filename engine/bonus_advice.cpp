// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "engine/tax_engine.h"

namespace taxcalc {

BonusAdvice AdviseBonus(Amount base2011, Amount wage) noexcept {
    if (base2011 < 0) {
        return {false, 0, 0, 0};
    }
    // What BonusBase took off the bonus for the 2011 base, so that shortfall + Lower
    // is the bonus whose base sits exactly on the zone's lower edge.
    const Amount allowance = kSchedule2011.Allowance;
    const Amount shortfall = wage < allowance ? allowance - wage : 0;
    for (const BlindZone &zone : kBlindZones) {
        if (zone.Lower < base2011 && base2011 < zone.Upper) {
            const Amount recommended = shortfall + zone.Lower;
            return {true, recommended, zone.TaxAtLower, recommended - zone.TaxAtLower};
        }
    }
    return {false, 0, 0, 0};
}

}  // namespace taxcalc
