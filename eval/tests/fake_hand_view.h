// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#pragma once

#include "handview.h"

#include <stdexcept>
#include <string>

// A hand view over plain strings that counts its writes, and can be told to fail in one of its
// operations as a window that has gone would.
struct FakeHandView final : eval::HandView {
    enum class Operation { None, Card1, Suited, SetResult };

    FakeHandView(std::string c1, std::string c2, std::int16_t s, std::string before = "before")
        : card1(std::move(c1))
        , card2(std::move(c2))
        , suited(s)
        , result(std::move(before))
    {
    }

    std::string card1Text() const override { return failIf(Operation::Card1), card1; }
    std::string card2Text() const override { return card2; }
    std::int16_t suitedState() const override { return failIf(Operation::Suited), suited; }
    void setResult(std::string_view text) override
    {
        failIf(Operation::SetResult), result = text, ++writes;
    }
    void failIf(Operation operation) const
    {
        if (operation == failing)
            throw std::runtime_error("window gone");
    }

    std::string card1, card2;
    std::int16_t suited;
    std::string result;
    int writes = 0;
    Operation failing = Operation::None;
};
