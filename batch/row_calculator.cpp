// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "batch/row_calculator.h"

#include <optional>
#include <utility>

#include "engine/tax_engine.h"
#include "panels/number_text.h"
#include "panels/showable_figures.h"

namespace taxcalc {
namespace {

constexpr std::array<std::string_view, 8> kBonusHeaders{
    "2011年终奖个税", "税后年终奖",     "是否盲区",     "建议年终奖",
    "建议税额",       "建议税后年终奖", "2010方法个税", "节省",
};
constexpr std::array<std::string_view, 4> kWageHeaders{"调整前需纳税", "调整后需纳税", "结果", "差额"};

// What the panels' entries hold after a reset.
constexpr Amount kDefaultWage = 3500;
constexpr Amount kDefaultDeductions = 0;

constexpr std::string_view kEmptyReason = "空白";
constexpr std::string_view kNotANumberReason = "不是数字";
constexpr std::string_view kTooLargeReason = "数额过大，无法计算";

}  // namespace

RowCalculator::RowCalculator(BatchMode mode, std::string firstName, std::string secondName)
    : m_mode(mode), m_firstName(std::move(firstName)), m_secondName(std::move(secondName)) {}

std::span<const std::string_view> RowCalculator::ComputedHeaders(BatchMode mode) noexcept {
    if (mode == BatchMode::Bonus) {
        return kBonusHeaders;
    }
    return kWageHeaders;
}

bool RowCalculator::Compute(std::string_view first, std::string_view second, RowFigures &figures) const {
    figures.Clear();
    std::optional<Amount> firstAmount;
    if (first.empty()) {
        figures.Refuse(m_firstName, kEmptyReason);
    } else if (firstAmount = ParseAmount(first); !firstAmount) {
        figures.Refuse(m_firstName, kNotANumberReason);
    }
    std::optional<Amount> secondAmount = m_mode == BatchMode::Bonus ? kDefaultWage : kDefaultDeductions;
    if (!second.empty()) {
        secondAmount = ParseAmount(second);
        if (!secondAmount) {
            figures.Refuse(m_secondName, kNotANumberReason);
        }
    }
    if (!figures.Error.empty()) {
        return false;
    }
    const bool computed = m_mode == BatchMode::Bonus ? ComputeBonus(*firstAmount, *secondAmount, figures)
                                                     : ComputeWage(*firstAmount, *secondAmount, figures);
    if (!computed) {
        figures.Refuse(m_firstName + "、" + m_secondName, kTooLargeReason);
    }
    return computed;
}

bool RowCalculator::ComputeBonus(Amount bonus, Amount wage, RowFigures &figures) const {
    const BonusTaxComparison tax = CompareBonusTax(bonus, wage);
    const BonusAdvice advice = AdviseBonus(tax.BonusBase2011, wage);
    if (!ShowableFigures(tax, advice)) {
        return false;
    }
    auto &cells = figures.Cells;
    cells[0] = MoneyForm(tax.BonusTax2011);
    cells[1] = MoneyForm(tax.AfterTaxBonus);
    cells[2] = advice.InBlindZone ? "是" : "否";
    if (advice.InBlindZone) {
        cells[3] = PlainForm(advice.RecommendedBonus);
        cells[4] = MoneyForm(advice.RecommendedTax);
        cells[5] = MoneyForm(advice.RecommendedAfterTax);
    }
    cells[6] = MoneyForm(tax.BonusTax2010);
    cells[7] = MoneyForm(tax.Saving);
    return true;
}

bool RowCalculator::ComputeWage(Amount wage, Amount deductions, RowFigures &figures) const {
    const WageTaxComparison tax = CompareWageTax(wage, deductions);
    if (!ShowableFigures(tax)) {
        return false;
    }
    auto &cells = figures.Cells;
    cells[0] = MoneyForm(tax.Tax2010);
    cells[1] = MoneyForm(tax.Tax2011);
    cells[2] = tax.PaysLess ? "少交" : "多交";
    cells[3] = MoneyForm(tax.Difference);
    return true;
}

}  // namespace taxcalc
