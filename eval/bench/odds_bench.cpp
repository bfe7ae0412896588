// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
// Cost of one evaluation through a hand view over plain strings.
// cmake --build --preset release && build/release/eval/odds_bench

#include "odds.h"

#include <benchmark/benchmark.h>

namespace
{

struct View final : eval::HandView {
    std::string card1, card2;
    std::int16_t suited = 0;
    std::string result;

    std::string card1Text() const override { return card1; }
    std::string card2Text() const override { return card2; }
    std::int16_t suitedState() const override { return suited; }
    void setResult(std::string_view text) override { result = text; }
};

void evaluate(benchmark::State &state, const char *card1, const char *card2, std::int16_t suited)
{
    View view;
    view.card1 = card1, view.card2 = card2, view.suited = suited;
    for (auto _ : state) {
        eval::ShowOdds(view);
        benchmark::DoNotOptimize(view.result);
    }
}

// A pair, an offsuit hand near the end of its table, and a hand no rule knows.
BENCHMARK_CAPTURE(evaluate, pair_AA, "A", "A", 0);
BENCHMARK_CAPTURE(evaluate, offsuit_2_3, "2", "3", 0);
BENCHMARK_CAPTURE(evaluate, unmatched_Card1_K, "Card 1", "K", 1);

} // namespace

BENCHMARK_MAIN();
