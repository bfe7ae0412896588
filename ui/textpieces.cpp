// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#include "textpieces.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace textpieces
{

// Each step of the finder moves forward, so the walk ends.
QList<qsizetype> edges(const QString &text, Kind kind)
{
    QTextBoundaryFinder::BoundaryType type = QTextBoundaryFinder::Grapheme;
    switch (kind) {
    case Kind::Character:
        break;
    case Kind::Word:
        type = QTextBoundaryFinder::Word;
        break;
    case Kind::Sentence:
        type = QTextBoundaryFinder::Sentence;
        break;
    case Kind::Whole:
        return {0, text.size()};
    }
    QList<qsizetype> result{0};
    QTextBoundaryFinder finder(type, text);
    for (qsizetype at = finder.toNextBoundary(); at > 0 && at < text.size();
        at = finder.toNextBoundary()) {
        // A break between a comma and a space ends no item; the two stay one piece.
        if (finder.boundaryReasons()
            & (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem))
            result.append(at);
    }
    result.append(text.size());
    return result;
}

QString pieceNear(
    const QString &text, int offset, Kind kind, int step, int *startOffset, int *endOffset)
{
    *startOffset = *endOffset = -1;
    if (text.isEmpty() || offset < 0 || offset > text.size())
        return {};
    const QList<qsizetype> cuts = edges(text, kind);
    qsizetype piece = std::upper_bound(cuts.begin(), cuts.end(), offset) - cuts.begin() - 1;
    if (offset == text.size() && kind != Kind::Character)
        --piece;
    piece += step;
    if (piece < 0 || piece + 1 >= cuts.size())
        return {};
    *startOffset = int(cuts[piece]);
    *endOffset = int(cuts[piece + 1]);
    return text.mid(*startOffset, *endOffset - *startOffset);
}

Range checked(qsizetype length, int start, int end)
{
    if (start < 0 || start > length || end < start)
        return {};
    return {start, std::min<qsizetype>(end, length) - start, true};
}

} // namespace textpieces
