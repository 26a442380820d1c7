// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include "paysheet/withholding_mode.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/cumulative_withholding.h"
#include "engine/law_rules.h"
#include "engine/number_text.h"
#include "paysheet/column_map.h"
#include "paysheet/employee_index.h"
#include "paysheet/row_links.h"
#include "paysheet/spreadsheet_field.h"

namespace taxcalc {
namespace {

using namespace withholding;

constexpr std::uint8_t kNotLeft = WithholdingFacts::kNotLeft;

constexpr int kFirstCumulativeYear = FirstYearOf(LawRuleId::CumulativeWithholding);
constexpr int kFirstSixtyThousandYear = FirstYearOf(LawRuleId::SixtyThousand);

int YearOf(std::int32_t month) noexcept {
    return month / 100;
}
int MonthOf(std::int32_t month) noexcept {
    return month % 100;
}

Cents SumOf(const RowInput &input, std::span<const Input> parts) noexcept {
    Cents sum = 0;
    for (const Input part : parts) {
        sum += input.InCents[part].value_or(0);
    }
    return sum;
}

WithholdingMonth MonthOfRow(const RowInput &input) noexcept {
    // Bounded amounts: a handful of them, each below kMaxCents, stay well inside 64 bits.
    WithholdingMonth month{};
    month.Month = MonthOf(*input.Numbers[kMonth]);
    month.Income = *input.InCents[kIncome];
    month.TaxFreeIncome = input.InCents[kTaxFree].value_or(0);
    month.SpecialDeductions = SumOf(input, kInsuranceParts) + input.InCents[kInsurances].value_or(0);
    month.OtherDeductions = SumOf(input, kOtherParts);
    month.PersonalPensionCumulative = input.InCents[kPersonalPension].value_or(0);
    month.Donations = input.InCents[kDonations].value_or(0);
    month.TaxRelief = input.InCents[kRelief].value_or(0);
    month.SpecialAdditionalCumulative =
        SumOf(input, kSpecialAdditionalParts) + input.InCents[kSpecialAdditional].value_or(0);
    return month;
}

WithholdingPerson PersonOf(const RowInput &input, const RowContext &context) noexcept {
    const WithholdingFacts &facts = context.Withholding;
    WithholdingPerson person{};
    person.DeductsAllowance = input.Numbers[kDeductsAllowance].value_or(1) == 1;
    person.SixtyThousand = input.Numbers[kSixtyThousand].value_or(0) == 1;
    person.StartMonth = facts.StartMonth;
    person.LeaveMonth = facts.LeaveMonth == kNotLeft ? 0 : facts.LeaveMonth;
    person.LeftBeforeYear = facts.LeaveMonth == 0;
    return person;
}

std::string MonthName(int month) {
    return std::to_string(month) + "月";
}

// --- the figures of one row, from its context ---

RowOutcome ComputeMonth(const RowInput &input, RowFigures &figures) {
    if (input.Context == nullptr) {
        // A month alone, outside its table, has no earlier months to build on.
        figures.RefuseRow("需要整张表才能按月累计");
        return RowOutcome::Refused;
    }
    const RowContext &context = *input.Context;
    const std::uint8_t detail = context.Withholding.Detail;
    figures.Month = *input.Numbers[kMonth];
    switch (context.Withholding.Fault) {
        case kNone:
            break;
        case kNoKey:
            figures.RefuseRow("不知是哪位员工：证件号码、工号或姓名是空的");
            return RowOutcome::Refused;
        case kOtherYear:
            figures.Refuse("所属月份",
                           "不在本表的纳税年度（" + std::to_string(context.Carried.TaxYear) + " 年）");
            return RowOutcome::Refused;
        case kBeforeCumulation:
            figures.Refuse("所属月份",
                           std::to_string(kFirstCumulativeYear) + " 年以前的工资不按累计预扣法预扣");
            return RowOutcome::Refused;
        case kTwoRows:
            figures.RefuseRow("同一员工的" + MonthName(MonthOf(figures.Month)) + "有两行");
            return RowOutcome::Refused;
        case kDisagree:
            figures.RefuseRow("同一员工各行的" + std::string(kInputs[detail].Chinese) + "不一致");
            return RowOutcome::Refused;
        case kHiredAfterYear:
            figures.Refuse("任职受雇从业日期", "在纳税年度之后");
            return RowOutcome::Refused;
        case kSixtyNotAllowed:
            figures.Refuse("按6万元减除", detail != 0 ? std::to_string(kFirstSixtyThousandYear) +
                                                            " 年以前没有按6万元减除的规定"
                                                      : std::string("本年度内才任职受雇，不能按6万元减除"));
            return RowOutcome::Refused;
        case kBeforeHire:
            figures.Refuse("所属月份", "在任职受雇从业日期之前");
            return RowOutcome::Refused;
        case kEarlierRefused:
            figures.RefuseRow(MonthName(detail) + "未能计算");
            return RowOutcome::Refused;
        case kTooLarge:
            return RowOutcome::TooLarge;
    }
    const std::optional<WithheldMonth> month =
        WithholdMonth(PersonOf(input, context), context.Carried.Before, MonthOfRow(input));
    if (!month) {
        return RowOutcome::TooLarge;
    }
    figures.Result = *month;
    return RowOutcome::Computed;
}

// --- the header ---

bool Has(const ColumnMap &columns, Input input) noexcept {
    return columns.Column(input) != ColumnMap::kMissing;
}

bool CheckHeader(ColumnMap &columns, const CsvRecord &header, std::string &error) {
    bool formerRun = false;
    for (std::size_t i = 0; i < header.Size(); ++i) {
        formerRun = formerRun || TrimBlanks(header.Cell(i)) == "错误";
    }
    const auto both = [&](Input whole, std::span<const Input> parts) {
        if (!Has(columns, whole)) {
            return false;
        }
        // A former run wrote the sum of the parts after them: this run writes it again.
        const bool written = formerRun && std::all_of(parts.begin(), parts.end(), [&](Input part) {
                                 return !Has(columns, part) || columns.Column(part) < columns.Column(whole);
                             });
        for (const Input part : parts) {
            if (Has(columns, part) && written) {
                columns.Forget(whole);
                return false;
            }
            if (Has(columns, part)) {
                error = "表头既有" + columns.Name(whole) + "列，又有它的分项" + columns.Name(part) +
                        "列：只能用其中一种";
                return true;
            }
        }
        return false;
    };
    if (both(kInsurances, kInsuranceParts) || both(kSpecialAdditional, kSpecialAdditionalParts)) {
        return false;
    }
    if (std::none_of(kKeys.begin(), kKeys.end(), [&](Input key) { return Has(columns, key); })) {
        error = "表头中没有证件号码、工号或姓名列，分不出各位员工";
        return false;
    }
    return true;
}

// --- the links between an employee's months ---

// One row of an employee as the first look reads it. Its month's own figures wait in
// the row's context (Carried.Own) until the employee's months are put in
// order; the facts of the employee travel here.
struct MonthRow {
    std::uint32_t Employee;
    std::int32_t Month;  // year x 100 + month
    std::uint32_t Row;
    std::array<std::int32_t, 2> Dates;  // hire and leave date, 0 where empty
    std::uint8_t Flags;                 // kSixtyFlag, kFirstJobFlag, kNoAllowanceFlag, kRefusedFlag
};

constexpr std::uint8_t kSixtyFlag = 1;
constexpr std::uint8_t kFirstJobFlag = 2;
constexpr std::uint8_t kNoAllowanceFlag = 4;
constexpr std::uint8_t kRefusedFlag = 8;  // refused on its own
constexpr std::uint8_t kPersonFlags = kSixtyFlag | kFirstJobFlag | kNoAllowanceFlag;

// The month's own figures while they wait in the context.
void Park(RowContext &context, const WithholdingMonth &month) noexcept {
    context.Carried.Own = {month.Income,
                           month.TaxFreeIncome,
                           month.SpecialDeductions,
                           month.OtherDeductions,
                           month.PersonalPensionCumulative,
                           month.Donations,
                           month.TaxRelief,
                           month.SpecialAdditionalCumulative};
}

WithholdingMonth Parked(const RowContext &context, int month) noexcept {
    const ParkedMonth &own = context.Carried.Own;
    return {month,
            own.Income,
            own.TaxFreeIncome,
            own.SpecialDeductions,
            own.OtherDeductions,
            own.PersonalPensionCumulative,
            own.Donations,
            own.TaxRelief,
            own.SpecialAdditionalCumulative};
}

// The employee's key: the cell without its blanks. An identity card number ends in a
// check character X, often typed in lower case: such a key is upper-cased in `spelt`.
std::string_view KeyOf(std::string_view cell, Input key, std::string &spelt) {
    const std::string_view text = SpreadsheetField::Trimmed(cell);
    if (key != kIdNumber || !text.ends_with('x')) {
        return text;
    }
    spelt.assign(text);
    spelt.back() = 'X';
    return spelt;
}

// The employee's faults that refuse all their rows, from what the rows say alike.
Fault PersonFault(std::span<const MonthRow> own, int year, std::uint8_t &detail) {
    const MonthRow &reference = own.front();
    for (const MonthRow &month : own) {
        for (std::size_t date = 0; date < month.Dates.size(); ++date) {
            if (month.Dates[date] != reference.Dates[date]) {
                detail = static_cast<std::uint8_t>(date == 0 ? kHireDate : kLeaveDate);
                return kDisagree;
            }
        }
        const std::uint8_t differ = (month.Flags ^ reference.Flags) & kPersonFlags;
        if (differ != 0) {
            detail = static_cast<std::uint8_t>((differ & kSixtyFlag) != 0      ? kSixtyThousand
                                               : (differ & kFirstJobFlag) != 0 ? kFirstJob
                                                                               : kDeductsAllowance);
            return kDisagree;
        }
    }
    const std::int32_t hire = reference.Dates[0];
    if (hire != 0 && hire / 10000 > year) {
        return kHiredAfterYear;
    }
    if ((reference.Flags & kSixtyFlag) != 0 &&
        ((hire != 0 && hire / 10000 == year) || year < kFirstSixtyThousandYear)) {
        detail = year < kFirstSixtyThousandYear ? 1 : 0;
        return kSixtyNotAllowed;
    }
    return kNone;
}

// Works out the months of one employee, in month order: each row's context gets the
// totals of the months before it.
void LinkEmployee(std::span<const MonthRow> own, int year, std::vector<RowContext> &contexts) {
    std::uint8_t detail = 0;
    const Fault person = PersonFault(own, year, detail);
    const MonthRow &reference = own.front();
    const std::int32_t hire = reference.Dates[0];
    const std::int32_t leave = reference.Dates[1];
    const bool hiredInYear = hire != 0 && hire / 10000 == year;
    const int hireMonth = hiredInYear ? hire / 100 % 100 : 1;
    const int start = (reference.Flags & kFirstJobFlag) != 0 ? 1
                      : hire != 0                            ? hireMonth
                                                             : MonthOf(reference.Month);
    const int leaveMonth = leave == 0             ? kNotLeft
                           : leave / 10000 < year ? 0
                           : leave / 10000 > year ? kNotLeft
                                                  : leave / 100 % 100;
    WithholdingPerson people{};
    people.DeductsAllowance = (reference.Flags & kNoAllowanceFlag) == 0;
    people.SixtyThousand = (reference.Flags & kSixtyFlag) != 0;
    people.StartMonth = start;
    people.LeaveMonth = leaveMonth == kNotLeft ? 0 : leaveMonth;
    people.LeftBeforeYear = leaveMonth == 0;

    WithholdingTotals totals{};
    std::uint8_t refusedMonth = 0;
    for (std::size_t i = 0; i < own.size(); ++i) {
        RowContext &context = contexts[own[i].Row];
        const int number = MonthOf(own[i].Month);
        const bool twice = (i > 0 && own[i - 1].Month == own[i].Month) ||
                           (i + 1 < own.size() && own[i + 1].Month == own[i].Month);
        const Fault fault = twice                ? kTwoRows
                            : number < hireMonth ? kBeforeHire
                            : refusedMonth != 0  ? kEarlierRefused
                                                 : kNone;
        WithholdingFacts &facts = context.Withholding;
        facts.Fault = person != kNone ? person : fault;
        facts.StartMonth = static_cast<std::uint8_t>(start);
        facts.LeaveMonth = static_cast<std::uint8_t>(leaveMonth);
        facts.Detail = facts.Fault == kEarlierRefused ? refusedMonth : detail;
        context.Group = own[i].Employee + 1;
        if (facts.Fault == kNone && (own[i].Flags & kRefusedFlag) == 0) {
            const WithholdingMonth month = Parked(context, number);
            context.Carried.Before = totals;
            if (const std::optional<WithheldMonth> figures = WithholdMonth(people, totals, month)) {
                totals = figures->After;
                continue;
            }
            facts.Fault = kTooLarge;
        }
        context.Carried = {};
        // A refused month takes every later month of the employee with it: their
        // cumulative figures would build on it.
        if (refusedMonth == 0) {
            refusedMonth = static_cast<std::uint8_t>(number);
        }
    }
}

bool LinkMonths(std::size_t rows, const ColumnMap &columns, const RowLinks::CellText &cell,
                const RowLinks::ReadRow &read, std::vector<RowContext> &contexts,
                const std::atomic<bool> *cancel) {
    // Each row's context is written first as the rows are read, in order.
    contexts.clear();
    contexts.reserve(rows);
    EmployeeIndex::AskForHugePages(contexts.data(), rows * sizeof(RowContext));
    Input key = kName;
    for (const Input candidate : kKeys) {
        if (Has(columns, candidate)) {
            key = candidate;
            break;
        }
    }
    // Every row read once, in the file's order: whose month it is, the month's own
    // figures and what it says of the employee. A row whose month cannot be read is
    // refused on its own and stands apart.
    std::vector<MonthRow> months;
    months.reserve(rows);
    // A year has twelve months: a twelfth of the rows is as many employees as most files have.
    EmployeeIndex employees(rows / 12);
    // How many rows name each year: a file names one or two.
    std::vector<std::pair<int, std::size_t>> yearCounts;
    std::string spelt;
    RowInput input;
    for (std::size_t row = 0; row < rows; ++row) {
        if (cancel != nullptr && row % 16384 == 0 && cancel->load(std::memory_order_relaxed)) {
            return false;
        }
        contexts.emplace_back();
        input.Numbers.fill(std::nullopt);
        input.InCents.fill(std::nullopt);
        const RowRead how = read(row, input);
        if (how == RowRead::Blank || !input.Numbers[kMonth]) {
            continue;
        }
        const std::string_view name = KeyOf(cell(row, columns.Column(key)), key, spelt);
        if (name.empty()) {
            contexts[row].Withholding.Fault = kNoKey;
            continue;
        }
        const std::int32_t month = *input.Numbers[kMonth];
        MonthRow entry{employees.NumberOf(name),
                       month,
                       static_cast<std::uint32_t>(row),
                       {input.Numbers[kHireDate].value_or(0), input.Numbers[kLeaveDate].value_or(0)},
                       0};
        entry.Flags |= input.Numbers[kSixtyThousand].value_or(0) == 1 ? kSixtyFlag : 0;
        entry.Flags |= input.Numbers[kFirstJob].value_or(0) == 1 ? kFirstJobFlag : 0;
        entry.Flags |= input.Numbers[kDeductsAllowance].value_or(1) == 0 ? kNoAllowanceFlag : 0;
        if (how == RowRead::Read) {
            Park(contexts[row], MonthOfRow(input));
        } else {
            entry.Flags |= kRefusedFlag;
        }
        months.push_back(entry);
        const auto counted = std::find_if(yearCounts.begin(), yearCounts.end(),
                                          [&](const auto &count) { return count.first == YearOf(month); });
        if (counted != yearCounts.end()) {
            ++counted->second;
        } else {
            yearCounts.emplace_back(YearOf(month), 1);
        }
    }
    // The tax year is the one most rows name; a tie goes to the later year.
    int year = 0;
    std::size_t most = 0;
    for (const auto &[candidate, count] : yearCounts) {
        if (count > most || (count == most && candidate > year)) {
            year = candidate;
            most = count;
        }
    }
    std::erase_if(months, [&](const MonthRow &month) {
        RowContext &context = contexts[month.Row];
        if (YearOf(month.Month) != year) {
            context = RowContext{};
            context.Withholding.Fault = kOtherYear;
            context.Carried.TaxYear = year;
            return true;
        }
        if (year < kFirstCumulativeYear) {
            context = RowContext{};
            context.Withholding.Fault = kBeforeCumulation;
            return true;
        }
        return false;
    });
    std::sort(months.begin(), months.end(), [](const MonthRow &a, const MonthRow &b) {
        return a.Employee != b.Employee ? a.Employee < b.Employee
               : a.Month != b.Month     ? a.Month < b.Month
                                        : a.Row < b.Row;
    });
    for (std::size_t first = 0; first < months.size();) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            return false;
        }
        std::size_t end = first;
        while (end < months.size() && months[end].Employee == months[first].Employee) {
            ++end;
        }
        LinkEmployee(std::span<const MonthRow>(months.data() + first, end - first), year, contexts);
        first = end;
    }
    return true;
}

}  // namespace

RowOutcome WithholdRow(const RowInput &input, RowFigures &figures) {
    return ComputeMonth(input, figures);
}

bool CheckWithholdHeader(ColumnMap &columns, const CsvRecord &header, std::string &error) {
    return CheckHeader(columns, header, error);
}

bool LinkWithholdMonths(std::size_t rows, const ColumnMap &columns, const RowLinks::CellText &cell,
                        const RowLinks::ReadRow &read, std::vector<RowContext> &contexts,
                        const std::atomic<bool> *cancel) {
    return LinkMonths(rows, columns, cell, read, contexts, cancel);
}

}  // namespace taxcalc
