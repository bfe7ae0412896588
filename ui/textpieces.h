// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#pragma once

// How the edit fields' text is cut into the pieces a screen reader asks for, and how the offsets
// it sends are checked: plain text work, on QtCore alone.

#include <QList>
#include <QString>

namespace textpieces
{

// A line or a paragraph is the whole text, since a line edit holds one line.
enum class Kind { Character, Word, Sentence, Whole };

// Where a text is cut into pieces of the given kind, 0 and the length included: graphemes; words
// and the runs between them; sentences; or the whole text.
QList<qsizetype> edges(const QString &text, Kind kind);

// The piece of the text that holds the character at `offset` (step 0), or the piece before (-1)
// or after (1) it. At the end of the text there is no character: a character has nothing there,
// a word, sentence or line is the one the caret has just left. Where there is no such piece,
// both offsets are -1.
QString pieceNear(
    const QString &text, int offset, Kind kind, int step, int *startOffset, int *endOffset);

// A caller's range, checked rather than trusted: it starts inside the text or at its end and does
// not run backwards, and an end past the text stops there. Anything else is no range at all.
struct Range {
    qsizetype start = 0, size = 0;
    bool valid = false;
};

Range checked(qsizetype length, int start, int end);

} // namespace textpieces
