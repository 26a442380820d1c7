#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The taxcalc developers
"""The payroll computation of taxcalc-batch written plainly with the csv module, as a
clerk would: the yardstick for the tool's speed, and a second opinion on its figures.

usage: reference_batch.py bonus|wage IN.csv OUT.csv   (UTF-8 input)
"""
import csv
import re
import sys
from decimal import ROUND_HALF_EVEN, ROUND_HALF_UP, Decimal

INF = float("inf")
B2011 = [(1500, 0.03, 0), (4500, 0.10, 105), (9000, 0.20, 555), (35000, 0.25, 1005),
         (55000, 0.30, 2755), (80000, 0.35, 5505), (INF, 0.45, 13505)]
B2010 = [(500, 0.05, 0), (2000, 0.10, 25), (5000, 0.15, 125), (20000, 0.20, 375),
         (40000, 0.25, 1375), (60000, 0.30, 3375), (80000, 0.35, 6375), (100000, 0.40, 10375),
         (INF, 0.45, 15375)]
ZONES = [(18000, 19283.33, 540), (54000, 60187.5, 5295), (108000, 114600, 21045),
         (420000, 447500, 103995), (660000, 706538.46, 195245), (960000, 1120000, 330495)]
CENT = Decimal("0.01")
NUMBER = re.compile(r"[+-]?(\d+\.?\d*|\.\d+)")

BONUS_HEADS = ["2011年终奖个税", "税后年终奖", "是否盲区", "建议年终奖", "建议税额", "建议税后年终奖",
               "2010方法个税", "节省"]
WAGE_HEADS = ["调整前需纳税", "调整后需纳税", "结果", "差额"]


def parse(text):
    if not NUMBER.fullmatch(text):
        return None
    value = float(text)
    return None if value in (INF, -INF) else value


def round_cents(x):
    # Halves are judged on the 15-digit form, as a person reads the amount.
    exact = Decimal(x) if abs(x) >= 1e13 else Decimal("%.14e" % x)
    return float(exact.quantize(CENT, ROUND_HALF_EVEN))


def money(x):
    text = "{:f}".format(Decimal("%.14e" % x).quantize(CENT, ROUND_HALF_UP))
    return text[1:] if text.startswith("-") and text.strip("-0.") == "" else text


def plain(x):
    return "{:f}".format(Decimal("%.14e" % x).normalize())


def bracket_tax(rows, x):
    for bound, rate, deduction in rows:
        if x <= bound:
            return x * rate - deduction


def bonus_tax(rows, base):
    # The whole base at the rate that its monthly average selects, less one monthly
    # quick deduction.
    if base < 0:
        return 0.0
    average = base / 12.0
    for bound, rate, deduction in rows:
        if average <= bound:
            return round_cents(base * rate - deduction)


def base_of(bonus, wage, allowance):
    return round_cents(bonus - (allowance - wage)) if wage < allowance else round_cents(bonus)


def bonus_row(bonus, wage):
    base2011 = base_of(bonus, wage, 3500.0)
    tax2011 = bonus_tax(B2011, base2011)
    tax2010 = bonus_tax(B2010, base_of(bonus, wage, 2000.0))
    cells = [money(tax2011), money(bonus - tax2011), "否", "", "", "", money(tax2010), money(tax2010 - tax2011)]
    if base2011 >= 0:
        shortfall = 3500.0 - wage if wage < 3500.0 else 0.0
        for lower, upper, tax in ZONES:
            if lower < base2011 < upper:
                recommended = shortfall + lower
                cells[2:6] = ["是", plain(recommended), money(tax), money(recommended - tax)]
                break
    return cells


def wage_row(wage, deductions):
    def tax(rows, allowance):
        taxable = round_cents((wage - allowance) - deductions)
        return 0.0 if taxable < 0 else bracket_tax(rows, taxable)
    tax2011, tax2010 = tax(B2011, 3500.0), tax(B2010, 2000.0)
    less = tax2011 <= tax2010
    return [money(tax2010), money(tax2011), "少交" if less else "多交",
            money(tax2010 - tax2011 if less else tax2011 - tax2010)]


def main():
    mode, source, target = sys.argv[1:4]
    names = [("年终奖", "bonus"), ("当月工资", "wage")] if mode == "bonus" else \
        [("每月薪金", "wage"), ("三险一金", "deductions")]
    default = 3500.0 if mode == "bonus" else 0.0
    compute = bonus_row if mode == "bonus" else wage_row
    heads = BONUS_HEADS if mode == "bonus" else WAGE_HEADS
    with open(source, encoding="utf-8-sig", newline="") as fin, \
            open(target, "w", encoding="utf-8-sig", newline="") as fout:
        reader = csv.reader(fin)
        writer = csv.writer(fout, lineterminator="\r\n")
        header = next(reader)
        found = [[i for i, h in enumerate(header) if h.strip(" \t") in (c, e) or h.strip(" \t").lower() == e]
                 for c, e in names]
        first = found[0][0]
        second = found[1][0] if found[1] else None
        writer.writerow(header + heads + ["错误"])
        refused = 0
        for row in reader:
            row += [""] * (len(header) - len(row))
            text1 = row[first]
            text2 = row[second] if second is not None else ""
            a = parse(text1)
            b = parse(text2) if text2 else default
            if a is None or b is None:
                refused += 1
                writer.writerow(row + [""] * len(heads) + ["%s：%s" % (names[0][0], "空白" if not text1 else "不是数字")])
            else:
                writer.writerow(row + compute(a, b) + [""])
    sys.exit(1 if refused else 0)


if __name__ == "__main__":
    main()
