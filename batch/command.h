// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The commands of taxcalc-batch, each declaring itself: its name, what follows the
// name on its usage line, one line of what it does and its own help. The general
// help lists them; `taxcalc-batch help NAME` prints one's own.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace taxcalc {

// The help is written in Chinese first, then in English.
enum class Language { Chinese, English };

class Command {
public:
    Command() = default;
    Command(const Command &) = delete;
    Command &operator=(const Command &) = delete;
    virtual ~Command() = default;

    virtual std::string_view Name() const noexcept = 0;
    // What follows "taxcalc-batch NAME" on the usage line.
    virtual std::string Arguments(Language language) const = 0;
    // One line of what the command does.
    virtual std::string_view Summary(Language language) const noexcept = 0;
    // What `taxcalc-batch help NAME` prints.
    virtual std::string Help() const = 0;
    // What the general help says of the command beyond its summary, in Chinese; empty
    // where its summary says all.
    virtual std::string Overview() const { return {}; }

    // "用法：taxcalc-batch NAME ARGUMENTS" or "Usage: ...", without a line end.
    std::string UsageLine(Language language) const;

    // Every command, in the order the help lists them: each mode as offered, then the
    // others.
    static std::span<const Command *const> All();
    // The command of that name; nullptr where there is none.
    static const Command *Named(std::string_view name);
};

// A summary written as a sentence of its own: an English one begins with a capital,
// and either ends with its language's full stop.
std::string AsSentence(std::string_view text, Language language);

// "bonus、wage、… 或 rules": every command's name, for messages.
std::string CommandNames();

}  // namespace taxcalc
