// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#include "odds.h"
#include "tables.h"

#include "expected_grids.h"
#include "fake_hand_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>

using eval::HandRule;
using eval::OffsuitOdds;
using eval::ShowOdds;
using eval::SuitedOdds;

namespace
{

std::string evaluate(
    std::string card1, std::string card2, std::int16_t suited, std::string before = "typed")
{
    FakeHandView view(std::move(card1), std::move(card2), suited, std::move(before));
    ShowOdds(view);
    return view.result;
}

int percent(std::string_view text)
{
    EXPECT_EQ(text.back(), '%') << text;
    return std::stoi(std::string(text.substr(0, text.size() - 1)));
}

// --- every starting hand, both card orders, against the grids ---------------------------------

class EveryHand : public ::testing::TestWithParam<std::tuple<int, int, int>>
{
};

TEST_P(EveryHand, ShowsTheStoredWinChance)
{
    const auto [row, column, suited] = GetParam();
    const std::string card1(expected::Ranks[row]);
    const std::string card2(expected::Ranks[column]);
    const auto &grid = (row == column || suited == 1) ? expected::Suited : expected::Offsuit;
    const std::string want = std::to_string(grid[row][column]) + "%";

    FakeHandView view(card1, card2, static_cast<std::int16_t>(suited), "old");
    ShowOdds(view);
    EXPECT_EQ(view.result, want);
    EXPECT_EQ(view.writes, 1) << "one rule only may match";
}

INSTANTIATE_TEST_SUITE_P(AllHands, EveryHand,
    ::testing::Combine(::testing::Range(0, 13), ::testing::Range(0, 13), ::testing::Values(0, 1)),
    [](const auto &info) {
        auto name = [](int i) {
            return std::string(expected::Ranks[i] == "10" ? "T" : expected::Ranks[i]);
        };
        return name(std::get<0>(info.param)) + name(std::get<1>(info.param))
            + (std::get<2>(info.param) ? "s" : "o");
    });

// --- the lookups on their own ------------------------------------------------------------------

TEST(Lookups, EachAnswersOnlyForItsOwnTable)
{
    for (int row = 0; row < 13; ++row) {
        for (int column = 0; column < 13; ++column) {
            const std::string card1(expected::Ranks[row]);
            const std::string card2(expected::Ranks[column]);
            FakeHandView suited(card1, card2, 0, "before");
            FakeHandView offsuit(card1, card2, 1, "before");
            const bool suitedMatched = SuitedOdds(suited);
            const bool offsuitMatched = OffsuitOdds(offsuit);
            if (row == column) {
                // A pair belongs to neither table: the text stays as it was.
                EXPECT_FALSE(suitedMatched);
                EXPECT_FALSE(offsuitMatched);
                EXPECT_EQ(suited.result, "before");
                EXPECT_EQ(offsuit.result, "before");
                EXPECT_EQ(suited.writes + offsuit.writes, 0);
            } else {
                EXPECT_TRUE(suitedMatched && offsuitMatched);
                EXPECT_EQ(percent(suited.result), expected::Suited[row][column]);
                EXPECT_EQ(percent(offsuit.result), expected::Offsuit[row][column]);
            }
        }
    }
}

TEST(Lookups, UnknownTextsWriteNothing)
{
    FakeHandView view("Card 1", "K", 1, "65%");
    EXPECT_FALSE(SuitedOdds(view));
    EXPECT_FALSE(OffsuitOdds(view));
    EXPECT_EQ(view.result, "65%");
    EXPECT_EQ(view.writes, 0);
}

// --- the suited state -------------------------------------------------------------------------

class SuitedState : public ::testing::TestWithParam<std::int16_t>
{
};

TEST_P(SuitedState, PairsAnswerWhateverTheState)
{
    EXPECT_EQ(evaluate("A", "A", GetParam()), "85%");
    EXPECT_EQ(evaluate("2", "2", GetParam()), "50%");
    EXPECT_EQ(evaluate("10", "10", GetParam()), "75%");
}

TEST_P(SuitedState, OnlyZeroAndOneAnswerTwoRanks)
{
    const std::int16_t state = GetParam();
    const std::string got = evaluate("A", "K", state);
    if (state == 0)
        EXPECT_EQ(got, "65%");
    else if (state == 1)
        EXPECT_EQ(got, "67%");
    else
        EXPECT_EQ(got, "") << "state " << state;
}

TEST_P(SuitedState, IsReadOnceForEachLookup)
{
    FakeHandView view("Q", "J", GetParam());
    ShowOdds(view);
    EXPECT_EQ(view.suitedReads, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SuitedState, ::testing::Values<std::int16_t>(0, 1, 2, -1, 3, 256, 32767, -32768));

// --- texts that are not rank labels ------------------------------------------------------------

class ForeignText : public ::testing::TestWithParam<std::string>
{
};

TEST_P(ForeignText, ClearsTheResultInEitherSelector)
{
    for (std::int16_t suited : {0, 1, 2}) {
        EXPECT_EQ(evaluate(GetParam(), "K", suited, "65%"), "") << "card 1, suited " << suited;
        EXPECT_EQ(evaluate("K", GetParam(), suited, "65%"), "") << "card 2, suited " << suited;
        EXPECT_EQ(evaluate(GetParam(), GetParam(), suited, "65%"), "") << "both, " << suited;
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, ForeignText,
    ::testing::Values("Card 1", "Card 2", "", "a", "k", " A", "A ", "T", "1O", "10 ", "010", "1",
        "0", "AK", "A\tK", std::string(10'000, 'A'), "\xc3\x84", "\xe2\x99\xa0",
        std::string("A\0", 2),
        std::string("1\0"
                    "0",
            3),
        "\xff\xfe"),
    [](const auto &info) { return "text" + std::to_string(info.index); });

TEST(ForeignText, WriteExactlyOnceToClear)
{
    FakeHandView view("Card 1", "Card 2", 1, "");
    ShowOdds(view);
    EXPECT_EQ(view.result, "");
    EXPECT_EQ(view.writes, 1);
}

// --- a session as the player lives it ----------------------------------------------------------

TEST(Session, AnOldAnswerNeverStandsBesideOtherCards)
{
    FakeHandView view("Card 1", "Card 2", 0);
    const auto step = [&view](std::string card1, std::string card2, std::int16_t suited) {
        view.card1 = std::move(card1);
        view.card2 = std::move(card2);
        view.suited = suited;
        ShowOdds(view);
        return view.result;
    };
    EXPECT_EQ(step("Card 1", "Card 2", 1), "") << "ticking first finds nothing";
    EXPECT_EQ(step("A", "Card 2", 0), "") << "one card alone finds nothing";
    EXPECT_EQ(step("A", "K", 0), "65%");
    EXPECT_EQ(step("A", "K", 1), "67%");
    EXPECT_EQ(step("K", "A", 1), "67%");
    EXPECT_EQ(step("A", "k", 1), "") << "typed lowercase is not a rank: clear the old answer";
    EXPECT_EQ(step("Q", "J", 0), "58%") << "a typed rank counts like a picked one";
    view.result = "99% (typed)";
    EXPECT_EQ(step("Q", "J ", 0), "") << "a typed result is cleared by an unmatched hand";
    view.result = "typed again";
    EXPECT_EQ(step("3", "2", 0), "32%") << "and replaced by a matched one";
    EXPECT_EQ(step("3", "2", 1), "35%");
    EXPECT_EQ(step("A", "K", 2), "") << "greyed";
    EXPECT_EQ(step("A", "A", 2), "85%");
}

// --- a failing window --------------------------------------------------------------------------

struct Failure {
    const char *name;
    const char *card1;
    const char *card2;
    FakeHandView::Operation failing;
    const char *resultAfter;
};

class FailingView : public ::testing::TestWithParam<Failure>
{
};

TEST_P(FailingView, PassesTheExceptionOnAndKeepsWhatWasWritten)
{
    const Failure failure = GetParam();
    FakeHandView view(failure.card1, failure.card2, 0, "before");
    view.failing = failure.failing;
    EXPECT_THROW(ShowOdds(view), std::runtime_error);
    EXPECT_EQ(view.result, failure.resultAfter);
}

using Op = FakeHandView::Operation;
INSTANTIATE_TEST_SUITE_P(Operations, FailingView,
    ::testing::Values(Failure{"card1", "A", "K", Op::Card1, "before"},
        Failure{"card2", "A", "K", Op::Card2, "before"},
        Failure{"suited", "A", "K", Op::Suited, "before"},
        Failure{"suitedAfterPair", "A", "A", Op::Suited, "85%"},
        Failure{"write", "A", "K", Op::SetResult, "before"},
        Failure{"clear", "x", "y", Op::SetResult, "before"}),
    [](const auto &info) { return std::string(info.param.name); });

// --- the tables themselves ---------------------------------------------------------------------

// Built into the program: all of it is known when compiling.
static_assert(eval::SuitedTable[0].card1 == "A" && eval::OffsuitTable[155].result == "32%");
static_assert(eval::PairTable[12].result == "85%" && eval::RankLabels[9] == "10");

using Hand = std::pair<std::string_view, std::string_view>;

std::map<Hand, int> asMap(const auto &table)
{
    std::map<Hand, int> values;
    for (const HandRule &rule : table)
        values[{rule.card1, rule.card2}] = percent(rule.result);
    return values;
}

TEST(Tables, HoldOneRuleForEveryOrderedPairOfDifferentRanks)
{
    for (const auto *table : {&eval::SuitedTable, &eval::OffsuitTable}) {
        std::set<Hand> hands;
        for (const HandRule &rule : *table) {
            EXPECT_NE(rule.card1, rule.card2);
            EXPECT_TRUE(expected::rankIndex(rule.card1) && expected::rankIndex(rule.card2));
            hands.insert({rule.card1, rule.card2});
        }
        EXPECT_EQ(hands.size(), 156u) << "a hand is missing or held twice";
    }
    std::set<std::string_view> pairs;
    for (const HandRule &rule : eval::PairTable) {
        EXPECT_EQ(rule.card1, rule.card2);
        pairs.insert(rule.card1);
    }
    EXPECT_EQ(pairs.size(), 13u);
}

TEST(Tables, AreTestedInTheirDocumentedOrder)
{
    for (const auto *table : {&eval::SuitedTable, &eval::OffsuitTable}) {
        const auto at = [table](int i) { return Hand{(*table)[i].card1, (*table)[i].card2}; };
        EXPECT_EQ(at(0), Hand("A", "2"));
        EXPECT_EQ(at(11), Hand("A", "K"));
        EXPECT_EQ(at(12), Hand("K", "2"));
        EXPECT_EQ(at(77), Hand("3", "2"));
        EXPECT_EQ(at(78), Hand("2", "A"));
        EXPECT_EQ(at(155), Hand("2", "3"));
        for (int i = 0; i < 78; ++i)
            EXPECT_EQ(at(i + 78), Hand(at(i).second, at(i).first)) << i;
    }
    EXPECT_EQ(eval::PairTable.front().card1, "2");
    EXPECT_EQ(eval::PairTable.back().card1, "A");
}

TEST(Tables, AreSymmetric)
{
    for (const auto *table : {&eval::SuitedTable, &eval::OffsuitTable}) {
        const auto values = asMap(*table);
        for (const auto &[hand, value] : values)
            EXPECT_EQ(value, values.at({hand.second, hand.first})) << hand.first << hand.second;
    }
}

TEST(Tables, SuitedIsTwoThreeOrFourAboveOffsuit)
{
    const auto suited = asMap(eval::SuitedTable);
    const auto offsuit = asMap(eval::OffsuitTable);
    std::map<int, int> handsByGap;
    for (const auto &[hand, value] : suited)
        if (hand.first > hand.second) // each unordered hand once
            ++handsByGap[value - offsuit.at(hand)];
    EXPECT_EQ(handsByGap, (std::map<int, int>{{2, 21}, {3, 53}, {4, 4}}));
}

TEST(Tables, NoRowRisesTowardsLowerCards)
{
    for (const auto *table : {&eval::SuitedTable, &eval::OffsuitTable}) {
        const auto values = asMap(*table);
        for (std::string_view row : expected::Ranks) {
            int previous = 100;
            for (std::string_view column : expected::Ranks) {
                if (row == column)
                    continue;
                const int value = values.at({row, column});
                EXPECT_LE(value, previous) << row << " with " << column;
                previous = value;
            }
        }
    }
}

TEST(Tables, ValuesRunFrom32To85)
{
    int lowest = 100, highest = 0;
    for (const auto *table : {&eval::SuitedTable, &eval::OffsuitTable})
        for (const HandRule &rule : *table) {
            lowest = std::min(lowest, percent(rule.result));
            highest = std::max(highest, percent(rule.result));
        }
    for (const HandRule &rule : eval::PairTable)
        highest = std::max(highest, percent(rule.result));
    EXPECT_EQ(lowest, 32);
    EXPECT_EQ(highest, 85);
    EXPECT_EQ(asMap(eval::SuitedTable).at({"A", "K"}), 67);
}

} // namespace
