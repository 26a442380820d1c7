// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/planning_modes.h"

#include <optional>

#include "engine/best_split.h"
#include "engine/pay_planner.h"

namespace taxcalc {
namespace {


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
    figures.Result = *gross;
    return RowOutcome::Computed;
}

RowOutcome GrossWageRow(const RowInput &input, RowFigures &figures) {
    const std::optional<GrossWage> gross =
        GrossWageForNet(*input.Rules, *input.InCents[0], *input.InCents[1]);
    if (!gross) {
        return RowOutcome::TooLarge;
    }
    figures.Result = *gross;
    return RowOutcome::Computed;
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
    figures.Advised = plan->Saving > 0;
    figures.Result = *plan;
    return RowOutcome::Computed;
}

void WriteSplitMethod(const ModeResult &result, std::string &cell) {
    cell = MethodName(FiguresOf<SplitPlan>(result).Advised.Method);
}

}  // namespace taxcalc
