// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/help_command.h"

#include "batch/batch_help.h"

namespace taxcalc {

std::string HelpCommand::Arguments(Language language) const {
    return language == Language::Chinese ? "[模式]" : "[MODE]";
}

std::string_view HelpCommand::Summary(Language language) const noexcept {
    return language == Language::Chinese
               ? "显示本说明；给出模式时，显示该模式读取的列、列名、缺省值、添加的列、不予计算的情况和一个例"
                 "子"
               : "shows this help; with a mode, the columns it reads, their names and defaults, the "
                 "columns it adds, what it refuses and an example";
}

std::string HelpCommand::Help() const {
    return std::string(BatchHelpText());
}

}  // namespace taxcalc
