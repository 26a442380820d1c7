// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "batch/batch_mode.h"

namespace taxcalc {

// taxcalc-batch bonus|wage [IN.csv] [-o OUT.csv], --help, --version. "-", or no name,
// stands for standard input or output.
struct CommandLine {
    enum class Action { Run, Help, Version };

    Action What = Action::Run;
    BatchMode Mode = BatchMode::Bonus;
    std::string Input = "-";
    std::string Output = "-";

    // The arguments after the program's name. Fails, saying why in `error`, on an
    // unknown option or mode, a missing or repeated one, or a third file name.
    static std::optional<CommandLine> Parse(std::span<const std::string_view> arguments, std::string &error);

    static std::string_view HelpText() noexcept;
};

}  // namespace taxcalc
