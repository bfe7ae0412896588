// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace eval
{

// What the evaluation sees of the window: the two card texts and the suited box to read, the
// result box to write. Keeping it this narrow lets the evaluation run and be tested with no
// window at all. Any operation may throw; the evaluation lets the exception through.
class HandView
{
public:
    virtual ~HandView() = default;

    virtual std::string card1Text() const = 0;
    virtual std::string card2Text() const = 0;
    // 0 not ticked, 1 ticked, 2 greyed; a caller may pass anything else.
    virtual std::int16_t suitedState() const = 0;
    // Replaces the whole result text.
    virtual void setResult(std::string_view text) = 0;

protected:
    HandView() = default;
    HandView(const HandView &) = default;
    HandView &operator=(const HandView &) = default;
};

} // namespace eval
