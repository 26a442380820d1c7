// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/command.h"

#include <memory>
#include <vector>

#include "batch/help_command.h"
#include "batch/mode_command.h"
#include "batch/rules_command.h"
#include "paysheet/mode_description.h"

namespace taxcalc {
namespace {

struct Registry {
    std::vector<std::unique_ptr<Command>> Owned;
    std::vector<const Command *> Listed;

    Registry() {
        for (const ModeDescription *mode : OfferedModes()) {
            Owned.push_back(std::make_unique<ModeCommand>(mode->Mode));
        }
        Owned.push_back(std::make_unique<HelpCommand>());
        Owned.push_back(std::make_unique<RulesCommand>());
        for (const std::unique_ptr<Command> &command : Owned) {
            Listed.push_back(command.get());
        }
    }
};

const Registry &TheRegistry() {
    static const Registry registry;
    return registry;
}

}  // namespace

std::string Command::UsageLine(Language language) const {
    return std::string(language == Language::Chinese ? "用法：" : "Usage: ") + "taxcalc-batch " +
           std::string(Name()) + " " + Arguments(language);
}

std::span<const Command *const> Command::All() {
    return TheRegistry().Listed;
}

const Command *Command::Named(std::string_view name) {
    for (const Command *command : All()) {
        if (command->Name() == name) {
            return command;
        }
    }
    return nullptr;
}

std::string AsSentence(std::string_view text, Language language) {
    std::string sentence(text);
    if (language == Language::English) {
        if (!sentence.empty() && sentence.front() >= 'a' && sentence.front() <= 'z') {
            sentence.front() = static_cast<char>(sentence.front() - 'a' + 'A');
        }
        return sentence + ".";
    }
    return sentence + "。";
}

std::string CommandNames() {
    std::vector<std::string> names;
    for (const Command *command : Command::All()) {
        names.emplace_back(command->Name());
    }
    return JoinedWithOr(names);
}

}  // namespace taxcalc
