// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/computation.h"

namespace taxcalc {
namespace {

// Whether the description is the one that computes its mode under `named`.
bool TakesPeriod(const ModeDescription &mode, const PeriodRules *named) noexcept {
    switch (mode.Rules) {
        case RulesUse::None:
        case RulesUse::Fixed:
            return named == nullptr;
        case RulesUse::Window:
            return named == nullptr || named->Id == PeriodId::Y2011;
        case RulesUse::Periods:
            break;
    }
    return true;
}

}  // namespace

std::optional<Computation> Computation::Resolve(BatchMode mode, const PeriodRules *named,
                                                Refusal &why) noexcept {
    // A mode may stand more than once, for different uses of a period; the first
    // description that takes the period computes it.
    for (const ModeDescription &description : ModeDescriptions()) {
        if (description.Mode != mode || !TakesPeriod(description, named)) {
            continue;
        }
        const PeriodRules &period = description.Rules == RulesUse::Fixed ? Rules(description.FixedPeriod)
                                    : named != nullptr                   ? *named
                                                                         : Rules(PeriodId::Y2011);
        const Computation computation(description, period);
        if (!computation.Applies(description.Periods)) {
            why = Refusal::PeriodRefused;
            return std::nullopt;
        }
        return computation;
    }
    why = Refusal::TakesNoPeriod;
    return std::nullopt;
}

std::optional<Computation> Computation::Resolve(BatchMode mode, const PeriodRules *named) noexcept {
    Refusal ignored{};
    return Resolve(mode, named, ignored);
}

std::vector<const PeriodRules *> Computation::ChoosablePeriods(BatchMode mode) {
    std::vector<const PeriodRules *> periods;
    for (const PeriodRules &period : AllPeriods()) {
        if (Resolve(mode, &period)) {
            periods.push_back(&period);
        }
    }
    return periods;
}

bool Computation::Applies(taxcalc::Applies when) const noexcept {
    switch (when) {
        case Applies::Always:
            return true;
        case Applies::WageRule:
            return m_period->WageReducesBonus;
        case Applies::ComprehensiveYear:
            return m_period->ComprehensiveYear;
    }
    return true;
}

}  // namespace taxcalc
