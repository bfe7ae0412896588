// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#include "odds.h"

#include "tables.h"

#include <span>
#include <string>

namespace eval
{

namespace
{

// Every rule is tested, in table order: no rule stops the search.
bool applyRules(std::span<const HandRule> rules, HandView &view)
{
    // The texts cannot change while the rules run, so one read of each serves them all.
    const std::string card1 = view.card1Text();
    const std::string card2 = view.card2Text();
    bool matched = false;
    for (const HandRule &rule : rules) {
        if (card2 == rule.card2 && card1 == rule.card1) {
            view.setResult(rule.result);
            matched = true;
        }
    }
    return matched;
}

} // namespace

bool SuitedOdds(HandView &view)
{
    return applyRules(SuitedTable, view);
}

bool OffsuitOdds(HandView &view)
{
    return applyRules(OffsuitTable, view);
}

void ShowOdds(HandView &view)
{
    bool matched = applyRules(PairTable, view);
    if (view.suitedState() == 1)
        matched = SuitedOdds(view) || matched;
    if (view.suitedState() == 0)
        matched = OffsuitOdds(view) || matched;
    if (!matched)
        view.setResult({});
}

} // namespace eval
