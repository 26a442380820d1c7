// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "panels/bonus_panel.h"

#include <optional>
#include <string>

#include "engine/number_text.h"
#include "engine/showable_figures.h"
#include "engine/tax_engine.h"

namespace taxcalc {
namespace {

constexpr std::string_view kRefusal = "请输入正确的年终奖及当月工资！";
constexpr std::string_view kReasonable = "评价：1、该年终奖合理，无需调整！";

// A text that holds no number is refused exactly like an empty one.
std::optional<Amount> ReadAmount(const std::string &text) noexcept {
    return text.empty() ? std::nullopt : ParseAmount(text);
}

std::string Line2010(const BonusTaxComparison &r) {
    return "2、以2010年九级税率计算，该年终奖需要纳税" + MoneyForm(r.BonusTax2010) + " 元，节省" +
           MoneyForm(r.Saving) + "元！";
}

}  // namespace

void BonusPanel::Calculate() {
    const std::string bonusText = m_surface.EntryText(Entry::Text2);
    const std::string wageText = m_surface.EntryText(Entry::Text3);
    const std::optional<Amount> bonus = ReadAmount(bonusText);
    const std::optional<Amount> wage = ReadAmount(wageText);
    if (!bonus || !wage) {
        m_surface.ShowMessage(kRefusal);
        return;
    }
    const BonusTaxComparison r = CompareBonusTax(*bonus, *wage);
    const BonusAdvice a = AdviseBonus(r.BonusBase2011, *wage);
    // Every figure is checked before the first caption is written, so that a refused
    // attempt leaves the panel exactly as it was.
    if (!ShowableFigures(r, a)) {
        m_surface.ShowMessage(kRefusal);
        return;
    }
    m_surface.SetCaption(Label::Label16, MoneyText(r.BonusTax2010));
    m_surface.SetCaption(Label::Label17,
                         MoneyText(r.BonusTax2011) + "，税后 " + MoneyForm(r.AfterTaxBonus) + "元");
    m_surface.SetCaption(Label::Label20, MoneyText(r.AnnualisedTax));
    m_surface.SetForeColour(Label::Label23, kBlue);
    if (a.InBlindZone) {
        const std::string recommended = PlainForm(a.RecommendedBonus);
        m_surface.SetCaption(Label::Label4, "评价：1、该年终奖建议修改为" + recommended + "元！参考：");
        m_surface.SetCaption(Label::Label5, "年终奖" + recommended + "，税额" + MoneyForm(a.RecommendedTax) +
                                                "，\r\n税后年终奖" + MoneyForm(a.RecommendedAfterTax));
        m_surface.SetForeColour(Label::Label5, kRed);
        m_surface.SetCaption(Label::Label6, Line2010(r));
        m_surface.SetForeColour(Label::Label6, kBlack);
    } else {
        m_surface.SetCaption(Label::Label4, kReasonable);
        m_surface.SetCaption(Label::Label5, Line2010(r));
        m_surface.SetForeColour(Label::Label5, kBlack);
        // Label6 keeps its colour: only the blind-zone outcome sets it.
        m_surface.SetCaption(Label::Label6, "");
    }
}

void BonusPanel::Reset() {
    m_surface.SetEntryText(Entry::Text2, "");
    m_surface.SetEntryText(Entry::Text3, kMonthWageDefault);
    m_surface.SetCaption(Label::Label16, "");
    m_surface.SetCaption(Label::Label17, "");
    m_surface.SetCaption(Label::Label20, "");
    m_surface.SetForeColour(Label::Label23, kBlue);
    m_surface.SetForeColour(Label::Label19, kBlue);
    for (const Label heading : {Label::Label14, Label::Label16, Label::Label18, Label::Label20}) {
        m_surface.SetVisible(heading, false);
    }
    for (const Label line : {Label::Label4, Label::Label5, Label::Label6}) {
        m_surface.SetCaption(line, "");
    }
}

}  // namespace taxcalc
