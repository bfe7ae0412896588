// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
// Drives the window's three edit fields through the interfaces an assistive technology uses,
// with random calls, texts and offsets, the limits of an int and of the text among them, on the
// offscreen platform. Every answer and every edit must be what the offsets ask, checked rather
// than trusted: a piece lies inside the text, an edit outside it changes nothing, the text never
// outgrows the field, and an edit of a card evaluates nothing.

#include "application.h"
#include "mainwindow.h"

#include <QAccessibleEditableTextInterface>
#include <QComboBox>
#include <QLineEdit>

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace
{

void check(bool holds, const char *what, const QString &text)
{
    if (!holds) {
        std::fprintf(stderr, "%s, with the text '%s'\n", what, qPrintable(text.left(80)));
        std::abort();
    }
}

int offset(FuzzedDataProvider &in, int length)
{
    static const int limits[] = {INT_MIN, -3, -2, -1, 0, 1};
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return limits[in.ConsumeIntegralInRange(0, 5)];
    case 1:
        return length + in.ConsumeIntegralInRange(-1, 1);
    case 2:
        return in.ConsumeBool() ? INT_MAX : INT_MAX - length;
    }
    return in.ConsumeIntegral<int>();
}

QString someText(FuzzedDataProvider &in)
{
    const QString text = QString::fromStdString(in.ConsumeRandomLengthString(16));
    return in.ConsumeIntegralInRange(0, 15) ? text : text.repeated(4000);
}

// libFuzzer ends the run with exit(). Qt is torn down before that, as a program's main does it,
// window first: left to exit(), Qt 6.8 and 6.11 crash in the teardown of their application.
Application *app = nullptr;
MainWindow *window = nullptr;
QList<QLineEdit *> fields;

void tearDown()
{
    delete window;
    delete app;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = new Application(*argc, *argv);
    window = new MainWindow;
    window->show();
    fields = {window->findChild<QComboBox *>("Combo1")->lineEdit(),
        window->findChild<QComboBox *>("Combo2")->lineEdit(),
        window->findChild<QLineEdit *>("Text1")};
    std::atexit(tearDown);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider in(bytes, size);
    QLineEdit *field = fields[in.ConsumeIntegralInRange(0, 2)];
    field->setText(someText(in));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(field);
    QAccessibleTextInterface *texts = accessible->textInterface();
    QAccessibleEditableTextInterface *edits = accessible->editableTextInterface();
    while (in.remaining_bytes()) {
        const QString before = field->text(), result = fields[2]->text();
        const int length = int(before.size()), room = field->maxLength() - length;
        const int a = offset(in, length), b = offset(in, length);
        const bool inside = a >= 0 && a <= length;
        // A range starts in the text or at its end and does not run backwards; its end stops at
        // the end of the text. What is inserted is cut to the room left, counting the range.
        const int size = inside && b >= a ? std::min(b, length) - a : -1;
        const QString text = someText(in);
        int start = 0, end = 0;
        switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0: {
            const auto kind = QAccessible::TextBoundaryType(in.ConsumeIntegralInRange(0, 5));
            const int step = in.ConsumeIntegralInRange(-1, 1);
            const QString answer = step < 0 ? texts->textBeforeOffset(a, kind, &start, &end)
                : step > 0                  ? texts->textAfterOffset(a, kind, &start, &end)
                                            : texts->textAtOffset(a, kind, &start, &end);
            check(start == -1 ? end == -1 && answer.isEmpty()
                              : 0 <= start && start <= end && end <= length
                        && answer == before.mid(start, end - start),
                "a piece outside the text", before);
            break;
        }
        case 1:
            check(texts->characterRect(a).isNull() == (a < 0 || a >= length)
                    && texts->text(a, b) == (size > 0 ? before.mid(a, size) : QString()),
                "a character's rectangle or a range's text", before);
            break;
        case 2: {
            field->deselect();
            const int caret = field->cursorPosition();
            texts->setCursorPosition(a);
            texts->setSelection(0, a, b);
            texts->selection(0, &start, &end);
            check(field->cursorPosition()
                        == (size > 0     ? a + size
                                : inside ? a
                                         : caret)
                    && (size > 0 ? start == a && end == a + size : !field->hasSelectedText()),
                "a selection or caret not where it was asked", before);
            break;
        }
        case 3:
            edits->insertText(a, text);
            check(field->text() == (inside ? QString(before).insert(a, text.left(room)) : before),
                "an insertion not as asked", before);
            break;
        case 4:
            edits->deleteText(a, b);
            check(field->text() == (size > 0 ? QString(before).remove(a, size) : before),
                "a deletion not as asked", before);
            break;
        case 5:
            edits->replaceText(a, b, text);
            check(field->text()
                    == (size < 0 ? before
                                 : QString(before).replace(a, size, text.left(room + size))),
                "a replacement not as asked", before);
            break;
        }
        check(fields[2]->text() == result || field == fields[2], "an edit evaluated", before);
    }
    return 0;
}
