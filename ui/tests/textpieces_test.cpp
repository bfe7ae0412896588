// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
// The pieces a screen reader asks of an edit field's text, and the ranges it sends, on QtCore
// alone. Each row gives where its text is cut into characters, words and sentences; every answer
// at, before and after every offset must be the piece that holds it or its neighbour.

#include "textpieces.h"

#include <QtTest>

using textpieces::Kind;
using Cuts = QList<QList<qsizetype>>;

class TextPiecesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pieces_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Cuts>("cuts");
        QTest::newRow("empty") << QString() << Cuts{{0}, {0}, {0}};
        QTest::newRow("A") << QString("A") << Cuts{{0, 1}, {0, 1}, {0, 1}};
        QTest::newRow("Card 1") << QString("Card 1")
                                << Cuts{{0, 1, 2, 3, 4, 5, 6}, {0, 4, 5, 6}, {0, 6}};
        QTest::newRow("space first") << QString(" A") << Cuts{{0, 1, 2}, {0, 1, 2}, {0, 2}};
        QTest::newRow("A, B") << QString("A, B") << Cuts{{0, 1, 2, 3, 4}, {0, 1, 3, 4}, {0, 4}};
        QTest::newRow("sentences")
            << QString("Q. K? 10!")
            << Cuts{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {0, 1, 3, 4, 6, 8, 9}, {0, 3, 6, 9}};
        QTest::newRow("Cyrillic") << QString("Туз") << Cuts{{0, 1, 2, 3}, {0, 3}, {0, 3}};
        QTest::newRow("surrogates, combining")
            << QString("\U0001D538e\u0301") << Cuts{{0, 2, 4}, {0, 4}, {0, 4}};
        QTest::newRow("symbols") << QString("\u2660\u2665") << Cuts{{0, 1, 2}, {0, 2}, {0, 2}};
    }

    void pieces()
    {
        QFETCH(QString, text);
        QFETCH(Cuts, cuts);
        const int length = int(text.size());
        cuts << (length ? QList<qsizetype>{0, length} : QList<qsizetype>{0}); // a line: all of it
        for (const Kind kind : {Kind::Character, Kind::Word, Kind::Sentence, Kind::Whole}) {
            const QList<qsizetype> &edges = cuts[int(kind)];
            for (int offset = -1; offset <= length + 1; ++offset) {
                // At the end, the piece just left, but for a character, which the end does not
                // hold.
                qsizetype piece
                    = offset == length ? edges.size() - (kind == Kind::Character ? 1 : 2) : -1;
                for (qsizetype i = 0; i + 1 < edges.size(); ++i)
                    piece = edges[i] <= offset && offset < edges[i + 1] ? i : piece;
                for (const int step : {-1, 0, 1}) {
                    const qsizetype i = piece + step;
                    const auto expected = piece < 0 || i < 0 || i + 1 >= edges.size()
                        ? std::tuple(QString(), -1, -1)
                        : std::tuple(text.mid(edges[i], edges[i + 1] - edges[i]), int(edges[i]),
                              int(edges[i + 1]));
                    int start = -2, end = -2;
                    const QString answer
                        = textpieces::pieceNear(text, offset, kind, step, &start, &end);
                    const auto asked = std::tuple(int(kind), offset, step);
                    QCOMPARE(std::tuple_cat(asked, std::tuple(answer, start, end)),
                        std::tuple_cat(asked, expected));
                }
            }
        }
    }

    // A range starts inside the text or at its end and does not run backwards; its end stops at
    // the end of the text. Offsets at the limits of an int do not overflow.
    void ranges()
    {
        const std::tuple<int, int, bool, int> cases[] = {{1, 3, true, 2}, {5, 5, true, 0},
            {2, INT_MAX, true, 3}, {3, 2, false, 0}, {6, 7, false, 0}, {-1, 2, false, 0},
            {INT_MIN, INT_MAX, false, 0}, {INT_MAX, INT_MAX, false, 0}};
        for (const auto &[start, end, valid, size] : cases) {
            const textpieces::Range range = textpieces::checked(5, start, end); // "Hello"
            QCOMPARE(std::tuple(start, end, range.valid, range.start * valid, range.size),
                std::tuple(start, end, valid, qsizetype(start * valid), qsizetype(size)));
        }
    }
};

QTEST_APPLESS_MAIN(TextPiecesTest)
#include "textpieces_test.moc"
