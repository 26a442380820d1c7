// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/planning_modes.h"

#include <initializer_list>
#include <optional>

#include "engine/best_split.h"
#include "engine/number_text.h"
#include "engine/pay_planner.h"

namespace taxcalc {
namespace {

// The amounts in the first cells, in order, with two decimals.
RowOutcome MoneyCells(RowFigures &figures, std::initializer_list<Cents> amounts) {
    std::size_t cell = 0;
    for (const Cents amount : amounts) {
        figures.Cells[cell++] = CentsForm(amount);
    }
    return RowOutcome::Computed;
}

}  // namespace

std::string_view MethodName(BonusMethod method) noexcept {
    return method == BonusMethod::Separate ? "单独计税" : "并入综合所得";
}

RowOutcome GrossBonusRow(const RowInput &input, RowFigures &figures) {
    const PeriodRules &rules = *input.Rules;
    const std::optional<GrossBonus> gross =
        GrossBonusForNet(rules, *input.InCents[0], input.InCents[1].value_or(rules.Allowance));
    if (!gross) {
        return RowOutcome::TooLarge;
    }
    return MoneyCells(figures, {gross->Bonus, gross->Tax, gross->AfterTax});
}

RowOutcome GrossWageRow(const RowInput &input, RowFigures &figures) {
    const std::optional<GrossWage> gross =
        GrossWageForNet(*input.Rules, *input.InCents[0], *input.InCents[1]);
    if (!gross) {
        return RowOutcome::TooLarge;
    }
    return MoneyCells(figures, {gross->Wage, gross->Tax, gross->TakeHome});
}

RowOutcome SplitRow(const RowInput &input, RowFigures &figures) {
    const SplitInput split{*input.InCents[0], *input.InCents[1], *input.InCents[2], *input.InCents[3],
                           input.InCents[4].value_or(0)};
    const std::optional<SplitPlan> plan = BestSplit(*input.Rules, split);
    if (!plan) {
        return RowOutcome::TooLarge;
    }
    if (plan->Outcome == SplitOutcome::MinimumWageAboveShare) {
        figures.RefuseRow(kMinimumWageReason);
        return RowOutcome::Refused;
    }
    // The method column is written from 2019 only.
    figures.Cells[5] = MethodName(plan->Advised.Method);
    figures.Advised = plan->Saving > 0;
    return MoneyCells(figures, {plan->Current.Tax, plan->Wage, plan->Bonus, plan->Advised.Tax, plan->Saving});
}

}  // namespace taxcalc
