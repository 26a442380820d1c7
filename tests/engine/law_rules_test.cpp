// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The table of rules against the law typed here again from the documents, in yuan
// and percent: the tables, the amounts, the days each rule holds between and the
// documents that set it.
#include "engine/law_rules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/annual_reconciliation.h"
#include "engine/cumulative_withholding.h"
#include "engine/remuneration.h"

namespace taxcalc {
namespace {

struct LawRow {
    long long Bound;  // yuan; 0 for the last row
    int Rate;
    long long QuickDeduction;  // yuan
};

// 个人所得税税率表一（综合所得适用）with the quick deductions of 预扣率表一.
const std::vector<LawRow> kYearTable{{36000, 3, 0},       {144000, 10, 2520},  {300000, 20, 16920},
                                     {420000, 25, 31920}, {660000, 30, 52920}, {960000, 35, 85920},
                                     {0, 45, 181920}};
// 按月换算后的综合所得税率表 (财税〔2018〕164号).
const std::vector<LawRow> kMonthTable{{3000, 3, 0},      {12000, 10, 210},  {25000, 20, 1410},
                                      {35000, 25, 2660}, {55000, 30, 4410}, {80000, 35, 7160},
                                      {0, 45, 15160}};
// 个人所得税预扣率表二（居民个人劳务报酬所得预扣预缴适用）.
const std::vector<LawRow> kLabourTable{{20000, 20, 0}, {50000, 30, 2000}, {0, 40, 7000}};

void ExpectTable(std::span<const CentsBracket> table, const std::vector<LawRow> &law, const char *name) {
    ASSERT_EQ(table.size(), law.size()) << name;
    for (std::size_t i = 0; i < law.size(); ++i) {
        const Cents bound = law[i].Bound == 0 ? kNoBoundCents : law[i].Bound * 100;
        EXPECT_EQ(table[i].UpperBound, bound) << name << " row " << i;
        EXPECT_EQ(table[i].RatePercent, law[i].Rate) << name << " row " << i;
        EXPECT_EQ(table[i].QuickDeduction, law[i].QuickDeduction * 100) << name << " row " << i;
    }
}

TEST(LawRules, TablesAreTheLaws) {
    ExpectTable(law::kComprehensiveYearTable, kYearTable, "综合所得税率表");
    ExpectTable(law::kComprehensiveMonthTable, kMonthTable, "按月换算后的综合所得税率表");
    ExpectTable(law::kLabourPrepaymentTable, kLabourTable, "预扣率表二");
    // The tables the computations use are these.
    ExpectTable(YearlyBrackets(), kYearTable, "YearlyBrackets");
    ExpectTable(Rules(PeriodId::Y2019).Brackets, kMonthTable, "the bonus period of 2019");
    ExpectTable(Rules(PeriodId::Y2018).Brackets, kMonthTable, "the period of 2018");
    ExpectTable(LabourBrackets(), kLabourTable, "LabourBrackets");
    ExpectTable(LawRuleIn(LawRuleId::ComprehensiveYearTable, 2026)->Table, kYearTable,
                "the year table's rule");
    ExpectTable(LawRuleIn(LawRuleId::ComprehensiveMonthTable, 2026)->Table, kMonthTable,
                "the month table's rule");
    ExpectTable(LawRuleIn(LawRuleId::LabourPrepaymentTable, 2026)->Table, kLabourTable, "预扣率表二's rule");
}

// The tax of every whole yuan up to past the last bound, by the law's table and its
// quick deduction, equals the tax computed bracket by bracket on the rates alone:
// the quick deductions make the tables continuous.
TEST(LawRules, QuickDeductionsAreTheProgressiveTax) {
    for (const auto *law : {&kYearTable, &kMonthTable, &kLabourTable}) {
        const long long top = (*law)[law->size() - 2].Bound + 1000;
        for (long long yuan = 0; yuan <= top; yuan += law == &kYearTable ? 7 : 1) {
            long long slow = 0;  // in hundredths of a yuan
            long long below = 0;
            for (const LawRow &row : *law) {
                const long long upper = row.Bound == 0 ? yuan : std::min(yuan, row.Bound);
                if (upper > below) {
                    slow += (upper - below) * row.Rate;
                }
                below = row.Bound == 0 ? below : row.Bound;
            }
            const std::span<const CentsBracket> table = law == &kYearTable    ? YearlyBrackets()
                                                        : law == &kMonthTable ? law::kComprehensiveMonthTable
                                                                              : LabourBrackets();
            ASSERT_EQ(TableTax(table, yuan * 100, HalfRule::AwayFromZero), slow) << yuan;
        }
    }
}

TEST(LawRules, AmountsAndTheirDerivations) {
    // 减除费用: 5000 a month, 60000 a year, as withholding and the year count it.
    EXPECT_EQ(law::kAllowanceMonth, 5000 * 100);
    EXPECT_EQ(law::kAllowanceYear, 60000 * 100);
    EXPECT_EQ(kMonthlyAllowance, 5000 * 100);
    EXPECT_EQ(kYearAllowance, 60000 * 100);
    EXPECT_EQ(Rules(PeriodId::Y2018).Allowance, 5000 * 100);
    EXPECT_EQ(Rules(PeriodId::Y2019).Allowance, 5000 * 100);
    const WithholdingPerson sixty{.SixtyThousand = true};
    EXPECT_EQ(CumulativeAllowance(sixty, 1), 60000 * 100);
    EXPECT_EQ(CumulativeAllowance(WithholdingPerson{}, 12), 60000 * 100);
    // 800 up to 4000, 20% above; 稿酬 at 70%, 56% of the income in the year.
    EXPECT_EQ(law::kFlatCostLimit, 4000 * 100);
    EXPECT_EQ(law::kFlatCost, 800 * 100);
    EXPECT_EQ(law::kRevenuePercent, 80);
    EXPECT_EQ(law::kAuthorRevenuePercent, 70);
    EXPECT_EQ(law::kAuthorYearPercent, 56);
    EXPECT_EQ(law::kProportionalPrepaymentPercent, 20);
    // The waiver at 120000 of income or 400 of payment.
    EXPECT_EQ(law::kWaivedIncome, 120000 * 100);
    EXPECT_EQ(law::kWaivedPayment, 400 * 100);
    EXPECT_EQ(law::kHealthInsuranceYear, 2400 * 100);
    EXPECT_EQ(law::kHealthInsuranceMonth, 200 * 100);
    EXPECT_EQ(law::kPersonalPensionYear, 12000 * 100);
}

// A payment of remuneration by hand: the costs at the edge of 4000, 稿酬 at 70%.
TEST(LawRules, RemunerationCostsAtTheirEdge) {
    struct Case {
        RemunerationKind Kind;
        Cents Income;
        Cents Revenue;
        Cents Taxable;
    };
    const std::vector<Case> cases{
        {RemunerationKind::Labour, 400000, 320000, 320000},  // 4000 - 800
        {RemunerationKind::Labour, 400001, 320001, 320001},  // 4000.01 x 80%, rounded
        {RemunerationKind::Author, 400000, 320000, 224000},  // x 70%
        {RemunerationKind::Author, 80000, 0, 0},
        {RemunerationKind::Royalty, 1000000, 800000, 800000},
    };
    for (const Case &c : cases) {
        const std::optional<RemunerationTax> tax = PrepayRemuneration(c.Kind, c.Income);
        ASSERT_TRUE(tax.has_value());
        EXPECT_EQ(tax->Revenue, c.Revenue) << c.Income;
        EXPECT_EQ(tax->Taxable, c.Taxable) << c.Income;
    }
}

// The year counts author's remuneration at 56% taken once: 3 cents give 1.68 cents,
// 2 when rounded; 80% and then 70%, each rounded, would give 2.4 -> 2, 1.4 -> 1.
TEST(LawRules, AuthorsShareOfTheYearIsRoundedOnce) {
    const std::optional<Reconciliation> year = Reconcile({.Author = 3}, 2026);
    ASSERT_TRUE(year.has_value());
    EXPECT_EQ(year->Revenue, 2);
    const std::optional<Reconciliation> big = Reconcile({.Author = 1'000'003}, 2026);
    ASSERT_TRUE(big.has_value());
    EXPECT_EQ(big->Revenue, 560'002);  // 560001.68
}

struct Held {
    LawRuleId Id;
    const char *Name;
    const char *FirstDay;
    const char *LastDay;  // "" while it holds
    std::vector<const char *> Sources;
};

// Each rule's days and documents as the documents give them.
const std::vector<Held> kHeld{
    {LawRuleId::Allowance, "减除费用", "2019-01-01", "", {"个人所得税法 第六条", "2018年第61号"}},
    {LawRuleId::ComprehensiveYearTable, "综合所得税率表", "2019-01-01", "", {"个人所得税法"}},
    {LawRuleId::ComprehensiveMonthTable,
     "按月换算后的综合所得税率表",
     "2019-01-01",
     "",
     {"财税〔2018〕164号"}},
    {LawRuleId::CumulativeWithholding, "累计预扣法", "2019-01-01", "", {"国家税务总局公告2018年第61号"}},
    {LawRuleId::SixtyThousand, "按6万元减除", "2021-01-01", "", {"国家税务总局公告2020年第19号"}},
    {LawRuleId::FirstJob, "年内首次取得工资", "2020-07-01", "", {"国家税务总局公告2020年第13号"}},
    {LawRuleId::LabourPrepaymentTable, "预扣率表二", "2019-01-01", "", {"国家税务总局公告2018年第61号"}},
    {LawRuleId::RemunerationCosts, "减除费用", "2019-01-01", "", {"个人所得税法 第六条", "2018年第61号"}},
    {LawRuleId::AuthorRevenue, "稿酬", "2019-01-01", "", {"个人所得税法 第六条"}},
    {LawRuleId::ProportionalPrepayment, "预扣率", "2019-01-01", "", {"2018年第61号"}},
    {LawRuleId::BonusSeparateTaxation,
     "全年一次性奖金",
     "2019-01-01",
     "2027-12-31",
     {"财税〔2018〕164号", "财政部 税务总局公告2023年第30号"}},
    {LawRuleId::ReconciliationWaiver, "汇算", "2019-01-01", "2027-12-31", {"2023年第32号"}},
    {LawRuleId::HealthInsurance, "商业健康保险", "2017-07-01", "", {"财税〔2017〕39号"}},
    {LawRuleId::PersonalPension, "个人养老金", "2022-01-01", "", {"2022年第34号", "2024年第21号"}},
    {LawRuleId::ContinuingEducation, "继续教育", "2019-01-01", "", {"国发〔2018〕41号"}},
    {LawRuleId::MortgageInterest, "住房贷款利息", "2019-01-01", "", {"国发〔2018〕41号"}},
    {LawRuleId::HousingRent, "住房租金", "2019-01-01", "", {"国发〔2018〕41号"}},
    {LawRuleId::SeriousIllness, "大病医疗", "2019-01-01", "", {"国发〔2018〕41号"}},
};

TEST(LawRules, DaysAndSources) {
    for (const Held &held : kHeld) {
        const LawRule &rule = LatestOf(held.Id);
        EXPECT_NE(rule.Name.find(held.Name), std::string_view::npos) << rule.Name;
        EXPECT_EQ(rule.FirstDay, held.FirstDay) << rule.Name;
        EXPECT_EQ(rule.LastDay, held.LastDay) << rule.Name;
        for (const char *source : held.Sources) {
            EXPECT_NE(rule.Source.find(source), std::string_view::npos) << rule.Name << ": " << source;
        }
    }
}

// The special additional deductions by year, in yuan a month: 国发〔2018〕41号 from 2019,
// infant care by 国发〔2022〕8号 from 2022, the three raised by 国发〔2023〕13号 from 2023.
TEST(LawRules, SpecialAdditionalDeductionsByYear) {
    struct Standard {
        LawRuleId Id;
        int Year;
        long long FirstValue;  // yuan; 0 where no rule holds
        const char *Source;
    };
    const std::vector<Standard> standards{
        {LawRuleId::ChildEducation, 2019, 1000, "国发〔2018〕41号"},
        {LawRuleId::ChildEducation, 2022, 1000, "国发〔2018〕41号"},
        {LawRuleId::ChildEducation, 2023, 2000, "国发〔2023〕13号"},
        {LawRuleId::InfantCare, 2021, 0, ""},
        {LawRuleId::InfantCare, 2022, 1000, "国发〔2022〕8号"},
        {LawRuleId::InfantCare, 2023, 2000, "国发〔2023〕13号"},
        {LawRuleId::ElderlySupport, 2022, 2000, "国发〔2018〕41号"},
        {LawRuleId::ElderlySupport, 2023, 3000, "国发〔2023〕13号"},
        {LawRuleId::ContinuingEducation, 2030, 400, "国发〔2018〕41号"},
        {LawRuleId::MortgageInterest, 2023, 1000, "国发〔2018〕41号"},
        {LawRuleId::HousingRent, 2026, 1500, "国发〔2018〕41号"},
        {LawRuleId::SeriousIllness, 2026, 15000, "国发〔2018〕41号"},
    };
    for (const Standard &s : standards) {
        const LawRule *rule = LawRuleIn(s.Id, s.Year);
        if (s.FirstValue == 0) {
            EXPECT_EQ(rule, nullptr) << s.Year;
            continue;
        }
        ASSERT_NE(rule, nullptr) << s.Year;
        EXPECT_EQ(rule->Values[0].Value, s.FirstValue * 100) << rule->Name << " " << s.Year;
        EXPECT_EQ(rule->Source, s.Source) << rule->Name << " " << s.Year;
    }
    // The other amounts of the standards of 2023.
    const auto values = [](LawRuleId id) {
        std::vector<long long> yuan;
        for (const LawValue &value : LawRuleIn(id, 2026)->Values) {
            yuan.push_back(value.Value / 100);
        }
        return yuan;
    };
    EXPECT_EQ(values(LawRuleId::ElderlySupport), (std::vector<long long>{3000, 1500}));
    EXPECT_EQ(values(LawRuleId::ContinuingEducation), (std::vector<long long>{400, 3600}));
    EXPECT_EQ(values(LawRuleId::HousingRent), (std::vector<long long>{1500, 1100, 800}));
    EXPECT_EQ(values(LawRuleId::SeriousIllness), (std::vector<long long>{15000, 80000}));
}

// Every year: at most one row of a rule holds, and it is the one whose days reach
// into the year.
TEST(LawRules, OneRowOfARuleHoldsInAYear) {
    for (int year = 2000; year <= 2200; ++year) {
        for (std::size_t i = 0; i < kLawRuleIds; ++i) {
            const auto id = static_cast<LawRuleId>(i);
            int holding = 0;
            for (const LawRule &rule : LawRules()) {
                const std::string first(rule.FirstDay.substr(0, 4));
                const std::string last =
                    rule.LastDay.empty() ? "9999" : std::string(rule.LastDay.substr(0, 4));
                if (rule.Id == id && std::stoi(first) <= year && year <= std::stoi(last)) {
                    ++holding;
                    EXPECT_EQ(LawRuleIn(id, year), &rule);
                }
            }
            EXPECT_LE(holding, 1);
            EXPECT_EQ(InForce(id, year), holding == 1) << i << " " << year;
        }
    }
}

TEST(LawRules, YearsOfTheModes) {
    EXPECT_EQ(kFirstComprehensiveYear, 2019);
    EXPECT_EQ(FirstYearOf(LawRuleId::CumulativeWithholding), 2019);
    EXPECT_EQ(FirstYearOf(LawRuleId::SixtyThousand), 2021);
    EXPECT_EQ(FirstYearOf(LawRuleId::FirstJob), 2020);
    EXPECT_EQ(LastYearOf(LawRuleId::BonusSeparateTaxation), 2027);
    EXPECT_EQ(LastYearOf(LawRuleId::ReconciliationWaiver), 2027);
    EXPECT_EQ(LastYearOf(LawRuleId::Allowance), kOpenYear);
    EXPECT_TRUE(InForce(LawRuleId::BonusSeparateTaxation, 2027));
    EXPECT_FALSE(InForce(LawRuleId::BonusSeparateTaxation, 2028));
    EXPECT_FALSE(InForce(LawRuleId::ReconciliationWaiver, 2028));
    EXPECT_FALSE(InForce(LawRuleId::CumulativeWithholding, 2018));
    EXPECT_FALSE(InForce(LawRuleId::SixtyThousand, 2020));
    // The bonus period of 2019 ends with the bonus's separate taxation.
    EXPECT_EQ(Rules(PeriodId::Y2019).LastDay, "2027-12-31");
    EXPECT_EQ(Rules(PeriodId::Y2019).FirstDay, "2019-01-01");
    // A rule that ends says what holds after it.
    std::set<std::string_view> names;
    for (const LawRule &rule : LawRules()) {
        names.insert(rule.Name);
        if (&LatestOf(rule.Id) == &rule) {
            EXPECT_EQ(rule.LastDay.empty(), rule.Ended.empty()) << rule.Name;
        }
    }
    EXPECT_EQ(names.size(), kLawRuleIds);
}

}  // namespace
}  // namespace taxcalc
