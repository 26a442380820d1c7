#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The taxcalc developers
"""A payroll CSV of the given number of rows for the benchmarks: Chinese names, quoted
departments, bonuses on and near the blind zones' edges, empty and odd wages. The
same seed gives the same file. With a second name, the same payroll as an .xlsx
workbook too, written by openpyxl: figures as numbers, IDs as text.

usage: make_payroll.py OUT.csv ROWS [OUT.xlsx]
"""
import csv, random, sys
path, rows = sys.argv[1], int(sys.argv[2])
rng = random.Random(2011)
names = "赵钱孙李周吴郑王冯陈褚卫蒋沈韩杨"
departments = ["财务部", "人事部", "\"研发部, 北京\"", "\"销售部, \"\"华东\"\"\"", "后勤"]
edges = [18000, 19283.33, 54000, 60187.5, 108000, 114600, 420000, 447500]
with open(path, "w", encoding="utf-8", newline="") as out:
    out.write("工号,姓名,部门,年终奖,当月工资\r\n")
    for i in range(rows):
        kind = rng.random()
        if kind < 0.3:
            bonus = "%d" % (rng.randrange(0, 200) * 1000)
        elif kind < 0.5:
            bonus = "%.2f" % (rng.choice(edges) + rng.randrange(-300, 300) / 100)
        else:
            bonus = "%.2f" % (rng.randrange(0, 120000000) / 100)
        wage = rng.choice(["3500", "", "%.2f" % (rng.randrange(150000, 3000000) / 100)])
        name = rng.choice(names) + rng.choice(names)
        out.write("%d,%s,%s,%s,%s\r\n" % (100000 + i, name, rng.choice(departments), bonus, wage))

if len(sys.argv) > 3:
    # openpyxl is Debian's, installed for Debian's own python3.
    import openpyxl
    book = openpyxl.Workbook(write_only=True)
    sheet = book.create_sheet()
    with open(path, encoding="utf-8", newline="") as table:
        for i, row in enumerate(csv.reader(table)):
            if i > 0:
                row[3:] = [float(cell) if "." in cell else int(cell) if cell else None for cell in row[3:]]
            sheet.append(row)
    book.save(sys.argv[3])
