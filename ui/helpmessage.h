// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#pragma once

#include <QString>

class QWidget;

// The usage message, one paragraph ending in the publisher's web address.
QString helpMessageText();

// Shows the message modally over `parent`, with a single OK button and no icon, and returns when
// the player closes it.
void showHelpMessage(QWidget *parent);
