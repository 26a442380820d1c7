// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include "batch/command.h"

namespace taxcalc {

// `taxcalc-batch help [NAME]`: the general help, or one command's own.
class HelpCommand final : public Command {
public:
    std::string_view Name() const noexcept override { return "help"; }
    std::string Arguments(Language language) const override;
    std::string_view Summary(Language language) const noexcept override;
    std::string Help() const override;
};

}  // namespace taxcalc
