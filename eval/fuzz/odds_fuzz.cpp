// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
// Feeds ShowOdds arbitrary card texts and suited states and checks every answer against the
// grids, which are written apart from the program's rule lists.

#include "odds.h"

#include "expected_grids.h"
#include "fake_hand_view.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

namespace
{

// Half the time a real rank, so that matched hands are as well covered as foreign texts.
std::string cardText(FuzzedDataProvider &data)
{
    if (data.ConsumeBool())
        return std::string(expected::Ranks[data.ConsumeIntegralInRange<int>(0, 12)]);
    return data.ConsumeRandomLengthString(64);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const auto suited = data.ConsumeIntegral<std::int16_t>();
    std::string card1 = cardText(data);
    std::string card2 = cardText(data);
    std::string before = data.ConsumeRemainingBytesAsString();

    FakeHandView view(card1, card2, suited, before);
    eval::ShowOdds(view);

    const std::string want = expected::resultAfterEvaluation(card1, card2, suited);
    if (view.result != want || view.writes != 1 || view.card1 != card1 || view.card2 != card2) {
        std::fprintf(stderr, "card1 '%s' card2 '%s' suited %d: got '%s' (%d writes), want '%s'\n",
            card1.c_str(), card2.c_str(), suited, view.result.c_str(), view.writes, want.c_str());
        std::abort();
    }
    return 0;
}
