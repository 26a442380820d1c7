// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "batch/command.h"
#include "engine/period_rules.h"
#include "paysheet/computation.h"
#include "paysheet/mode_description.h"
#include "sheet/text_encoding.h"

namespace taxcalc {

// taxcalc-batch MODE [--rules PERIOD] [IN.csv] [-o OUT.csv] [--encoding E]
// [--delimiter D] [--in-place], --help, --version, help [NAME]; taxcalc-batch rules [YEAR].
// "-", or no name, stands for standard input or output; --in-place writes the result
// over IN.csv.
struct CommandLine {
    enum class Action { Run, Help, Version, Rules };

    Action What = Action::Run;
    BatchMode Mode = BatchMode::Bonus;
    std::string Input = "-";
    std::string Output = "-";
    const PeriodRules *Rules = nullptr;               // --rules; nullptr where none is named
    std::optional<Computation> Computing;             // the mode under that period, for a run
    TextEncoding Encoding = TextEncoding::Undecided;  // found from the input unless given
    char Separator = 0;                               // found from the header unless given
    bool InPlace = false;
    const Command *Topic = nullptr;  // for help: the command asked about; nullptr for the general help
    // The tax year whose rules `rules` lists; nothing for the current one.
    std::optional<int> RulesYear;

    // The arguments after the program's name. Fails, saying why in `error`, on an
    // unknown option, mode or period, a missing or repeated one, a period that the mode
    // does not take, or a third file name.
    // "help" alone, or with a command's name, asks for help as --help does.
    static std::optional<CommandLine> Parse(std::span<const std::string_view> arguments, std::string &error);
};

}  // namespace taxcalc
