// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The rules of the individual income tax on comprehensive income since 2019, as one
// table of dated rules: each under the name the law gives it, with the days it holds
// between and the document that sets it. Every amount, rate and year that the
// computations and their messages use comes from here; what can be derived from
// another rule is derived and checked at compile time. The year-end bonus periods
// before 2019 stay in period_rules.h, with their own dates.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/period_rules.h"
#include "engine/tax_engine.h"

namespace taxcalc {

// The last year of a rule that holds until the law changes it.
inline constexpr int kOpenYear = 9999;

namespace law {

// 减除费用: 5000 yuan a month, counted month by month in withholding; the year's
// comprehensive income deducts 60000 (个人所得税法 第六条).
inline constexpr Cents kAllowanceMonth = 500'000;
inline constexpr Cents kAllowanceYear = kAllowanceMonth * kMonthsPerYear;
static_assert(kAllowanceYear == 6'000'000);

// 综合所得税率表, as the law sets it for a year's taxable income: each row's bound,
// rate and quick deduction.
inline constexpr std::array<CentsBracket, 7> kComprehensiveYearTable{{
    {3'600'000, 3, 0},
    {14'400'000, 10, 252'000},
    {30'000'000, 20, 1'692'000},
    {42'000'000, 25, 3'192'000},
    {66'000'000, 30, 5'292'000},
    {96'000'000, 35, 8'592'000},
    {kNoBoundCents, 45, 18'192'000},
}};

// 按月换算后的综合所得税率表: the year table with every bound and quick deduction a
// twelfth as large (3000 ... 80000, 210 ... 15160), as 财税〔2018〕164号 converts it.
inline constexpr std::array<CentsBracket, 7> kComprehensiveMonthTable = [] {
    std::array<CentsBracket, 7> monthly = kComprehensiveYearTable;
    for (std::size_t i = 0; i < monthly.size(); ++i) {
        if (i + 1 < monthly.size()) {
            monthly[i].UpperBound /= kMonthsPerYear;
        }
        monthly[i].QuickDeduction /= kMonthsPerYear;
    }
    return monthly;
}();

// 个人所得税预扣率表二 (劳务报酬所得适用), of one payment's taxable amount.
inline constexpr std::array<CentsBracket, 3> kLabourPrepaymentTable{{
    {2'000'000, 20, 0},
    {5'000'000, 30, 200'000},
    {kNoBoundCents, 40, 700'000},
}};

// The costs of one payment of remuneration in withholding: 800 yuan up to 4000, 20%
// above; the year's comprehensive income takes 20% of every payment.
inline constexpr Cents kFlatCostLimit = 400'000;
inline constexpr Cents kFlatCost = 80'000;
inline constexpr int kCostPercent = 20;
inline constexpr int kRevenuePercent = 100 - kCostPercent;
// 稿酬所得的收入额减按百分之七十计算.
inline constexpr int kAuthorRevenuePercent = 70;
// In the year's income author's remuneration thus counts at 80% x 70%, taken once.
inline constexpr int kAuthorYearPercent = kRevenuePercent * kAuthorRevenuePercent / 100;
static_assert(kRevenuePercent * kAuthorRevenuePercent % 100 == 0 && kAuthorYearPercent == 56);
// 稿酬所得、特许权使用费所得适用百分之二十的比例预扣率.
inline constexpr int kProportionalPrepaymentPercent = 20;

// 年度汇算: a payment is waived where the year's income is at most this, or the
// payment at most kWaivedPayment.
inline constexpr Cents kWaivedIncome = 12'000'000;
inline constexpr Cents kWaivedPayment = 40'000;

// 商业健康保险: deducted up to 2400 yuan a year, 200 a month.
inline constexpr Cents kHealthInsuranceYear = 240'000;
inline constexpr Cents kHealthInsuranceMonth = kHealthInsuranceYear / kMonthsPerYear;
static_assert(kHealthInsuranceMonth * kMonthsPerYear == kHealthInsuranceYear &&
              kHealthInsuranceMonth == 20'000);

// 个人养老金: deducted up to 12000 yuan a year.
inline constexpr Cents kPersonalPensionYear = 1'200'000;

}  // namespace law

// Every rule of the table, by what it rules on. A rule whose amounts changed has one
// row for each span of years.
enum class LawRuleId : std::uint8_t {
    Allowance,                // 减除费用
    ComprehensiveYearTable,   // 综合所得税率表
    ComprehensiveMonthTable,  // 按月换算后的综合所得税率表
    CumulativeWithholding,    // 累计预扣法
    SixtyThousand,            // 按6万元减除
    FirstJob,                 // 年内首次取得工资
    LabourPrepaymentTable,    // 预扣率表二
    RemunerationCosts,        // 劳务报酬、稿酬、特许权使用费的费用
    AuthorRevenue,            // 稿酬所得的收入额
    ProportionalPrepayment,   // 稿酬、特许权使用费的比例预扣率
    BonusSeparateTaxation,    // 全年一次性奖金单独计税
    ReconciliationWaiver,     // 年度汇算免予补税
    HealthInsurance,          // 商业健康保险
    PersonalPension,          // 个人养老金
    ChildEducation,           // 子女教育
    InfantCare,               // 3岁以下婴幼儿照护
    ElderlySupport,           // 赡养老人
    ContinuingEducation,      // 继续教育
    MortgageInterest,         // 住房贷款利息
    HousingRent,              // 住房租金
    SeriousIllness,           // 大病医疗
};
inline constexpr std::size_t kLawRuleIds = static_cast<std::size_t>(LawRuleId::SeriousIllness) + 1;

// One amount or rate of a rule, as a clerk reads it: "每月 5000 元".
struct LawValue {
    enum class Unit : std::uint8_t { Cents, Percent };
    std::string_view What;  // "每月", "每名子女每月", ...
    std::int64_t Value;     // cents or percent, as Kind says
    Unit Kind = Unit::Cents;
};

struct LawRule {
    LawRuleId Id;
    std::string_view Name;          // as the law names it
    std::string_view FirstDay;      // it holds from this day...
    std::string_view LastDay = {};  // ...to this day, both included; empty while it holds
    std::string_view Source;        // the documents that set it
    std::span<const LawValue> Values = {};
    std::span<const CentsBracket> Table = {};
    std::string_view TableOf = {};  // the figure the table's bounds are of
    std::string_view Note = {};     // how it applies, in a clerk's words; may be empty
    std::string_view Ended = {};    // what holds once it has ended, for a rule that ends

    // The tax years in which it holds, for part of the year or all of it.
    constexpr int FirstYear() const noexcept { return YearOf(FirstDay); }
    constexpr int LastYear() const noexcept { return LastDay.empty() ? kOpenYear : YearOf(LastDay); }
    constexpr bool HoldsIn(int year) const noexcept { return FirstYear() <= year && year <= LastYear(); }

private:
    static constexpr int YearOf(std::string_view day) noexcept {
        int year = 0;
        for (std::size_t i = 0; i < 4 && i < day.size(); ++i) {
            year = year * 10 + (day[i] - '0');
        }
        return year;
    }
};

namespace law {

inline constexpr std::array<LawValue, 2> kAllowanceValues{{
    {"每月", kAllowanceMonth},
    {"每年", kAllowanceYear},
}};
inline constexpr std::array<LawValue, 1> kSixtyThousandValues{{{"自 1 月起累计减除", kAllowanceYear}}};
inline constexpr std::array<LawValue, 4> kRemunerationCostValues{{
    {"每次收入的分界", kFlatCostLimit},
    {"每次收入不超过分界的，减除费用", kFlatCost},
    {"每次收入超过分界的，减除费用占收入", kCostPercent, LawValue::Unit::Percent},
    {"年度汇算中的收入额占收入", kRevenuePercent, LawValue::Unit::Percent},
}};
inline constexpr std::array<LawValue, 2> kAuthorRevenueValues{{
    {"收入额减按", kAuthorRevenuePercent, LawValue::Unit::Percent},
    {"年度汇算中的收入额占收入", kAuthorYearPercent, LawValue::Unit::Percent},
}};
inline constexpr std::array<LawValue, 1> kProportionalValues{
    {{"比例预扣率", kProportionalPrepaymentPercent, LawValue::Unit::Percent}}};
inline constexpr std::array<LawValue, 2> kWaiverValues{{
    {"综合所得收入全年不超过", kWaivedIncome},
    {"或者补税金额不超过", kWaivedPayment},
}};
inline constexpr std::array<LawValue, 2> kHealthInsuranceValues{{
    {"每年不超过", kHealthInsuranceYear},
    {"每月不超过", kHealthInsuranceMonth},
}};
inline constexpr std::array<LawValue, 1> kPersonalPensionValues{{{"每年不超过", kPersonalPensionYear}}};
inline constexpr std::array<LawValue, 1> kChildEducation2019{{{"每名子女每月", 100'000}}};
inline constexpr std::array<LawValue, 1> kChildEducation2023{{{"每名子女每月", 200'000}}};
inline constexpr std::array<LawValue, 1> kInfantCare2022{{{"每名婴幼儿每月", 100'000}}};
inline constexpr std::array<LawValue, 1> kInfantCare2023{{{"每名婴幼儿每月", 200'000}}};
inline constexpr std::array<LawValue, 2> kElderlySupport2019{{
    {"独生子女每月", 200'000},
    {"非独生子女分摊，每人每月不超过", 100'000},
}};
inline constexpr std::array<LawValue, 2> kElderlySupport2023{{
    {"独生子女每月", 300'000},
    {"非独生子女分摊，每人每月不超过", 150'000},
}};
inline constexpr std::array<LawValue, 2> kContinuingEducationValues{{
    {"学历（学位）继续教育每月", 40'000},
    {"职业资格继续教育取得证书的当年", 360'000},
}};
inline constexpr std::array<LawValue, 1> kMortgageInterestValues{{{"首套住房贷款利息每月", 100'000}}};
inline constexpr std::array<LawValue, 3> kHousingRentValues{{
    {"直辖市、省会（首府）城市、计划单列市等每月", 150'000},
    {"市辖区户籍人口超过100万的城市每月", 110'000},
    {"市辖区户籍人口不超过100万的城市每月", 80'000},
}};
inline constexpr std::array<LawValue, 2> kSeriousIllnessValues{{
    {"医保目录范围内的自付部分，全年超过", 1'500'000},
    {"超过部分每年扣除不超过", 8'000'000},
}};

inline constexpr std::string_view kLaw = "个人所得税法 第六条（2018 年修正）";
inline constexpr std::string_view kWithholdingNotice = "国家税务总局公告2018年第61号";
inline constexpr std::string_view kDeductions2018 = "国发〔2018〕41号";
inline constexpr std::string_view kDeductions2023 = "国发〔2023〕13号";

}  // namespace law

// The rules in LawRuleId order; a rule's rows in the order of their days.
inline constexpr std::array<LawRule, 24> kLawRules{{
    {.Id = LawRuleId::Allowance,
     .Name = "减除费用",
     .FirstDay = "2019-01-01",
     .Source = "个人所得税法 第六条（2018 年修正）；按月计算：国家税务总局公告2018年第61号",
     .Values = law::kAllowanceValues,
     .Note = "预扣预缴时按本单位任职受雇的月份累计"},
    {.Id = LawRuleId::ComprehensiveYearTable,
     .Name = "综合所得税率表",
     .FirstDay = "2019-01-01",
     .Source = "个人所得税法 附表（2018 年修正）；速算扣除数：国家税务总局公告2018年第61号 预扣率表一",
     .Table = law::kComprehensiveYearTable,
     .TableOf = "全年应纳税所得额",
     .Note = "年度汇算和累计预扣法按此表"},
    {.Id = LawRuleId::ComprehensiveMonthTable,
     .Name = "按月换算后的综合所得税率表",
     .FirstDay = "2019-01-01",
     .Source = "财税〔2018〕164号 附件",
     .Table = law::kComprehensiveMonthTable,
     .TableOf = "月度应纳税所得额",
     .Note = "综合所得税率表的级距和速算扣除数除以 12"},
    {.Id = LawRuleId::CumulativeWithholding,
     .Name = "累计预扣法",
     .FirstDay = "2019-01-01",
     .Source = law::kWithholdingNotice,
     .Note = "工资、薪金所得按纳税年度内累计收入预扣预缴"},
    {.Id = LawRuleId::SixtyThousand,
     .Name = "按6万元减除",
     .FirstDay = "2021-01-01",
     .Source = "国家税务总局公告2020年第19号",
     .Values = law::kSixtyThousandValues,
     .Note = "上一完整纳税年度各月均在同一单位预扣预缴、全年收入不超过 6 万元的"},
    {.Id = LawRuleId::FirstJob,
     .Name = "年内首次取得工资",
     .FirstDay = "2020-07-01",
     .Source = "国家税务总局公告2020年第13号",
     .Note = "年内首次取得工资薪金的，减除费用自 1 月起累计"},
    {.Id = LawRuleId::LabourPrepaymentTable,
     .Name = "个人所得税预扣率表二",
     .FirstDay = "2019-01-01",
     .Source = law::kWithholdingNotice,
     .Table = law::kLabourPrepaymentTable,
     .TableOf = "劳务报酬每次预扣预缴应纳税所得额"},
    {.Id = LawRuleId::RemunerationCosts,
     .Name = "劳务报酬、稿酬、特许权使用费的减除费用",
     .FirstDay = "2019-01-01",
     .Source = "个人所得税法 第六条（2018 年修正）；预扣预缴：国家税务总局公告2018年第61号",
     .Values = law::kRemunerationCostValues},
    {.Id = LawRuleId::AuthorRevenue,
     .Name = "稿酬所得的收入额",
     .FirstDay = "2019-01-01",
     .Source = law::kLaw,
     .Values = law::kAuthorRevenueValues},
    {.Id = LawRuleId::ProportionalPrepayment,
     .Name = "稿酬所得、特许权使用费所得的预扣率",
     .FirstDay = "2019-01-01",
     .Source = law::kWithholdingNotice,
     .Values = law::kProportionalValues},
    {.Id = LawRuleId::BonusSeparateTaxation,
     .Name = "全年一次性奖金单独计税",
     .FirstDay = "2019-01-01",
     .LastDay = "2027-12-31",
     .Source = "财税〔2018〕164号；延续：财政部 税务总局公告2023年第30号",
     .Note = "可不并入当年综合所得，以奖金除以 12 的商按月度税率表单独计税",
     .Ended = "全年一次性奖金并入当年综合所得计税"},
    {.Id = LawRuleId::ReconciliationWaiver,
     .Name = "年度汇算免予补税",
     .FirstDay = "2019-01-01",
     .LastDay = "2027-12-31",
     .Source = "财政部 税务总局公告2019年第94号；延续：2021年第42号、2023年第32号",
     .Values = law::kWaiverValues,
     .Note = "需要补税时可免予办理汇算",
     .Ended = "年度汇算需要补税的，不再免予补税"},
    {.Id = LawRuleId::HealthInsurance,
     .Name = "商业健康保险",
     .FirstDay = "2017-07-01",
     .Source = "财税〔2017〕39号",
     .Values = law::kHealthInsuranceValues},
    {.Id = LawRuleId::PersonalPension,
     .Name = "个人养老金",
     .FirstDay = "2022-01-01",
     .Source = "财政部 税务总局公告2022年第34号；全国施行：2024年第21号",
     .Values = law::kPersonalPensionValues,
     .Note = "2022-01-01 起在先行城市，2024-12-15 起在全国"},
    {.Id = LawRuleId::ChildEducation,
     .Name = "子女教育",
     .FirstDay = "2019-01-01",
     .LastDay = "2022-12-31",
     .Source = law::kDeductions2018,
     .Values = law::kChildEducation2019},
    {.Id = LawRuleId::ChildEducation,
     .Name = "子女教育",
     .FirstDay = "2023-01-01",
     .Source = law::kDeductions2023,
     .Values = law::kChildEducation2023},
    {.Id = LawRuleId::InfantCare,
     .Name = "3岁以下婴幼儿照护",
     .FirstDay = "2022-01-01",
     .LastDay = "2022-12-31",
     .Source = "国发〔2022〕8号",
     .Values = law::kInfantCare2022},
    {.Id = LawRuleId::InfantCare,
     .Name = "3岁以下婴幼儿照护",
     .FirstDay = "2023-01-01",
     .Source = law::kDeductions2023,
     .Values = law::kInfantCare2023},
    {.Id = LawRuleId::ElderlySupport,
     .Name = "赡养老人",
     .FirstDay = "2019-01-01",
     .LastDay = "2022-12-31",
     .Source = law::kDeductions2018,
     .Values = law::kElderlySupport2019},
    {.Id = LawRuleId::ElderlySupport,
     .Name = "赡养老人",
     .FirstDay = "2023-01-01",
     .Source = law::kDeductions2023,
     .Values = law::kElderlySupport2023},
    {.Id = LawRuleId::ContinuingEducation,
     .Name = "继续教育",
     .FirstDay = "2019-01-01",
     .Source = law::kDeductions2018,
     .Values = law::kContinuingEducationValues,
     .Note = "学历（学位）继续教育同一学历不超过 48 个月"},
    {.Id = LawRuleId::MortgageInterest,
     .Name = "住房贷款利息",
     .FirstDay = "2019-01-01",
     .Source = law::kDeductions2018,
     .Values = law::kMortgageInterestValues,
     .Note = "不超过 240 个月"},
    {.Id = LawRuleId::HousingRent,
     .Name = "住房租金",
     .FirstDay = "2019-01-01",
     .Source = law::kDeductions2018,
     .Values = law::kHousingRentValues},
    {.Id = LawRuleId::SeriousIllness,
     .Name = "大病医疗",
     .FirstDay = "2019-01-01",
     .Source = law::kDeductions2018,
     .Values = law::kSeriousIllnessValues,
     .Note = "年度汇算时扣除"},
}};

// Every rule, in LawRuleId order.
constexpr std::span<const LawRule> LawRules() noexcept {
    return kLawRules;
}

// The row of the rule that holds in the tax year; nullptr where none does.
constexpr const LawRule *LawRuleIn(LawRuleId id, int year) noexcept {
    for (const LawRule &rule : kLawRules) {
        if (rule.Id == id && rule.HoldsIn(year)) {
            return &rule;
        }
    }
    return nullptr;
}

// Asks the rows themselves rather than comparing a pointer, which not every
// compiler's checked builds take as a constant.
constexpr bool InForce(LawRuleId id, int year) noexcept {
    for (const LawRule &rule : kLawRules) {
        if (rule.Id == id && rule.HoldsIn(year)) {
            return true;
        }
    }
    return false;
}

// The first year of the rule's first row and the last year of its last.
constexpr int FirstYearOf(LawRuleId id) noexcept {
    for (const LawRule &rule : kLawRules) {
        if (rule.Id == id) {
            return rule.FirstYear();
        }
    }
    return kOpenYear;
}
constexpr int LastYearOf(LawRuleId id) noexcept {
    int last = 0;
    for (const LawRule &rule : kLawRules) {
        if (rule.Id == id) {
            last = rule.LastYear();
        }
    }
    return last;
}

// The last row of the rule: its last day where it has ended.
constexpr const LawRule &LatestOf(LawRuleId id) noexcept {
    const LawRule *latest = &kLawRules.front();
    for (const LawRule &rule : kLawRules) {
        if (rule.Id == id) {
            latest = &rule;
        }
    }
    return *latest;
}

// The first tax year of comprehensive income: the rules hold from it.
inline constexpr int kFirstComprehensiveYear = FirstYearOf(LawRuleId::ComprehensiveYearTable);

}  // namespace taxcalc
