// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "panels/wage_panel.h"

#include <optional>

#include "engine/number_text.h"
#include "engine/showable_figures.h"
#include "engine/tax_engine.h"

namespace taxcalc {
namespace {

constexpr std::string_view kRefusal = "请输入正确的每月薪金及三险一金！";
constexpr std::string_view kPaysLess = "恭喜！您少交个税 ";
constexpr std::string_view kPaysMore = "调整使您多交个税 ";

}  // namespace

void WagePanel::Calculate() {
    const std::optional<Amount> wage = ParseAmount(m_surface.EntryText(Entry::Text5));
    const std::optional<Amount> deductions = ParseAmount(m_surface.EntryText(Entry::Text4));
    if (!wage || !deductions) {
        m_surface.ShowMessage(kRefusal);
        return;
    }
    const WageTaxComparison result = CompareWageTax(*wage, *deductions);
    if (!ShowableFigures(result)) {
        m_surface.ShowMessage(kRefusal);
        return;
    }
    m_surface.SetCaption(Label::Label29, MoneyText(result.Tax2010));
    m_surface.SetCaption(Label::Label28, MoneyText(result.Tax2011));
    m_surface.SetCaption(Label::Label34, result.PaysLess ? kPaysLess : kPaysMore);
    m_surface.SetCaption(Label::Label26, MoneyForm(result.Difference));
    m_surface.SetForeColour(Label::Label19, kBlue);
}

void WagePanel::Reset() {
    m_surface.SetEntryText(Entry::Text5, "");
    m_surface.SetEntryText(Entry::Text4, kDeductionsDefault);
    m_surface.SetCaption(Label::Label29, "");
    m_surface.SetCaption(Label::Label28, "");
    m_surface.SetCaption(Label::Label34, "");
    m_surface.SetCaption(Label::Label26, "");
    m_surface.SetForeColour(Label::Label19, kBlue);
}

}  // namespace taxcalc
