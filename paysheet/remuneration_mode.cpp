// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/remuneration_mode.h"

#include <optional>
#include <string>

#include "engine/remuneration.h"

namespace taxcalc {
namespace {

// An empty 所得项目 is labour remuneration, the most usual payment.
std::optional<RemunerationKind> KindNamed(std::string_view item) noexcept {
    if (item.empty() || item == "劳务报酬") {
        return RemunerationKind::Labour;
    }
    if (item == "稿酬") {
        return RemunerationKind::Author;
    }
    if (item == "特许权使用费") {
        return RemunerationKind::Royalty;
    }
    return std::nullopt;
}

}  // namespace

RowOutcome RemunerationRow(const RowInput &input, RowFigures &figures) {
    const std::optional<RemunerationKind> kind = KindNamed(input.Texts[1]);
    if (!kind) {
        figures.Refuse("所得项目", "应为劳务报酬、稿酬或特许权使用费");
        return RowOutcome::Refused;
    }
    const std::optional<RemunerationTax> tax = PrepayRemuneration(*kind, *input.InCents[0]);
    if (!tax) {
        return RowOutcome::TooLarge;
    }
    figures.Result = *tax;
    return RowOutcome::Computed;
}

}  // namespace taxcalc
