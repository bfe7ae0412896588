// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
// Every stored answer against the grids written out apart from the program's rule lists, and what
// the evaluation does with anything else a window can hold.

#include "odds.h"

#include "expected_grids.h"
#include "fake_hand_view.h"

#include <gtest/gtest.h>

#include <tuple>

namespace
{

std::string nameOf(std::string_view rank)
{
    return rank == "10" ? "T" : std::string(rank);
}

// All 169 hands in both card orders, offsuit and suited: 338 cases, named like "AKs" and "KAo".
class EveryHand : public ::testing::TestWithParam<std::tuple<int, int, std::int16_t>>
{
};

TEST_P(EveryHand, ShowsItsStoredWinChanceOnce)
{
    const auto [row, column, suited] = GetParam();
    const auto &grid = (row == column || suited == 1) ? expected::Suited : expected::Offsuit;
    FakeHandView view(
        std::string(expected::Ranks[row]), std::string(expected::Ranks[column]), suited);
    eval::ShowOdds(view);
    EXPECT_EQ(view.result, std::to_string(grid[row][column]) + "%");
    EXPECT_EQ(view.writes, 1) << "a second rule matched";
}

std::string handName(const ::testing::TestParamInfo<EveryHand::ParamType> &info)
{
    const auto [row, column, suited] = info.param;
    return nameOf(expected::Ranks[row]) + nameOf(expected::Ranks[column]) + (suited ? "s" : "o");
}

INSTANTIATE_TEST_SUITE_P(AllHands, EveryHand,
    ::testing::Combine(
        ::testing::Range(0, 13), ::testing::Range(0, 13), ::testing::Values<std::int16_t>(0, 1)),
    handName);

// Whatever else the two selectors and the box can hold. A pair answers whatever the box says;
// anything unknown clears an old answer rather than leave it beside cards it does not belong to.
struct Other {
    const char *name;
    std::string card1, card2;
    std::int16_t suited;
    const char *result;

    friend void PrintTo(const Other &other, std::ostream *out) { *out << other.name; }
};

class OtherInput : public ::testing::TestWithParam<Other>
{
};

TEST_P(OtherInput, AnswersOnlyForRanksAndClearsOtherwise)
{
    const Other &input = GetParam();
    FakeHandView view(input.card1, input.card2, input.suited, "65%");
    eval::ShowOdds(view);
    EXPECT_EQ(view.result, input.result);
    EXPECT_EQ(view.writes, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, OtherInput,
    ::testing::Values(Other{"StartTexts", "Card 1", "Card 2", 1, ""},
        Other{"OneCardPicked", "A", "Card 2", 0, ""}, Other{"Empty", "", "K", 0, ""},
        Other{"Lowercase", "A", "k", 1, ""}, Other{"LeadingSpace", " A", "K", 0, ""},
        Other{"TrailingSpace", "A", "K ", 0, ""}, Other{"TForTen", "T", "9", 0, ""},
        Other{"TenWithZeroPrefix", "010", "9", 0, ""},
        Other{"Long", std::string(10'000, 'A'), "K", 0, ""},
        Other{"Unicode", "\xc3\x84", "\xe2\x99\xa0", 1, ""},
        Other{"EmbeddedNul", std::string("A\0", 2), "K", 0, ""},
        Other{"InvalidUtf8", "\xff\xfe", "K", 0, ""}, Other{"Greyed", "A", "K", 2, ""},
        Other{"Negative", "A", "K", -1, ""}, Other{"PairGreyed", "A", "A", 2, "85%"},
        Other{"PairOutOfRange", "2", "2", -32768, "50%"}),
    [](const auto &info) { return std::string(info.param.name); });

// A failing window operation passes through untouched, and an answer already written stays.
TEST(FailingView, PassesTheExceptionOnAndKeepsWhatWasWritten)
{
    for (const auto failing : {FakeHandView::Operation::Card1, FakeHandView::Operation::Suited,
             FakeHandView::Operation::SetResult}) {
        FakeHandView view("A", "A", 0);
        view.failing = failing;
        EXPECT_THROW(eval::ShowOdds(view), std::runtime_error);
        EXPECT_EQ(view.result, failing == FakeHandView::Operation::Suited ? "85%" : "before");
    }
}

} // namespace
