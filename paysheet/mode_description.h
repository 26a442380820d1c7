// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// What each mode of taxcalc-batch reads, adds and computes. A mode is a
// description: its input columns (names, aliases, defaults), its added columns and
// one function from a row's figures to the added cells. The header search, the
// reading of amounts, the refusals and the writing are shared by every mode.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/period_rules.h"
#include "engine/tax_engine.h"
#include "paysheet/mode_result.h"
#include "paysheet/row_context.h"
#include "paysheet/row_figures.h"

namespace taxcalc {

class ColumnMap;
struct CsvRecord;
struct RowLinks;

// Which figures a run computes for each row.
enum class BatchMode { Bonus, Wage, GrossBonus, GrossWage, Split, Withhold, Remuneration, Reconcile };

// The periods under which an input column is read or an added column written.
enum class Applies {
    Always,
    WageRule,           // where a month's wage below the allowance lowers the bonus (before 2019)
    ComprehensiveYear,  // where the year's comprehensive income is taxed as a whole (from 2019)
};

// What an empty cell, or a missing column, stands for.
enum class ColumnDefault {
    Required,  // the header must have the column; an empty cell refuses the row
    Zero,
    Allowance,  // the period's monthly allowance
    // Nothing: the figures that need it stay empty, and the added columns that name it
    // in NeedsInput are written only when the header has the column.
    Optional,
    Yes,  // a yes/no that an empty cell answers with 是 (Zero answers 否)
};

// What a column holds.
enum class Field : std::uint8_t {
    Amount,  // read as SpreadsheetAmount reads it
    Text,    // taken as it is, blanks around it dropped
    Month,   // a month of a year (SpreadsheetField::ReadMonth)
    Date,    // a day (SpreadsheetField::ReadDate)
    YesNo,   // 是 or 否
    Year,    // a year of four digits
};

// A text of the help, in Chinese and in English.
struct Wording {
    std::string_view Chinese;
    std::string_view English;
};

struct InputColumn {
    std::string_view Chinese;  // also what refusals call a missing column
    std::string_view English;  // matched in any case
    ColumnDefault Default;
    Applies When = Applies::Always;
    Field Kind = Field::Amount;
    // What the help says of the column beyond its names, kind, default and periods.
    Wording Note = {};
};

// What an added column's figure is to the window and to a payroll's totals, which
// find their cells by it and never by a header.
enum class ColumnRole : std::uint8_t {
    None,
    Tax,                // the row's tax
    AdvisedTax,         // the tax the row would pay by following its advice (only where it has one)
    Advice,             // another figure of the advice (the advised bonus, wage or method)
    Saving,             // what following the row's advice saves, written as such
    Withheld,           // the tax withheld this month, totalled for the file's latest month
    Settlement,         // a payment (补税) when positive, a refund when negative; waived ones apart
    CumulativeTaxable,  // the year's taxable income so far
};

// An added column: its header, what it is, and how its cell is written from the
// row's result, so that the column and its figure cannot part.
struct AddedColumn {
    std::string_view Header;
    Applies When = Applies::Always;
    std::optional<std::size_t> NeedsInput = std::nullopt;  // an index into the mode's Inputs
    ColumnRole Role = ColumnRole::None;
    CellWriter Write = nullptr;
};

// One row's figures, by the index of their input column. Amounts are read as the
// panels read their entries; defaults are filled in.
struct RowInput {
    static constexpr std::size_t kMaxInputs = 32;

    // The period's rules; the 2011 period's where the mode computes with the window's
    // own methods.
    const PeriodRules *Rules = nullptr;
    // Empty for an optional figure that is not given, and for a column that does not
    // apply under the period.
    std::array<std::optional<Amount>, kMaxInputs> Amounts;
    // The same rounded to the cent; filled for modes that compute under a period, whose
    // arithmetic is in whole cents.
    std::array<std::optional<Cents>, kMaxInputs> InCents;
    // The other fields: a text without the blanks around it; a month as year x 100 +
    // month; a date as year x 10000 + month x 100 + day; a yes/no as 1 or 0; a year.
    // Empty where the cell is empty and has no default.
    std::array<std::string_view, kMaxInputs> Texts;
    std::array<std::optional<std::int32_t>, kMaxInputs> Numbers;
    // What the rows before this one leave to it, for a mode whose rows depend on
    // others (RowLinks); nullptr for every other mode.
    const RowContext *Context = nullptr;
};

enum class RowOutcome {
    Computed,
    TooLarge,  // the shared refusal names every figure that the row gives
    Refused,   // the compute function has said why with RowFigures::Refuse
};

// How a mode takes --rules.
enum class RulesUse {
    None,     // refused: the mode has one set of schedules
    Window,   // only 2011 or nothing: the window's own methods and number forms
    Periods,  // any period, 2011 when none is named
    Fixed,    // refused: the mode computes under one period, in whole cents
};

// A tiny input and what a run of the mode writes for it, as its help shows them. A
// test runs the input through the real processor and compares, so that the example
// cannot say what the mode does not do.
struct ModeExample {
    std::optional<PeriodId> Rules = std::nullopt;  // the period named with --rules
    std::string_view Input;                        // CSV, a record a line, LF line ends
    std::string_view Output;  // what the run writes, without its byte order mark, LF line ends
};

struct ModeDescription {
    BatchMode Mode;
    std::string_view Name;   // on the command line
    std::string_view Title;  // in the window's choice of modes
    RulesUse Rules;
    std::span<const InputColumn> Inputs;  // what it reads of each row
    std::span<const AddedColumn> Added;   // at most RowFigures::kMaxCells
    // Sets figures.Result (and the row's flags), or refuses the row; the cells are
    // then written from the result by the added columns.
    RowOutcome (*Compute)(const RowInput &input, RowFigures &figures);
    // The periods the mode computes at all, and why it computes nothing under the
    // others.
    Applies Periods = Applies::Always;
    std::string_view PeriodRefusal = {};
    std::string_view PeriodRefusalEnglish = {};  // the same, in the help's English
    // The period of a mode that computes under one (RulesUse::Fixed).
    PeriodId FixedPeriod = PeriodId::Y2019;
    // For a mode whose rows depend on each other, what each row takes from the others:
    // worked out for the whole table before any row is computed. nullptr for a mode
    // whose rows stand alone.
    const RowLinks *Links = nullptr;
    // A check of the header beyond its columns' names, which may let go of a column
    // that a former run wrote; nullptr where there is none. Fails, saying why in `error`.
    bool (*CheckHeader)(ColumnMap &columns, const CsvRecord &header, std::string &error) = nullptr;

    // What the help says of the mode. The columns, defaults, periods, the use of
    // --rules and the refusal of negative amounts are told from the fields above;
    // these say the rest.
    std::string_view EnglishTitle = {};
    Wording Summary = {};                    // one line each
    std::span<const Wording> Notes = {};     // how the rows are computed, beyond their columns
    std::span<const Wording> Refusals = {};  // rows refused for what they hold together
    // Empty for the further descriptions of a mode that have nothing to show beyond
    // the first's.
    ModeExample Example = {};
};

// Every description, in the order the modes are offered; a mode may stand more
// than once, for different uses of a period, and is offered at its first.
std::span<const ModeDescription> ModeDescriptions() noexcept;

// Each mode once, at its first description, in the order offered.
std::vector<const ModeDescription *> OfferedModes();

// The mode that a command-line name stands for.
std::optional<BatchMode> ModeNamed(std::string_view name) noexcept;

// "bonus 或 wage": every mode's name, for messages.
std::string ModeNames();

// The names of the modes that take a period, the same way.
std::string ModeNamesTakingPeriods();

// "2008（发放日 2008-03-01 至 2011-08-31）、…或 2019（…）": the periods, for messages.
std::string PeriodNames();

// "a、b 或 c"
std::string JoinedWithOr(std::span<const std::string> items);

}  // namespace taxcalc
