// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#pragma once

// Drives a real MainWindow as the player does, through Qt Test's mouse and key events, and reads
// back what the player sees.

#include "mainwindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <QPointer>

#include <functional>
#include <memory>

// The selectors' items, in list order.
inline const QStringList Ranks = {QStringLiteral("A"), QStringLiteral("2"), QStringLiteral("3"),
    QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"),
    QStringLiteral("8"), QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("J"),
    QStringLiteral("Q"), QStringLiteral("K")};

struct WindowState {
    QString card1;
    QString card2;
    bool suited = false;
    QString result;

    friend bool operator==(const WindowState &, const WindowState &) = default;
};

inline char *toString(const WindowState &state)
{
    return QTest::toString(
        QStringLiteral("{\"%1\", \"%2\", %3, \"%4\"}")
            .arg(state.card1, state.card2,
                state.suited ? QStringLiteral("suited") : QStringLiteral("offsuit"), state.result));
}

class Driver
{
public:
    explicit Driver(MainWindow &window)
        : window(window)
        , combo1(window.findChild<QComboBox *>(QStringLiteral("Combo1")))
        , combo2(window.findChild<QComboBox *>(QStringLiteral("Combo2")))
        , text1(window.findChild<QLineEdit *>(QStringLiteral("Text1")))
        , check1(window.findChild<QCheckBox *>(QStringLiteral("Check1")))
        , help(window.findChild<QPushButton *>(QStringLiteral("help")))
    {
    }

    bool complete() const { return combo1 && combo2 && text1 && check1 && help; }

    WindowState state() const
    {
        return {combo1->currentText(), combo2->currentText(), check1->isChecked(), text1->text()};
    }

    // Opens the list with a click on the combo's arrow and clicks the item.
    bool pickByMouse(QComboBox *combo, int index)
    {
        QTest::mouseClick(
            combo, Qt::LeftButton, {}, QPoint(combo->width() - 4, combo->height() / 2));
        QAbstractItemView *list = combo->view();
        if (!QTest::qWaitFor([list] { return list->isVisible(); }, 2000))
            return false;
        const QModelIndex wanted = list->model()->index(index, 0);
        list->scrollTo(wanted);
        const QRect item = list->visualRect(wanted);
        // The list ignores a release that comes too soon after it opened unless the mouse has
        // moved over it, as a player's hand does.
        QTest::mouseMove(list->viewport(), item.topLeft() + QPoint(1, 1));
        QTest::mouseMove(list->viewport(), item.center());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        return QTest::qWaitFor([list] { return !list->isVisible(); }, 2000);
    }

    // Up/Down/PageUp/PageDown on the closed combo.
    void key(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(widget, key, modifiers);
    }

    void wheel(QComboBox *combo, int delta)
    {
        const QPointF at(combo->width() / 2.0, combo->height() / 2.0);
        QWheelEvent event(at, combo->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &event);
    }

    // Replaces the whole text of an edit field by typing, as the player does after selecting all.
    void typeOver(QWidget *widget, const QString &text)
    {
        QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(widget, Qt::Key_Backspace);
        for (const QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClick(widget, c.toLatin1());
            else // no key code for it: the text alone, as an input method delivers it
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), {});
        }
    }

    void clickCheckBox()
    {
        QTest::mouseClick(check1, Qt::LeftButton, {}, QPoint(6, check1->height() / 2));
    }

    // Presses Help by `press`, waits for the message, hands it to `inspect`, closes it by
    // `close` and returns once the message is gone.
    bool withHelpMessage(const std::function<void()> &press,
        const std::function<void(QMessageBox *)> &inspect,
        const std::function<void(QMessageBox *)> &close)
    {
        auto closed = std::make_shared<bool>(false);
        QTimer::singleShot(0, &window, [=] {
            if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 2000))
                return;
            QPointer<QMessageBox> box
                = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            inspect(box);
            close(box);
            *closed = QTest::qWaitFor([box] { return !box || !box->isVisible(); }, 2000);
            if (box && box->isVisible())
                box->done(QMessageBox::Cancel); // a close that failed must not hang the test
        });
        press();
        return *closed && QApplication::activeModalWidget() == nullptr;
    }

    MainWindow &window;
    QComboBox *combo1;
    QComboBox *combo2;
    QLineEdit *text1;
    QCheckBox *check1;
    QPushButton *help;
};
