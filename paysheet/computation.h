// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "engine/period_rules.h"
#include "paysheet/mode_description.h"

namespace taxcalc {

// A mode and the period its rows are computed under, worked out once from what the
// user chose. The column map, the row calculator and the window all take it, so that
// none of them has to know which modes take which periods. Copied freely: it points
// into constant tables only.
class Computation {
public:
    // Why a mode cannot be computed under the period asked for.
    enum class Refusal {
        TakesNoPeriod,  // the mode has one set of schedules (or only the window's)
        PeriodRefused,  // the mode has no figures under that period: see PeriodRefusal
    };

    // The mode under the period the user named; nullptr where none was named, which
    // means the window's own methods where the mode has them, else the 2011 period.
    static std::optional<Computation> Resolve(BatchMode mode, const PeriodRules *named,
                                              Refusal &why) noexcept;
    // The same for a caller that has no use for the reason.
    static std::optional<Computation> Resolve(BatchMode mode, const PeriodRules *named = nullptr) noexcept;

    // The periods that the user may choose for the mode, oldest first; empty for a
    // mode that takes none.
    static std::vector<const PeriodRules *> ChoosablePeriods(BatchMode mode);

    const ModeDescription &Mode() const noexcept { return *m_mode; }
    BatchMode Kind() const noexcept { return m_mode->Mode; }
    // The rules the rows are computed by. The window's own methods are those of 2011,
    // computed in the window's doubles and number forms rather than in cents; a mode
    // of today's rules has its one period.
    const PeriodRules &Period() const noexcept { return *m_period; }
    bool WindowMethods() const noexcept {
        return m_mode->Rules == RulesUse::None || m_mode->Rules == RulesUse::Window;
    }

    // Whether a column marked `when` is read or written.
    bool Applies(taxcalc::Applies when) const noexcept;

    bool operator==(const Computation &other) const noexcept = default;

private:
    Computation(const ModeDescription &mode, const PeriodRules &period) : m_mode(&mode), m_period(&period) {}

    const ModeDescription *m_mode;
    const PeriodRules *m_period;
};

}  // namespace taxcalc
