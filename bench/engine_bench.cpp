// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "engine/best_split.h"
#include "engine/pay_planner.h"
#include "engine/tax_engine.h"

namespace taxcalc {
namespace {

// A power of two, so that the index wraps with a mask; small enough to stay in L1.
constexpr std::size_t kSpread = 1024;

struct Pair {
    Amount First;
    Amount Second;
};

// Amounts typed to the cent or the tenth of a cent, spread over every bracket.
double TypedAmount(std::mt19937_64 &random, double top) {
    const auto thousandths =
        std::uniform_int_distribution<long long>(0, static_cast<long long>(top * 1000))(random);
    return static_cast<double>(thousandths) / 1000;
}

std::array<Pair, kSpread> MakePairs(double firstTop, double secondTop, unsigned seed) {
    std::mt19937_64 random(seed);
    std::array<Pair, kSpread> pairs{};
    for (Pair &pair : pairs) {
        pair.First = TypedAmount(random, firstTop);
        pair.Second = TypedAmount(random, secondTop);
    }
    return pairs;
}

void CompareWageTaxSpread(benchmark::State &state) {
    const auto inputs = MakePairs(150000, 5000, 1);
    std::size_t i = 0;
    for (auto _ : state) {
        const Pair &input = inputs[i++ & (kSpread - 1)];
        benchmark::DoNotOptimize(CompareWageTax(input.First, input.Second));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(CompareWageTaxSpread);

void CompareBonusTaxThenAdviseSpread(benchmark::State &state) {
    const auto inputs = MakePairs(1500000, 8000, 2);
    std::size_t i = 0;
    for (auto _ : state) {
        const Pair &input = inputs[i++ & (kSpread - 1)];
        const BonusTaxComparison comparison = CompareBonusTax(input.First, input.Second);
        benchmark::DoNotOptimize(comparison);
        benchmark::DoNotOptimize(AdviseBonus(comparison.BonusBase2011, input.Second));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(CompareBonusTaxThenAdviseSpread);

// Argument: the largest amount; 1e15 sends most of the spread down the binary path.
void RoundCentsSpread(benchmark::State &state) {
    const auto inputs = MakePairs(static_cast<double>(state.range(0)), 1, 3);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RoundCents(inputs[i++ & (kSpread - 1)].First * 1.03));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RoundCentsSpread)->Arg(1000000)->Arg(1000000000000000);

// A payroll of 10,000 rows with year totals up to 3,000,000 yuan; argument: the
// period, oldest first. Each item is one row's whole search.
void BestSplitPayroll(benchmark::State &state) {
    const PeriodRules &rules = AllPeriods()[static_cast<std::size_t>(state.range(0))];
    std::mt19937_64 random(4);
    std::uniform_int_distribution<Cents> totals(0, 3'000'000'00);
    std::uniform_int_distribution<Cents> deductions(0, 3000'00);
    std::vector<SplitInput> rows(10000);
    for (SplitInput &row : rows) {
        const Cents total = totals(random);
        row.Wage = std::uniform_int_distribution<Cents>(0, total / 12)(random);
        row.Bonus = total - 12 * row.Wage;
        row.Deductions = deductions(random);
        row.MinimumWage = std::min(row.Wage, Cents{2000'00});
        row.SpecialDeductions = 12 * deductions(random);
    }
    for (auto _ : state) {
        for (const SplitInput &row : rows) {
            benchmark::DoNotOptimize(BestSplit(rules, row));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rows.size()));
}
BENCHMARK(BestSplitPayroll)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void GrossBonusForNetSpread(benchmark::State &state) {
    const auto inputs = MakePairs(1500000, 8000, 5);
    const PeriodRules &rules = *FindPeriod("2011");
    std::size_t i = 0;
    for (auto _ : state) {
        const Pair &input = inputs[i++ & (kSpread - 1)];
        benchmark::DoNotOptimize(GrossBonusForNet(rules, *ToCents(input.First), *ToCents(input.Second)));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(GrossBonusForNetSpread);

}  // namespace
}  // namespace taxcalc
