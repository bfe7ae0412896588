// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#include "rankselector.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>

RankSelector::RankSelector(const QString &startText, QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    // All thirteen ranks at once, with no scrolling.
    setMaxVisibleItems(13);
    // With a placeholder set, QComboBox no longer selects the first item of a list that was
    // empty; the edit field, not the placeholder, is what the player sees.
    setPlaceholderText(startText);
    setEditText(startText);
    // Show the start of a text wider than the field, not its end.
    lineEdit()->setCursorPosition(0);
    // The start text names the card for a screen reader, on the selector (whose accessible
    // interface keeps it) and on the edit field, which holds the focus and is read on Where Am I.
    setAccessibleName(startText);
    lineEdit()->setAccessibleName(startText);

    // These two look the typed text up in the list and select what they find; typed text is to
    // stay as typed.
    disconnect(lineEdit(), &QLineEdit::returnPressed, this, nullptr);
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);

    // `activated` comes with every pick, including a pick of the item already selected, and
    // never from typing or from code.
    connect(this, &QComboBox::activated, this, &RankSelector::picked);
}

// The list is the desktop's, in its own colours: Qt (6.4 and 6.8) gives an editable box's list
// the box's palette, and with it the grey the window sets for itself, which Breeze paints under
// the items. Qt gives it again on every palette or style change, so it is set at each opening.
void RankSelector::showPopup()
{
    QWidget *list = view()->window();
    // Every role set, or a popup, which inherits from its box, would take the grey back.
    QPalette desktop = QApplication::palette(list);
    desktop.setResolveMask(~QPalette::ResolveMask());
    list->setPalette(desktop);
    QComboBox::showPopup();
}
