// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
// Drives the window's three edit fields through the interfaces an assistive technology uses,
// with random calls, offsets and texts, on the offscreen platform. Whatever is asked, answers
// stay inside the text, the text never outgrows the field, a call outside the text changes
// nothing, and an edit of a card leaves the result box as it was.

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

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static Application app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    static MainWindow *window = [] {
        auto *built = new MainWindow;
        built->show();
        return built;
    }();
    static const QList<QLineEdit *> fields = {window->findChild<QComboBox *>("Combo1")->lineEdit(),
        window->findChild<QComboBox *>("Combo2")->lineEdit(),
        window->findChild<QLineEdit *>("Text1")};

    FuzzedDataProvider in(bytes, size);
    QLineEdit *field = fields[in.ConsumeIntegralInRange(0, 2)];
    field->setText(someText(in));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(field);
    QAccessibleTextInterface *texts = accessible->textInterface();
    QAccessibleEditableTextInterface *edits = accessible->editableTextInterface();
    while (in.remaining_bytes()) {
        const QString before = field->text(), result = fields[2]->text();
        const int length = int(before.size());
        const int a = offset(in, length), b = offset(in, length);
        const bool inside = a >= 0 && a <= length, range = inside && b >= a;
        bool mayChange = range;
        int start = 0, end = 0;
        QString answer;
        switch (in.ConsumeIntegralInRange(0, 8)) {
        case 0:
            answer = texts->text(a, b);
            check(answer == (range ? before.mid(a, std::min(b, length) - a) : QString()),
                "text(a, b) is not the text's own", before);
            break;
        case 1:
        case 2:
        case 3: {
            const auto kind = QAccessible::TextBoundaryType(in.ConsumeIntegralInRange(0, 5));
            const int step = in.ConsumeIntegralInRange(-1, 1);
            answer = step < 0 ? texts->textBeforeOffset(a, kind, &start, &end)
                : step > 0    ? texts->textAfterOffset(a, kind, &start, &end)
                              : texts->textAtOffset(a, kind, &start, &end);
            check(start == -1 ? end == -1 && answer.isEmpty()
                              : 0 <= start && start <= end && end <= length
                        && answer == before.mid(start, end - start),
                "a piece outside the text", before);
            break;
        }
        case 4:
            check(texts->characterRect(a).isNull() == (a < 0 || a >= length),
                "a character's rectangle", before);
            break;
        case 5:
            texts->setSelection(0, a, b);
            texts->selection(0, &start, &end);
            check(!range || std::min(b, length) == a || (start == a && end == std::min(b, length)),
                "a selection not where it was asked", before);
            break;
        case 6:
            edits->deleteText(a, b);
            break;
        case 7:
            edits->insertText(a, someText(in));
            mayChange = inside;
            break;
        case 8:
            edits->replaceText(a, b, someText(in));
            break;
        }
        check(mayChange || field->text() == before, "a call outside the text changed it", before);
        check(field->text().size() <= field->maxLength(), "the text outgrew the field", before);
        check(fields[2]->text() == result || field == fields[2], "an edit evaluated", before);
    }
    return 0;
}
