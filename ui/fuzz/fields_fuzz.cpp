// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
// Drives the window's three edit fields through the interfaces an assistive technology uses, on
// the offscreen platform, with random calls, texts and offsets, the limits of an int and of the
// text among them. Where a text is cut into pieces is textpieces_test's question, trusted here;
// this asks what only random offsets and the fields answer: a range is checked rather than
// trusted, each call reads or edits the text the field holds at the offsets sent (-1 the end, -2
// the caret), the caret and the selection go where asked, the text never outgrows the field, and
// the character at the caret lies where the field draws the caret.

#include "application.h"
#include "mainwindow.h"
#include "textpieces.h"

#include <QAccessibleEditableTextInterface>
#include <QLineEdit>

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <climits>
#include <cstdlib>

// libFuzzer ends the run with exit(). Qt is torn down before that, as a program's main does it,
// window first: left to exit(), Qt 6.8 and 6.11 crash in the teardown of their application.
static Application *app = nullptr;
static MainWindow *window = nullptr;
static QList<QLineEdit *> fields; // the two cards' and the result's

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = new Application(*argc, *argv);
    window = new MainWindow;
    window->show();
    // Until the window is exposed it paints nothing, and a line edit scrolls its text as it paints.
    QCoreApplication::processEvents();
    fields = window->findChildren<QLineEdit *>();
    std::atexit([] { delete window, delete app; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider in(bytes, size);
    // The same byte picks a different offset for the start and the end of a range; a provider out
    // of bytes answers 0, and its range runs from the start past the end.
    const auto offset = [&in](int n, int shift) {
        const int pick = (in.ConsumeIntegralInRange(0, 10) + shift) % 11;
        return pick < 10 ? std::array{0, 1, n - 1, n + 1, n, INT_MAX - n, INT_MIN, -3, -2, -1}[pick]
                         : in.ConsumeIntegral<int>();
    };
    QLineEdit *field = fields[in.ConsumeIntegralInRange(0, 2)];
    field->setText(QString(in.ConsumeBool() ? field->maxLength() : 0, 'A')); // full, or empty
    QAccessibleTextInterface *texts = QAccessible::queryAccessibleInterface(field)->textInterface();
    auto *edits = QAccessible::queryAccessibleInterface(field)->editableTextInterface();
    while (in.remaining_bytes()) {
        // What to call and where first, as inputs start a few bytes long and a text takes what is
        // left. An empty text would insert nothing.
        const int call = in.ConsumeIntegralInRange(0, 2), how = in.ConsumeIntegralInRange(0, 5);
        const QString before = field->text();
        const int length = int(before.size()), caret = field->cursorPosition();
        const int a = offset(length, 0), b = offset(length, 3);
        const QString text = QString::fromStdString(in.ConsumeRandomLengthString(16)) + 'K';
        const bool inside = a >= 0 && a <= length;
        // A range starts in the text or at its end and does not run backwards; its end stops at
        // the end of the text.
        const int cut = inside && b >= a ? std::min(b, length) - a : -1;
        int start = -2, end = -2, wantStart = 0, wantEnd = 0;
        switch (call) {
        case 0: {
            const int step = in.ConsumeIntegralInRange(-1, 1);
            const int at = a == -2 ? caret : a == -1 ? length : a;
            const auto kind = QAccessible::TextBoundaryType(how);
            const textpieces::Range range = textpieces::checked(length, a, b);
            const QString piece = step < 0 ? texts->textBeforeOffset(a, kind, &start, &end)
                : step > 0                 ? texts->textAfterOffset(a, kind, &start, &end)
                                           : texts->textAtOffset(a, kind, &start, &end);
            const QString want = textpieces::pieceNear(
                before, at, textpieces::Kind(std::min(how, 3)), step, &wantStart, &wantEnd);
            if (range.valid != (cut >= 0) || (cut >= 0 && (range.start != a || range.size != cut))
                || std::tuple(piece, start, end) != std::tuple(want, wantStart, wantEnd)
                || texts->characterRect(a).isNull() != (a < 0 || a >= length))
                qFatal("a range, a piece or a character's place not as asked");
            break;
        }
        case 1:
            field->deselect();
            texts->setCursorPosition(a);
            texts->setSelection(0, a, b);
            texts->selection(0, &start, &end);
            if (std::tuple(field->cursorPosition(), start, end)
                != (cut > 0 ? std::tuple(a + cut, a, a + cut)
                            : std::tuple(inside ? a : caret, -1, -1)))
                qFatal("a selection or caret not where it was asked");
            break;
        default: { // insert, delete or replace; what is put in is cut to the room left, as a paste
            how == 0       ? edits->insertText(a, text)
                : how == 1 ? edits->deleteText(a, b)
                           : edits->replaceText(a, b, text);
            const int gone = how == 0 ? (inside ? 0 : -1) : cut;
            const QString put = text.left(how == 1 ? 0 : field->maxLength() - length + gone);
            if (field->text() != (gone < 0 ? before : QString(before).replace(a, gone, put)))
                qFatal("an edit not as asked");
        }
        }
        // A line edit scrolls its text as it paints: after a repaint, the character at the caret,
        // or the one before it at the end, has an edge where the field draws the caret.
        const int last = std::min(field->cursorPosition(), int(field->text().size()) - 1);
        texts->characterRect(last);
        field->repaint();
        const QRect near = texts->characterRect(last).translated(-field->mapToGlobal(QPoint()));
        const qreal x = field->inputMethodQuery(Qt::ImCursorRectangle).toRectF().center().x();
        if (last >= 0 && (x < near.left() - 1 || near.right() + 2 < x))
            qFatal("the character at the caret not where the field draws the caret");
    }
    return 0;
}
