// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#include "helpmessage.h"

#include "identity.h"

#include <QCoreApplication>
#include <QMessageBox>

QString helpMessageText()
{
    return QString::fromLatin1(identity::Title)
        + QStringLiteral(" Select your pre flop cards as they are delt. Percentage displayed is "
                         "to win against random cards. Theres more info at ")
        + QString::fromLatin1(identity::WebAddress);
}

void showHelpMessage(QWidget *parent)
{
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), helpMessageText(),
        QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("helpMessage"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
