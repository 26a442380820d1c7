// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/mode_description.h"

#include <vector>

#include "engine/number_text.h"
#include "engine/showable_figures.h"
#include "paysheet/planning_modes.h"
#include "paysheet/reconciliation_mode.h"
#include "paysheet/remuneration_mode.h"
#include "paysheet/withholding_mode.h"

namespace taxcalc {
namespace {

constexpr std::string_view kYes = "是";
constexpr std::string_view kNo = "否";

// --- bonus, as the window computes it (no --rules, or --rules 2011) ---

constexpr std::array<InputColumn, 2> kWindowBonusInputs{{
    {"年终奖", "bonus", ColumnDefault::Required},
    {"当月工资", "wage", ColumnDefault::Allowance},
}};
// The cells of the advice, written only for a bonus in a blind zone.
template <auto Member, std::string (*Form)(Amount)>
void WindowAdviceCell(const ModeResult &result, std::string &cell) {
    const BonusAdvice &advice = FieldOf<&WindowBonusFigures::Advice>(result);
    if (advice.InBlindZone) {
        cell = Form(advice.*Member);
    }
}

template <auto Member>
void WindowMoneyCell(const ModeResult &result, std::string &cell) {
    cell = MoneyForm(FieldOf<&WindowBonusFigures::Tax, Member>(result));
}

constexpr std::array<AddedColumn, 8> kWindowBonusAdded{{
    {.Header = "2011年终奖个税",
     .Role = ColumnRole::Tax,
     .Write = WindowMoneyCell<&BonusTaxComparison::BonusTax2011>},
    {.Header = "税后年终奖", .Write = WindowMoneyCell<&BonusTaxComparison::AfterTaxBonus>},
    {.Header = "是否盲区",
     .Write =
         [](const ModeResult &result, std::string &cell) {
             cell = FieldOf<&WindowBonusFigures::Advice, &BonusAdvice::InBlindZone>(result) ? kYes : kNo;
         }},
    {.Header = "建议年终奖",
     .Role = ColumnRole::Advice,
     .Write = WindowAdviceCell<&BonusAdvice::RecommendedBonus, PlainForm>},
    {.Header = "建议税额",
     .Role = ColumnRole::AdvisedTax,
     .Write = WindowAdviceCell<&BonusAdvice::RecommendedTax, MoneyForm>},
    {.Header = "建议税后年终奖",
     .Role = ColumnRole::Advice,
     .Write = WindowAdviceCell<&BonusAdvice::RecommendedAfterTax, MoneyForm>},
    {.Header = "2010方法个税", .Write = WindowMoneyCell<&BonusTaxComparison::BonusTax2010>},
    {.Header = "节省", .Write = WindowMoneyCell<&BonusTaxComparison::Saving>},
}};

RowOutcome WindowBonus(const RowInput &input, RowFigures &figures) {
    const Amount bonus = *input.Amounts[0];
    const Amount wage = *input.Amounts[1];
    const BonusTaxComparison tax = CompareBonusTax(bonus, wage);
    const BonusAdvice advice = AdviseBonus(tax.BonusBase2011, wage);
    if (!ShowableFigures(tax, advice)) {
        return RowOutcome::TooLarge;
    }
    figures.Advised = advice.InBlindZone;
    figures.Result = WindowBonusFigures{tax, advice};
    return RowOutcome::Computed;
}

// --- bonus under the rules of a period, in whole cents ---

constexpr std::size_t kAnnualTaxableInput = 2;
constexpr std::array<InputColumn, 3> kPeriodBonusInputs{{
    {"年终奖", "bonus", ColumnDefault::Required},
    {"当月工资", "wage", ColumnDefault::Allowance, Applies::WageRule},
    // The year's comprehensive taxable income without the bonus.
    {.Chinese = "全年应纳税所得额",
     .English = "annual_taxable",
     .Default = ColumnDefault::Optional,
     .When = Applies::ComprehensiveYear,
     .Note = {"全年综合所得的应纳税所得额，不含年终奖；有此列时比较年终奖单独计税与并入综合所得",
              "the year's comprehensive taxable income without the bonus; given, the bonus taxed on its "
              "own is weighed against joining it"}},
}};
// The cells of the advice, written only for a bonus in a blind zone.
template <auto Member, CentsStyle Style = CentsStyle::TwoDecimals>
void PeriodAdviceCell(const ModeResult &result, std::string &cell) {
    const taxcalc::PeriodBonus &tax = FieldOf<&PeriodBonusFigures::Tax>(result);
    if (tax.InBlindZone) {
        cell = CentsForm(tax.*Member, Style);
    }
}

// The cells of the method, written where the year's taxable income is given.
void CombinedIncreaseCell(const ModeResult &result, std::string &cell) {
    const PeriodBonusFigures &figures = FiguresOf<PeriodBonusFigures>(result);
    if (figures.Chosen) {
        cell = CentsForm(figures.Choice.CombinedIncrease);
    }
}

void AdvisedMethodCell(const ModeResult &result, std::string &cell) {
    const PeriodBonusFigures &figures = FiguresOf<PeriodBonusFigures>(result);
    if (figures.Chosen) {
        cell = MethodName(figures.Choice.Advised);
    }
}

constexpr std::array<AddedColumn, 8> kPeriodBonusAdded{{
    {.Header = "年终奖个税",
     .Role = ColumnRole::Tax,
     .Write = CentsCell<&PeriodBonusFigures::Tax, &PeriodBonus::Tax>},
    {.Header = "税后年终奖", .Write = CentsCell<&PeriodBonusFigures::Tax, &PeriodBonus::AfterTax>},
    {.Header = "是否盲区",
     .Write =
         [](const ModeResult &result, std::string &cell) {
             cell = FieldOf<&PeriodBonusFigures::Tax, &PeriodBonus::InBlindZone>(result) ? kYes : kNo;
         }},
    {.Header = "建议年终奖",
     .Role = ColumnRole::Advice,
     .Write = PeriodAdviceCell<&PeriodBonus::RecommendedBonus, CentsStyle::Plain>},
    {.Header = "建议税额",
     .Role = ColumnRole::AdvisedTax,
     .Write = PeriodAdviceCell<&PeriodBonus::RecommendedTax>},
    {.Header = "建议税后年终奖",
     .Role = ColumnRole::Advice,
     .Write = PeriodAdviceCell<&PeriodBonus::RecommendedAfterTax>},
    {.Header = "并入综合所得增加个税",
     .When = Applies::ComprehensiveYear,
     .NeedsInput = kAnnualTaxableInput,
     .Write = CombinedIncreaseCell},
    {.Header = "建议计税方式",
     .When = Applies::ComprehensiveYear,
     .NeedsInput = kAnnualTaxableInput,
     .Role = ColumnRole::Advice,
     .Write = AdvisedMethodCell},
}};

RowOutcome PeriodBonus(const RowInput &input, RowFigures &figures) {
    const PeriodRules &rules = *input.Rules;
    const Cents bonus = *input.InCents[0];
    const Cents wage = input.InCents[1].value_or(rules.Allowance);
    PeriodBonusFigures result{TaxBonus(rules, bonus, wage), {}, false};
    if (const std::optional<Cents> annual = input.InCents[kAnnualTaxableInput]) {
        result.Choice = ChooseBonusMethod(result.Tax.Tax, bonus, *annual);
        result.Chosen = true;
    }
    figures.Advised = result.Tax.InBlindZone;
    figures.Result = result;
    return RowOutcome::Computed;
}

// --- wage, as the window compares the two schedules ---

constexpr std::array<InputColumn, 2> kWageInputs{{
    {"每月薪金", "wage", ColumnDefault::Required},
    {"三险一金", "deductions", ColumnDefault::Zero},
}};
template <auto Member>
void WageMoneyCell(const ModeResult &result, std::string &cell) {
    cell = MoneyForm(FieldOf<Member>(result));
}

constexpr std::array<AddedColumn, 4> kWageAdded{{
    {.Header = "调整前需纳税", .Write = WageMoneyCell<&WageTaxComparison::Tax2010>},
    {.Header = "调整后需纳税", .Role = ColumnRole::Tax, .Write = WageMoneyCell<&WageTaxComparison::Tax2011>},
    {.Header = "结果",
     .Write =
         [](const ModeResult &result, std::string &cell) {
             cell = FieldOf<&WageTaxComparison::PaysLess>(result) ? "少交" : "多交";
         }},
    {.Header = "差额", .Write = WageMoneyCell<&WageTaxComparison::Difference>},
}};

RowOutcome WindowWage(const RowInput &input, RowFigures &figures) {
    const WageTaxComparison tax = CompareWageTax(*input.Amounts[0], *input.Amounts[1]);
    if (!ShowableFigures(tax)) {
        return RowOutcome::TooLarge;
    }
    figures.Result = tax;
    return RowOutcome::Computed;
}

// A mode may appear more than once, for different uses of a period; Computation takes
// the first that fits.
// --- what the help says of these three ---

constexpr Wording kBonusSummary{"年终奖的个税和税后金额，是否落在盲区，落在盲区时建议发多少",
                                "a year-end bonus's tax and what it leaves, whether it falls in a blind "
                                "zone, and the bonus to pay instead if it does"};
constexpr std::array<Wording, 2> kWindowBonusNotes{{
    {"与计算器窗口的年终奖一栏相同，并与旧方法的个税比较。",
     "The figures of the calculator window's bonus panel, beside the tax by the older method."},
    {"落在盲区的年终奖，多发的部分所缴的税比它本身还多；建议年终奖是盲区的下沿，税后反而更多。",
     "In a blind zone the tax grows faster than the bonus: the advised bonus, at the zone's lower "
     "edge, leaves more after tax."},
}};
constexpr std::array<Wording, 1> kPeriodBonusNotes{{
    {"按发放日所在时期的年终奖规则计算；落在盲区时建议盲区下沿的年终奖。",
     "By the bonus rules of the period of the pay date; in a blind zone the bonus at the zone's lower "
     "edge is advised."},
}};
constexpr ModeExample kWindowBonusExample{
    .Input =
        "姓名,年终奖,当月工资\n"
        "张三,18001,3500\n"
        "李四,18000,\n",
    .Output =
        "姓名,年终奖,当月工资,2011年终奖个税,税后年终奖,是否盲区,建议年终奖,建议税额,建议税后年终奖,"
        "2010方法个税,节省,错误\n"
        "张三,18001,3500,1695.10,16305.90,是,18000,540.00,17460.00,1775.10,80.00,\n"
        "李四,18000,,540.00,17460.00,否,,,,1775.00,1235.00,\n",
};
constexpr ModeExample kPeriodBonusExample{
    .Rules = PeriodId::Y2019,
    .Input =
        "姓名,年终奖,全年应纳税所得额\n"
        "张三,36001,\n"
        "李四,36000,100000\n",
    .Output =
        "姓名,年终奖,全年应纳税所得额,年终奖个税,税后年终奖,是否盲区,建议年终奖,建议税额,建议税后年终奖,"
        "并入综合所得增加个税,建议计税方式,错误\n"
        "张三,36001,,3390.10,32610.90,是,36000,1080.00,34920.00,,,\n"
        "李四,36000,100000,1080.00,34920.00,否,,,,3600.00,单独计税,\n",
};
constexpr std::array<Wording, 1> kWageNotes{{
    {"与计算器窗口的工资一栏相同：调整前后两种税表的个税，以及调整后少交或多交多少。",
     "The figures of the calculator window's wage panel: the tax by the schedules before and after the "
     "reform, and how much less or more is paid after it."},
}};
constexpr ModeExample kWageExample{
    .Input =
        "姓名,每月薪金,三险一金\n"
        "张三,8000,1000\n",
    .Output =
        "姓名,每月薪金,三险一金,调整前需纳税,调整后需纳税,结果,差额,错误\n"
        "张三,8000,1000,625.00,245.00,少交,380.00,\n",
};

constexpr ModeDescription kWindowBonusMode{
    .Mode = BatchMode::Bonus,
    .Name = "bonus",
    .Title = "年终奖",
    .Rules = RulesUse::Window,
    .Inputs = kWindowBonusInputs,
    .Added = kWindowBonusAdded,
    .Compute = WindowBonus,
    .EnglishTitle = "year-end bonus",
    .Summary = kBonusSummary,
    .Notes = kWindowBonusNotes,
    .Example = kWindowBonusExample,
};
constexpr ModeDescription kPeriodBonusMode{
    .Mode = BatchMode::Bonus,
    .Name = "bonus",
    .Title = "年终奖",
    .Rules = RulesUse::Periods,
    .Inputs = kPeriodBonusInputs,
    .Added = kPeriodBonusAdded,
    .Compute = PeriodBonus,
    .EnglishTitle = "year-end bonus",
    .Summary = kBonusSummary,
    .Notes = kPeriodBonusNotes,
    .Example = kPeriodBonusExample,
};
constexpr ModeDescription kWageMode{
    .Mode = BatchMode::Wage,
    .Name = "wage",
    .Title = "工资",
    .Rules = RulesUse::None,
    .Inputs = kWageInputs,
    .Added = kWageAdded,
    .Compute = WindowWage,
    .EnglishTitle = "monthly wage",
    .Summary = {"一个月的工资按调整前后两种税表的个税，以及少交或多交多少",
                "a month's wage taxed by the schedules before and after the reform, and the difference"},
    .Notes = kWageNotes,
    .Example = kWageExample,
};

constexpr std::array<ModeDescription, 9> kModes{{
    kWindowBonusMode,
    kPeriodBonusMode,
    kWageMode,
    kGrossBonusMode,
    kGrossWageMode,
    kSplitMode,
    kWithholdMode,
    kRemunerationMode,
    kReconcileMode,
}};

constexpr bool Fits(const ModeDescription &mode) {
    if (mode.Inputs.size() > RowInput::kMaxInputs || mode.Added.size() > RowFigures::kMaxCells) {
        return false;
    }
    for (const AddedColumn &added : mode.Added) {
        // Every column writes its cell from the mode's result. A checked build with
        // the address sanitizer does not take a function's address as a constant, so
        // the check is made where the compiler can make it.
#ifndef __SANITIZE_ADDRESS__
        if (added.Write == nullptr) {
            return false;
        }
#endif
        if (added.NeedsInput && (*added.NeedsInput >= mode.Inputs.size() ||
                                 mode.Inputs[*added.NeedsInput].Default != ColumnDefault::Optional)) {
            return false;
        }
    }
    return !mode.Inputs.empty();
}

static_assert([] {
    for (const ModeDescription &mode : kModes) {
        if (!Fits(mode)) {
            return false;
        }
    }
    return true;
}());

// Every mode says what it is, and shows itself at work at its first description.
static_assert([] {
    for (std::size_t i = 0; i < kModes.size(); ++i) {
        const ModeDescription &mode = kModes[i];
        const bool first = i == 0 || kModes[i - 1].Mode != mode.Mode;
        if (mode.EnglishTitle.empty() || mode.Summary.Chinese.empty() || mode.Summary.English.empty() ||
            (first && mode.Example.Input.empty())) {
            return false;
        }
    }
    return true;
}());

}  // namespace

std::optional<BatchMode> ModeNamed(std::string_view name) noexcept {
    for (const ModeDescription &mode : kModes) {
        if (mode.Name == name) {
            return mode.Mode;
        }
    }
    return std::nullopt;
}

std::span<const ModeDescription> ModeDescriptions() noexcept {
    return kModes;
}

std::vector<const ModeDescription *> OfferedModes() {
    std::vector<const ModeDescription *> offered;
    for (const ModeDescription &mode : kModes) {
        if (offered.empty() || offered.back()->Mode != mode.Mode) {
            offered.push_back(&mode);
        }
    }
    return offered;
}

std::string JoinedWithOr(std::span<const std::string> items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            text += i + 1 == items.size() ? " 或 " : "、";
        }
        text += items[i];
    }
    return text;
}

std::string ModeNames() {
    std::vector<std::string> names;
    for (const ModeDescription *mode : OfferedModes()) {
        names.emplace_back(mode->Name);
    }
    return JoinedWithOr(names);
}

std::string ModeNamesTakingPeriods() {
    std::vector<std::string> names;
    for (const ModeDescription &mode : kModes) {
        const bool takes = mode.Rules == RulesUse::Window || mode.Rules == RulesUse::Periods;
        if (takes && (names.empty() || names.back() != mode.Name)) {
            names.emplace_back(mode.Name);
        }
    }
    return JoinedWithOr(names);
}

std::string PeriodNames() {
    std::vector<std::string> names;
    for (const PeriodRules &rules : AllPeriods()) {
        names.push_back(std::string(rules.Name) + "（发放日 " + std::string(rules.FirstDay) + " 至 " +
                        std::string(rules.LastDay) + "）");
    }
    return JoinedWithOr(names);
}

}  // namespace taxcalc
