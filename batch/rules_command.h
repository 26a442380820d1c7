// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include "batch/command.h"

namespace taxcalc {

// `taxcalc-batch rules [YEAR]`: a tax year's rules as a clerk reads them, each with
// the dates it holds between and the document that sets it. The listing itself is
// the engine table's; this declares the command to the help.
class RulesCommand final : public Command {
public:
    std::string_view Name() const noexcept override { return "rules"; }
    std::string Arguments(Language language) const override;
    std::string_view Summary(Language language) const noexcept override;
    std::string Help() const override;
};

}  // namespace taxcalc
