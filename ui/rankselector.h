// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#pragma once

#include <QComboBox>

// An editable combo box that changes its text only when the player picks an item. Qt's editable
// combo box, by default, completes typed text inline, adds it to the list on Enter, selects the
// first item as soon as the list fills, and on Enter or focus loss looks the typed text up in the
// list and replaces it with the item found. Here typed text stays exactly as typed, and
// `picked` fires once for every pick, by mouse, keys or wheel, with the item already in the
// edit field.
class RankSelector : public QComboBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RankSelector)

public:
    explicit RankSelector(const QString &startText, QWidget *parent = nullptr);

    void showPopup() override;

Q_SIGNALS:
    void picked();
};
