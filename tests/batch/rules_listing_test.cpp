// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// The rules of a year as the clerk reads them: every rule, its figures, its days and
// its documents, and the rules that have ended.
#include "batch/rules_listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace taxcalc {
namespace {

bool Has(const std::string &text, const std::string &part) {
    return text.find(part) != std::string::npos;
}

// What both years list, typed from the documents.
const std::vector<std::string> kEveryYear{
    "减除费用",
    "每月 5000 元",
    "每年 60000 元",
    "个人所得税法 第六条",
    "综合所得税率表",
    "按月换算后的综合所得税率表",
    "财税〔2018〕164号",
    "个人所得税预扣率表二",
    "国家税务总局公告2018年第61号",
    "按6万元减除",
    "国家税务总局公告2020年第19号",
    "年内首次取得工资",
    "国家税务总局公告2020年第13号",
    "800 元",
    "稿酬",
    "70%",
    "商业健康保险",
    "每年不超过 2400 元",
    "每月不超过 200 元",
    "财税〔2017〕39号",
    "个人养老金",
    "每年不超过 12000 元",
    "2022年第34号",
    "2024年第21号",
    "子女教育",
    "每名子女每月 2000 元",
    "3岁以下婴幼儿照护",
    "每名婴幼儿每月 2000 元",
    "赡养老人",
    "独生子女每月 3000 元",
    "国发〔2023〕13号",
    "继续教育",
    "每月 400 元",
    "3600 元",
    "住房贷款利息",
    "每月 1000 元",
    "住房租金",
    "1500 元",
    "1100 元",
    "800 元",
    "大病医疗",
    "15000 元",
    "80000 元",
    "国发〔2018〕41号",
    "全年一次性奖金单独计税",
    "财政部 税务总局公告2023年第30号",
    "年度汇算免予补税",
    "2023年第32号",
    "2027-12-31",
};

// The tables' rows, aligned, as a clerk reads them.
const std::vector<std::string> kTableLines{
    "  不超过  36000 元   3%  速算扣除数      0\n", "  不超过 144000 元  10%  速算扣除数   2520\n",
    "  不超过 300000 元  20%  速算扣除数  16920\n", "  不超过 420000 元  25%  速算扣除数  31920\n",
    "  不超过 660000 元  30%  速算扣除数  52920\n", "  不超过 960000 元  35%  速算扣除数  85920\n",
    "  超过   960000 元  45%  速算扣除数 181920\n", "  不超过  3000 元   3%  速算扣除数     0\n",
    "  不超过 12000 元  10%  速算扣除数   210\n",   "  不超过 25000 元  20%  速算扣除数  1410\n",
    "  不超过 35000 元  25%  速算扣除数  2660\n",   "  不超过 55000 元  30%  速算扣除数  4410\n",
    "  不超过 80000 元  35%  速算扣除数  7160\n",   "  超过   80000 元  45%  速算扣除数 15160\n",
    "  不超过 20000 元  20%  速算扣除数    0\n",    "  不超过 50000 元  30%  速算扣除数 2000\n",
    "  超过   50000 元  40%  速算扣除数 7000\n",
};

TEST(RulesListing, ListsEveryRuleWithItsSource) {
    for (const int year : {2026, 2028}) {
        const std::string listing = RulesListing(year);
        EXPECT_TRUE(listing.starts_with(std::to_string(year) + " 年度")) << listing;
        for (const std::string &part : kEveryYear) {
            EXPECT_TRUE(Has(listing, part)) << year << ": " << part;
        }
        for (const std::string &line : kTableLines) {
            EXPECT_TRUE(Has(listing, line)) << year << ": " << line;
        }
    }
}

TEST(RulesListing, SaysWhatHoldsAndUntilWhen) {
    const std::string in2026 = RulesListing(2026);
    EXPECT_TRUE(Has(in2026, "全年一次性奖金单独计税\n")) << in2026;
    EXPECT_TRUE(Has(in2026, "施行：2019-01-01 至 2027-12-31")) << in2026;
    EXPECT_TRUE(Has(in2026, "综合所得收入全年不超过 120000 元")) << in2026;
    EXPECT_TRUE(Has(in2026, "或者补税金额不超过 400 元")) << in2026;
    EXPECT_FALSE(Has(in2026, "已于")) << in2026;
    // The earlier standard of a raised deduction.
    EXPECT_TRUE(Has(in2026, "此前 2019-01-01 至 2022-12-31：每名子女每月 1000 元（国发〔2018〕41号）"))
        << in2026;

    const std::string in2028 = RulesListing(2028);
    const std::size_t ended = in2028.find("已到期");
    ASSERT_NE(ended, std::string::npos) << in2028;
    const std::string after = in2028.substr(ended);
    EXPECT_TRUE(Has(after, "全年一次性奖金单独计税\n  已于 2027-12-31 到期")) << in2028;
    EXPECT_TRUE(Has(after, "年度汇算免予补税\n  已于 2027-12-31 到期")) << in2028;
    EXPECT_TRUE(Has(after, "并入当年综合所得")) << in2028;
    // Neither is listed as holding in 2028.
    EXPECT_FALSE(Has(in2028.substr(0, ended), "全年一次性奖金单独计税")) << in2028;
    EXPECT_FALSE(Has(in2028.substr(0, ended), "免予补税")) << in2028;
}

TEST(RulesListing, TheFirstYearsListWhatComesLater) {
    const std::string in2019 = RulesListing(2019);
    const std::size_t coming = in2019.find("以后施行");
    ASSERT_NE(coming, std::string::npos) << in2019;
    EXPECT_TRUE(Has(in2019.substr(coming), "按6万元减除\n  自 2021-01-01 起施行")) << in2019;
    EXPECT_TRUE(Has(in2019.substr(coming), "年内首次取得工资\n  自 2020-07-01 起施行")) << in2019;
    EXPECT_TRUE(Has(in2019.substr(coming), "3岁以下婴幼儿照护")) << in2019;
    EXPECT_TRUE(Has(in2019, "每名子女每月 1000 元")) << in2019;
    EXPECT_FALSE(Has(in2019, "每名子女每月 2000 元")) << in2019;
    EXPECT_EQ(RulesListing(2018), "综合所得的规定自 2019 年度起施行，2018 年度没有综合所得\n");
}

}  // namespace
}  // namespace taxcalc
