// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/remuneration_mode.h"

#include <optional>
#include <string>

#include "engine/number_text.h"
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
    auto &cells = figures.Cells;
    cells[0] = CentsForm(tax->Revenue);
    cells[1] = CentsForm(tax->Taxable);
    cells[2] = std::to_string(tax->RatePercent) + "%";
    cells[3] = CentsForm(tax->QuickDeduction);
    cells[4] = CentsForm(tax->Tax);
    cells[5] = CentsForm(tax->AfterTax);
    return RowOutcome::Computed;
}

}  // namespace taxcalc
