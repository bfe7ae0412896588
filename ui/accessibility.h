// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#pragma once

#include <QWidget>

namespace accessibility
{

// Qt names an editable combo box after its current text on Linux, so a screen reader would call
// a card "A" once picked. This gives the selectors their own names, with the shown text as their
// value; gives the line edits text queries that always return; and gives AnswerNotice its role.
// Call before the window is built; later calls do nothing.
void installInterfaces();

// The answer in the result box as a screen reader says it: "win chance 65%", or "no win chance"
// when the box is empty.
QString spokenAnswer(const QString &result);

} // namespace accessibility

// Tells a screen reader each new answer wherever the player is: after a pick by keys, list or
// wheel, and after a toggle, in the focused control or elsewhere. From Qt 6.8 as an announcement.
// Before, as a widget of no size that Orca 43 hears as a notification each time it appears: Qt 6.4
// has no announcement event, Orca 43 speaks a text change only in the focused control, and Qt 6.4's
// name and description change events reach Orca in a form it cannot speak. Its name is the last
// answer.
class AnswerNotice : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AnswerNotice)

public:
    explicit AnswerNotice(QWidget *parent = nullptr);

    void announce(const QString &text);
};
