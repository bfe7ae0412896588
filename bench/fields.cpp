// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
// What a screen reader's questions about a long edit field cost, against Qt's own line edit
// interface on the same machine: a range query over the whole field, answered as Qt's AT-SPI
// bridge answers it (one character's rectangle at a time), and flat review's pattern (the line,
// then each word and its extents).
//   make bench   (QT_QPA_PLATFORM=offscreen build/release/bench/fields_bench)

#include "application.h"
#include "mainwindow.h"

#include <QAccessibleTextInterface>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace
{

QRect rangeExtents(QAccessibleTextInterface *text, int start, int end)
{
    QRect rect = text->characterRect(start);
    for (int i = start + 1; i < end; ++i)
        rect |= text->characterRect(i);
    return rect;
}

void flatReview(QAccessibleTextInterface *text)
{
    int start = 0, end = 0;
    const QString line = text->textAtOffset(0, QAccessible::LineBoundary, &start, &end);
    for (qsizetype word = 0; word < line.size(); word = line.indexOf(' ', word + 1) + 1) {
        text->textAtOffset(int(word), QAccessible::WordBoundary, &start, &end);
        rangeExtents(text, start, end);
        if (line.indexOf(' ', word + 1) < 0)
            break;
    }
}

// The best of three, each on a text the field has not laid out before.
double milliseconds(QLineEdit *field, const QString &text,
    const std::function<void(QAccessibleTextInterface *)> &query)
{
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        field->setText(text.left(text.size() - run - 1) + QStringLiteral("xyz").left(run + 1));
        QAccessibleTextInterface *texts
            = QAccessible::queryAccessibleInterface(field)->textInterface();
        QElapsedTimer clock;
        clock.start();
        query(texts);
        best = std::min(best, double(clock.nsecsElapsed()) / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    // Qt's own interface is made for this field before the window installs ours.
    QLineEdit bare;
    bare.resize(57, 30);
    bare.show();
    QAccessible::queryAccessibleInterface(&bare);
    MainWindow window;
    window.show();
    QLineEdit *ours = window.findChild<QComboBox *>(QStringLiteral("Combo1"))->lineEdit();

    const QString pasted = QStringLiteral("king ace ").repeated(32767 / 9 + 1).left(32767);
    std::printf("%-34s %10s %10s %7s\n", "query", "Qt (ms)", "ours (ms)", "ratio");
    const auto row = [&](const char *what, int length, auto query) {
        const QString text = pasted.left(length);
        const double qt = milliseconds(&bare, text, query);
        const double us = milliseconds(ours, text, query);
        std::printf("%-26s %7d %10.1f %10.1f %7.2f\n", what, length, qt, us, us / qt);
    };
    for (const int length : {1000, 4000, 32767})
        row("range over the field", length,
            [length](QAccessibleTextInterface *t) { rangeExtents(t, 0, length); });
    for (const int length : {1000, 4000})
        row("flat review of the line", length, flatReview);
    return 0;
}
