#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The taxcalc developers
"""A year of monthly wage rows for the withholding benchmark: EMPLOYEES x 12 months
in the twenty columns a clerk fills in, shuffled as a file of many monthly exports
pasted together is. The same seed gives the same file.

usage: make_withholding.py OUT.csv EMPLOYEES
"""
import random, sys
path, employees = sys.argv[1], int(sys.argv[2])
rng = random.Random(2019)
names = "赵钱孙李周吴郑王冯陈褚卫蒋沈韩杨"
header = ["工号", "姓名", "证件类型", "证件号码", "所属月份", "本期收入", "本期免税收入", "基本养老保险费",
          "基本医疗保险费", "失业保险费", "住房公积金", "累计子女教育", "累计继续教育", "累计住房贷款利息",
          "累计住房租金", "累计赡养老人", "累计3岁以下婴幼儿照护", "企业(职业)年金", "减免税额", "备注"]
rows = []
for e in range(employees):
    wage = rng.randrange(300000, 6000000) / 100
    insured = round(wage * 0.105, 2)
    children = rng.choice([0, 0, 2000, 4000])
    rent = rng.choice([0, 0, 1500])
    name = rng.choice(names) + rng.choice(names)
    ident = "110105%08d%03dX" % (e, rng.randrange(1000))
    for month in range(1, 13):
        income = wage if month != 12 else wage + rng.randrange(0, 20000000) / 100
        rows.append("%d,%s,居民身份证,%s,2026-%02d,%.2f,0,%.2f,%.2f,%.2f,%.2f,%d,0,0,%d,0,0,,,\r\n" % (
            100000 + e, name, ident, month, income, insured * 0.76, insured * 0.19, insured * 0.05, insured,
            children * month, rent * month))
rng.shuffle(rows)
with open(path, "w", encoding="utf-8", newline="") as out:
    out.write(",".join(header) + "\r\n")
    out.writelines(rows)
