// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
// Every stored answer against the grid written out apart from the program's rule lists, what the
// evaluation does with anything else a window can hold, and with a window that fails.

#include "odds.h"

#include "expected_grids.h"

#include <gtest/gtest.h>

#include <exception>
#include <vector>

// What the window holds when the evaluation runs, and the answer it must then show.
struct Case {
    std::string name, card1, card2;
    std::int16_t suited = 0;
    std::string answer = {};
    std::string_view gone = {}; // the window, when it is asked for "card1", "suited" or "result"
};

// A hand view over plain strings that keeps every text shown, starting with an old answer.
struct View final : eval::HandView {
    Case hand;
    std::vector<std::string> shown = {"65%"};

    std::string card1Text() const override { return fail("card1"), hand.card1; }
    std::string card2Text() const override { return hand.card2; }
    std::int16_t suitedState() const override { return fail("suited"), hand.suited; }
    void setResult(std::string_view text) override { fail("result"), shown.emplace_back(text); }
    void fail(std::string_view what) const { what == hand.gone ? throw std::exception() : void(); }
};

// All 169 hands in both card orders, offsuit and suited: 338 cases, named like "AKs" and "KAo".
static std::vector<Case> everyHand()
{
    std::vector<Case> hands;
    for (int i = 0; i < 338; ++i) {
        const std::string card1(expected::Ranks[i / 26]), card2(expected::Ranks[i / 2 % 13]);
        hands.push_back({{"AKQJT98765432"[i / 26], "AKQJT98765432"[i / 2 % 13], "os"[i % 2]}, card1,
            card2, std::int16_t(i % 2), expected::resultAfterEvaluation(card1, card2, i % 2)});
    }
    return hands;
}

using Evaluation = ::testing::TestWithParam<Case>;

// One write, of the answer: a second would be a second rule that matched.
TEST_P(Evaluation, ShowsItsAnswerOnce)
{
    View view;
    view.hand = GetParam();
    eval::ShowOdds(view);
    EXPECT_EQ(view.shown, (std::vector<std::string>{"65%", view.hand.answer}));
}

static const auto nameOf = [](const auto &info) { return info.param.name; };

INSTANTIATE_TEST_SUITE_P(AllHands, Evaluation, ::testing::ValuesIn(everyHand()), nameOf);

// Whatever else the selectors and the box can hold. Only whole, exact rank texts are known, and a
// pair whatever the box says; anything unknown clears an old answer rather than leave it beside
// cards it does not belong to.
INSTANTIATE_TEST_SUITE_P(OtherInput, Evaluation,
    ::testing::ValuesIn(std::vector<Case>{{"Empty", "", "K"}, {"Lowercase", "A", "k", 1},
        {"TrailingSpace", "A", "K "}, {"TForTen", "T", "9"},
        {"EmbeddedNul", std::string("A\0", 2), "K"}, {"Greyed", "A", "K", 2},
        {"OutOfRange", "A", "K", -256}, {"PairGreyed", "A", "A", 2, "85%"}}),
    nameOf);

// A failing window operation passes through untouched, and an answer already written stays.
TEST(FailingView, PassesTheExceptionOnAndKeepsWhatWasWritten)
{
    for (const std::string_view gone : {"card1", "suited", "result"}) {
        View view;
        view.hand = {"", "A", "A", 0, gone == "suited" ? "85%" : "65%", gone};
        EXPECT_THROW(eval::ShowOdds(view), std::exception) << gone;
        EXPECT_EQ(view.shown.back(), view.hand.answer) << gone;
    }
}
