// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <vector>

#include "batch/command.h"
#include "paysheet/computation.h"
#include "paysheet/mode_description.h"

namespace taxcalc {

// A mode of taxcalc-batch as a command: its help told from its descriptions (the
// columns it reads under each use of a period, their names, defaults and notes, the
// columns it adds, what it refuses, its examples), so that the help cannot disagree
// with what the mode reads and writes.
class ModeCommand final : public Command {
public:
    explicit ModeCommand(BatchMode mode);

    std::string_view Name() const noexcept override { return m_descriptions.front()->Name; }
    std::string Arguments(Language language) const override;
    std::string_view Summary(Language language) const noexcept override;
    std::string Help() const override;
    // The columns read and added, each with its English name, for the general help.
    std::string Overview() const override;

    // Whether the mode takes --rules at all.
    bool TakesPeriods() const { return !Computation::ChoosablePeriods(m_mode).empty(); }

private:
    // One description of the mode with the computations it makes: one for each
    // period it computes, the first for no --rules where it computes that too.
    struct Use {
        const ModeDescription *Description;
        std::vector<Computation> Computations;
        std::vector<const PeriodRules *> Named;  // the periods named with --rules that come here
        bool Unnamed = false;                    // whether no --rules comes here
    };

    std::string UseHeading(const Use &use, Language language) const;
    std::string Columns(const Use &use) const;
    std::string Added(const Use &use) const;
    std::string Refusals() const;
    std::string Examples() const;

    BatchMode m_mode;
    std::vector<const ModeDescription *> m_descriptions;
    std::vector<Use> m_uses;
};

}  // namespace taxcalc
