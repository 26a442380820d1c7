// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
//
// Why a few wages beside each breakpoint find the exact least.
//
// The wage w runs over whole cents from the minimum wage to Total / 12, the bonus
// being Total - 12 w. The tax searched (the year tax before 2019; from 2019 the tax
// with the bonus on its own, the combined tax being the same for every w) is a sum
// of terms, each counted m times (m = 12 for the monthly wage tax, else 1). A term
// taxes an amount x at its row: round(N / 100) cents, N = x * rate - 100 * quick
// deduction in hundredths of a cent, or 0 for x <= 0. As w grows by a cent, x moves
// by a whole step k: +1 (the monthly taxable wage), +12 (the yearly taxable income),
// -12 (the bonus), -11 (the bonus while a month's wage below the allowance lowers
// it). A breakpoint is the last wage before some x crosses 0 or a bound of its
// table. The short-wage rule needs none of its own: it holds while the monthly
// taxable wage is below 0, and its -11 step still leads to the wage where that
// taxable reaches 0, a breakpoint of the monthly term. On a piece [a, c] between
// breakpoints every term keeps its row, so N moves by rate * k per cent of wage
// and the exact, unrounded sum E(w) of m * N / 100 is linear: slope s / 100 cents
// per cent, with s = the sum of m * rate * k over the terms with x > 0.
//
// (1) Rounding error. A term rounds to within half a cent of N / 100, so the tax T(w)
// lies within e = the sum of m / 2 cents of E(w). If s > 0 and (w - a) * s / 100 > 2e,
// then T(w) >= E(w) - e > E(a) + e >= T(a): w does not reach the least of [a, c].
// So every wage reaching it lies within 200 e / s cents of a; for s < 0, of c.
//
// (2) Periodicity. No row taxes a negative N (a quick deduction never exceeds the
// row's rate times its lower bound), and for N >= 0 both rounding rules depend only
// on N mod 100 and the parity of N div 100: round((N + 200) / 100) = round(N / 100) + 2.
// Take p = 200 / gcd(200, every rate * k): over p cents of wage each N moves by a
// multiple of 200, so T(w + p) = T(w) + p * s / 100 exactly while w, w + p lie in
// [a, c]. For s > 0, w + p is always worse than w, so the wages reaching the least
// lie in the first p cents of [a, c]; for s < 0 in the last p; for s = 0, T repeats
// every p cents, and the last p cents of [a, c] (all of it when shorter) hold the
// least and the largest wage that reaches it.
//
// So each piece is searched only within min(p - 1, 200 e / |s|) cents of the end
// that s favours, or in its last p cents when s = 0: with e <= 6.5 cents and rates
// at least 5 points apart, 21 cents at most on a sloped piece and 200 on a flat one,
// whatever the total. Wages are taken in ascending order and a tie goes to the later
// one, so the search ends with the least and the largest wage that reaches it.
#include "engine/best_split.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <numeric>

#include "engine/pay_planner.h"

namespace taxcalc {
namespace {

// N in hundredths of a cent repeats its rounding every 200.
constexpr Cents kRoundingCycle = 200;
// Half a cent, in hundredths of a cent.
constexpr Cents kHalfCent = 50;

// One year's pay: 12 x wage + bonus = Total.
struct Year {
    const PeriodRules &Rules;
    Cents Total;
    Cents Deductions;
    Cents Special;
};

// One taxed amount of the year at a given wage.
struct Term {
    std::span<const CentsBracket> Brackets;
    Cents Amount;      // x; untaxed when <= 0
    Cents Scale;       // its row is the row of x / Scale
    Cents Step;        // how x moves as the wage grows by a cent, within a piece
    Cents Multiplier;  // how many times the year counts its tax
};

Cents BonusOf(const Year &year, Cents wage) {
    return year.Total - kMonthsPerYear * wage;
}

// The wage's part of the year's comprehensive taxable income from 2019.
Cents YearlyTaxable(const Year &year, Cents wage) {
    return kMonthsPerYear * (wage - year.Deductions - year.Rules.Allowance) - year.Special;
}

// Before 2019: the bonus is taxed with the month's wage after deductions.
std::array<Term, 2> MonthlyTerms(const Year &year, Cents wage) {
    const Cents monthWage = wage - year.Deductions;
    const Cents base = BonusBaseOf(year.Rules, BonusOf(year, wage), monthWage);
    // A short wage gives back to the base a cent for each cent it grows.
    const Cents baseStep = year.Rules.WageReducesBonus && monthWage < year.Rules.Allowance
                               ? 1 - kMonthsPerYear
                               : -kMonthsPerYear;
    return {{{year.Rules.Brackets, monthWage - year.Rules.Allowance, 1, 1, kMonthsPerYear},
             {year.Rules.Brackets, base, kMonthsPerYear, baseStep, 1}}};
}

// From 2019: the wages' yearly taxable income and the bonus on its own.
std::array<Term, 2> SeparateTerms(const Year &year, Cents wage) {
    return {{{YearlyBrackets(), YearlyTaxable(year, wage), 1, kMonthsPerYear, 1},
             {year.Rules.Brackets, BonusOf(year, wage), kMonthsPerYear, -kMonthsPerYear, 1}}};
}

std::array<Term, 2> TermsAt(const Year &year, Cents wage) {
    return TaxesWagesMonthly(year.Rules) ? MonthlyTerms(year, wage) : SeparateTerms(year, wage);
}

Cents TaxOf(const Year &year, Cents wage) {
    const std::array<Term, 2> terms = TermsAt(year, wage);
    if (TaxesWagesMonthly(year.Rules)) {
        return kMonthsPerYear * WageTaxOfTaxable(year.Rules, terms[0].Amount) +
               BonusTaxOfBase(year.Rules, terms[1].Amount);
    }
    return YearlyTax(std::max<Cents>(terms[0].Amount, 0)) + BonusTaxOfBase(year.Rules, terms[1].Amount);
}

// From 2019 everything taxed together: the wages' taxable income plus the bonus,
// which is the same for every split of the total.
Cents CombinedTax(const Year &year, Cents wage) {
    return YearlyTax(std::max<Cents>(YearlyTaxable(year, wage) + BonusOf(year, wage), 0));
}

YearTax YearTaxAt(const Year &year, Cents wage) {
    const Cents tax = TaxOf(year, wage);
    if (TaxesWagesMonthly(year.Rules)) {
        return {tax, BonusMethod::Separate};
    }
    const Cents combined = CombinedTax(year, wage);
    return tax <= combined ? YearTax{tax, BonusMethod::Separate} : YearTax{combined, BonusMethod::Combined};
}

int RateOf(const Term &term) {
    // The first row whose bound x Scale reaches x: the first whose bound reaches x / Scale rounded up.
    const Cents average = (term.Amount + term.Scale - 1) / term.Scale;
    return term.Brackets[RowOf(term.Brackets, average)].RatePercent;
}

// The last wages of the pieces within [low, high).
struct Breakpoints {
    // Two terms of at most nine rows each.
    std::array<Cents, 18> Wages{};
    std::size_t Count = 0;
};

// Adds the last wage in [low, high) before x of term `index` passes `edge`, if it
// passes it there: x only rises or only falls as the wage grows.
void AddCrossing(Breakpoints &breaks, const Year &year, std::size_t index, Cents edge, Cents low,
                 Cents high) {
    const auto before = [&](Cents wage) {
        const Term term = TermsAt(year, wage)[index];
        return term.Step > 0 ? term.Amount <= edge : term.Amount > edge;
    };
    if (!before(low) || before(high)) {
        return;
    }
    while (high - low > 1) {  // before(low) and not before(high)
        const Cents middle = low + (high - low) / 2;
        (before(middle) ? low : high) = middle;
    }
    breaks.Wages[breaks.Count++] = low;
}

// Ascending, without repeats.
std::span<const Cents> Sorted(Breakpoints &breaks) {
    const auto first = breaks.Wages.begin();
    std::sort(first, first + breaks.Count);
    return {breaks.Wages.data(), static_cast<std::size_t>(std::unique(first, first + breaks.Count) - first)};
}

struct Least {
    Cents Tax = std::numeric_limits<Cents>::max();
    Cents Wage = 0;  // the largest wage seen that reaches Tax
};

void Evaluate(const Year &year, Cents first, Cents last, Least &least) {
    for (Cents wage = first; wage <= last; ++wage) {
        const Cents tax = TaxOf(year, wage);
        if (tax <= least.Tax) {
            least = {tax, wage};
        }
    }
}

// One piece [first, last] on which every term keeps its row: see the proof above.
void SearchPiece(const Year &year, Cents first, Cents last, Least &least) {
    Cents slope = 0;  // hundredths of a cent per cent of wage
    Cents error = 0;  // hundredths of a cent
    Cents cycle = kRoundingCycle;
    for (const Term &term : TermsAt(year, first)) {
        if (term.Amount <= 0) {
            continue;
        }
        const Cents move = RateOf(term) * term.Step;
        slope += term.Multiplier * move;
        error += term.Multiplier * kHalfCent;
        cycle = std::gcd(cycle, move);
    }
    const Cents period = kRoundingCycle / cycle;
    if (slope == 0) {
        Evaluate(year, std::max(first, last - period + 1), last, least);
        return;
    }
    const Cents reach = std::min(period - 1, 2 * error / std::abs(slope));
    if (slope > 0) {
        Evaluate(year, first, std::min(last, first + reach), least);
    } else {
        Evaluate(year, std::max(first, last - reach), last, least);
    }
}

Least SearchWages(const Year &year, Cents low, Cents high) {
    Breakpoints breaks;
    for (std::size_t index = 0; index < 2; ++index) {
        const Term term = TermsAt(year, low)[index];
        AddCrossing(breaks, year, index, 0, low, high);
        for (std::size_t row = 0; row + 1 < term.Brackets.size(); ++row) {
            AddCrossing(breaks, year, index, term.Brackets[row].UpperBound * term.Scale, low, high);
        }
    }
    Least least;
    Cents first = low;
    for (const Cents last : Sorted(breaks)) {
        SearchPiece(year, first, last, least);
        first = last + 1;
    }
    SearchPiece(year, first, high, least);
    return least;
}

}  // namespace

YearTax YearTaxOfSplit(const PeriodRules &rules, Cents wage, Cents bonus, Cents deductions,
                       Cents specialDeductions) noexcept {
    return YearTaxAt(Year{rules, kMonthsPerYear * wage + bonus, deductions, specialDeductions}, wage);
}

std::optional<SplitPlan> BestSplit(const PeriodRules &rules, const SplitInput &input) noexcept {
    if (!InRange(input.Wage) || !InRange(input.Bonus) || !InRange(input.Deductions) ||
        !InRange(input.MinimumWage) || !InRange(input.SpecialDeductions)) {
        return std::nullopt;
    }
    const Year year{rules, kMonthsPerYear * input.Wage + input.Bonus, input.Deductions,
                    input.SpecialDeductions};
    SplitPlan plan{};
    plan.Current = YearTaxAt(year, input.Wage);
    const Cents low = input.MinimumWage;
    const Cents high = year.Total / kMonthsPerYear;
    if (low > high) {
        plan.Outcome = SplitOutcome::MinimumWageAboveShare;
        return plan;
    }
    const Least least = SearchWages(year, low, high);
    Cents leastTax = least.Tax;
    Cents wage = least.Wage;
    if (!TaxesWagesMonthly(rules) && CombinedTax(year, low) <= least.Tax) {
        // Every split reaches the combined tax, the largest wage among them.
        leastTax = CombinedTax(year, low);
        wage = high;
    }
    // A current wage below the minimum is no candidate, however little it costs.
    plan.KeepsCurrent = input.Wage >= low && plan.Current.Tax == leastTax;
    plan.Outcome = SplitOutcome::Planned;
    plan.Wage = plan.KeepsCurrent ? input.Wage : wage;
    plan.Bonus = year.Total - kMonthsPerYear * plan.Wage;
    plan.Advised = YearTaxAt(year, plan.Wage);
    plan.Saving = plan.Current.Tax - plan.Advised.Tax;
    return plan;
}

}  // namespace taxcalc
