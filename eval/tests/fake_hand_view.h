// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#pragma once

#include "handview.h"

#include <stdexcept>
#include <string>

// A hand view over plain strings, counting what the evaluation does with it. It can be told to
// throw from one of its operations to stand in for a failing window.
class FakeHandView : public eval::HandView
{
public:
    enum class Operation { None, Card1, Card2, Suited, SetResult };

    FakeHandView(std::string card1, std::string card2, std::int16_t suited, std::string result = {})
        : card1(std::move(card1))
        , card2(std::move(card2))
        , suited(suited)
        , result(std::move(result))
    {
    }

    std::string card1Text() const override
    {
        failIf(Operation::Card1);
        return card1;
    }
    std::string card2Text() const override
    {
        failIf(Operation::Card2);
        return card2;
    }
    std::int16_t suitedState() const override
    {
        failIf(Operation::Suited);
        ++suitedReads;
        return suited;
    }
    void setResult(std::string_view text) override
    {
        failIf(Operation::SetResult);
        result = text;
        ++writes;
    }

    std::string card1;
    std::string card2;
    std::int16_t suited;
    std::string result;
    mutable int suitedReads = 0;
    int writes = 0;
    Operation failing = Operation::None;

private:
    void failIf(Operation operation) const
    {
        if (operation == failing)
            throw std::runtime_error("window gone");
    }
};
