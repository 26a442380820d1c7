// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The taxcalc developers
#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <random>

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

}  // namespace
}  // namespace taxcalc
