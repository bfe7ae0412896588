// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
// Where an edit field's text is cut into the pieces a screen reader asks for, on QtCore alone:
// what no random test can know. Whether the fields hand out these pieces at the offsets sent,
// and how those offsets are checked, is the question of the fields' fuzz target.

#include "../textpieces.h"

#include <QtTest>

using textpieces::Kind;

class TextPiecesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A text, a kind of piece, an offset and a step (the piece before, at or after it), and the
    // piece expected, as its start and end (-1 for none).
    void pieces()
    {
        const QString card = "Card 1", twoMarks = "\U0001D538e\u0301";
        const std::tuple<QString, Kind, int, int, int, int> cases[]
            = {{card, Kind::Word, 4, 0, 4, 5}, {card, Kind::Word, 4, -1, 0, 4},
                {card, Kind::Word, 5, 1, -1, -1}, {card, Kind::Word, 7, 0, -1, -1},
                {card, Kind::Word, -1, 0, -1, -1},
                // At the end of the text, the piece the caret has just left, but no character.
                {card, Kind::Word, 6, 0, 5, 6}, {card, Kind::Character, 6, 0, -1, -1},
                {card, Kind::Character, 6, -1, 5, 6}, {QString(), Kind::Whole, 0, 0, -1, -1},
                // A comma and the space after it are one piece; a character is a grapheme (a
                // surrogate pair, a letter and its combining mark).
                {"A, B", Kind::Word, 2, 0, 1, 3}, {"Q. K? 10!", Kind::Sentence, 4, 1, 6, 9},
                {twoMarks, Kind::Character, 1, 1, 2, 4}};
        for (const auto &[text, kind, at, step, start, end] : cases) {
            int from = -2, to = -2;
            const QString answer = textpieces::pieceNear(text, at, kind, step, &from, &to);
            QCOMPARE(std::tuple(text, int(kind), at, step, answer, from, to),
                std::tuple(text, int(kind), at, step, text.mid(start, end - start), start, end));
        }
    }
};

QTEST_APPLESS_MAIN(TextPiecesTest)
#include "textpieces_test.moc"
