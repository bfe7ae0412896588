// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#pragma once

// The hand evaluation. The window calls ShowOdds whenever the player picks a rank or toggles the
// suited box; ShowOdds reads the hand through a HandView, looks it up in the fixed tables of
// tables.h (pairs first, then the suited or the offsuit table) and writes the stored win-chance
// text back through the same view. Nothing is computed and nothing is kept between calls.

#include "handview.h"

namespace eval
{

// Writes the win chance of the hand on show, or the empty text when no rule knows the hand, so
// that an answer never stands beside cards it does not belong to.
void ShowOdds(HandView &view);

// The two lookups on their own write only when one of their rules matches; each returns whether
// one did.
bool SuitedOdds(HandView &view);
bool OffsuitOdds(HandView &view);

} // namespace eval
