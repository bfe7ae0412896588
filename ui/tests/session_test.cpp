// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
// A long random session of player actions on a real window, checked after every action against
// a small model of what the player should see: only picks and toggles evaluate, and an
// evaluation shows the stored win chance of the hand on show or clears the box.

#include "application.h"
#include "driver.h"

#include "expected_grids.h"

#include <QRandomGenerator>

#include <memory>

namespace
{

// Texts a player might type: ranks, near misses and junk.
const QStringList Typed = {QStringLiteral("A"), QStringLiteral("K"), QStringLiteral("10"),
    QStringLiteral("2"), QStringLiteral("k"), QStringLiteral("a"), QStringLiteral("1"),
    QStringLiteral("T"), QStringLiteral(" A"), QStringLiteral("Q "), QStringLiteral("010"),
    QString(), QStringLiteral("Card 1"), QStringLiteral("ace")};

struct Model {
    WindowState shown{QStringLiteral("Card 1"), QStringLiteral("Card 2"), false, QString()};
    int index1 = -1;
    int index2 = -1;

    void evaluate()
    {
        shown.result = QString::fromStdString(expected::resultAfterEvaluation(
            shown.card1.toStdString(), shown.card2.toStdString(), shown.suited ? 1 : 0));
    }

    // A step through the list from the selected item; nothing happens past either end.
    void step(int card, int by)
    {
        int &index = card == 1 ? index1 : index2;
        const int next = index + by;
        if (next < 0 || next > 12)
            return;
        pick(card, next);
    }

    void pick(int card, int index)
    {
        (card == 1 ? index1 : index2) = index;
        (card == 1 ? shown.card1 : shown.card2) = Ranks.at(index);
        evaluate();
    }
};

} // namespace

class SessionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomPlayerMatchesTheModel()
    {
        MainWindow window;
        Driver ui(window);
        QVERIFY(ui.complete());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QRandomGenerator random(20261206);
        Model model;
        const int actions = qEnvironmentVariableIntValue("QUORVEL_SESSION_ACTIONS") > 0
            ? qEnvironmentVariableIntValue("QUORVEL_SESSION_ACTIONS")
            : 10000;
        for (int action = 0; action < actions; ++action) {
            const int card = random.bounded(1, 3);
            QComboBox *combo = card == 1 ? ui.combo1 : ui.combo2;
            QString what;
            const int roll = random.bounded(100);
            if (roll < 25) {
                const int index = random.bounded(13);
                what = QStringLiteral("mouse pick %1 in card %2").arg(Ranks.at(index)).arg(card);
                QVERIFY2(ui.pickByMouse(combo, index), qPrintable(what));
                model.pick(card, index);
            } else if (roll < 40) {
                static const std::pair<Qt::Key, int> keys[] = {{Qt::Key_Down, 1}, {Qt::Key_Up, -1},
                    {Qt::Key_PageDown, 1}, {Qt::Key_PageUp, -1}};
                const auto [key, by] = keys[random.bounded(4)];
                what = QStringLiteral("key %1 in card %2")
                           .arg(QKeySequence(key).toString())
                           .arg(card);
                ui.key(combo, key);
                model.step(card, by);
            } else if (roll < 45) {
                const int by = random.bounded(2) ? 1 : -1;
                what = QStringLiteral("wheel %1 over card %2").arg(by).arg(card);
                ui.wheel(combo, -120 * by);
                model.step(card, by);
            } else if (roll < 60) {
                const QString text = Typed.at(random.bounded(Typed.size()));
                static const Qt::Key endings[] = {Qt::Key_unknown, Qt::Key_Enter, Qt::Key_Tab};
                const Qt::Key ending = endings[random.bounded(3)];
                what = QStringLiteral("type '%1' into card %2, then %3")
                           .arg(text)
                           .arg(card)
                           .arg(ending);
                ui.typeOver(combo, text);
                if (ending != Qt::Key_unknown)
                    ui.key(combo, ending);
                (card == 1 ? model.shown.card1 : model.shown.card2) = text;
            } else if (roll < 70) {
                what = QStringLiteral("click the box");
                ui.clickCheckBox();
                model.shown.suited = !model.shown.suited;
                model.evaluate();
            } else if (roll < 80) {
                what = QStringLiteral("space on the box");
                ui.key(ui.check1, Qt::Key_Space);
                model.shown.suited = !model.shown.suited;
                model.evaluate();
            } else if (roll < 88) {
                what = QStringLiteral("tab");
                ui.key(QApplication::focusWidget() ? QApplication::focusWidget() : &window,
                    Qt::Key_Tab);
            } else if (roll < 97) {
                const QString text
                    = random.bounded(2) ? QStringLiteral("99%") : QStringLiteral("x");
                what = QStringLiteral("type '%1' into the result").arg(text);
                ui.typeOver(ui.text1, text);
                model.shown.result = text;
            } else {
                const int close = random.bounded(3);
                what = QStringLiteral("help, closed by %1").arg(close);
                const bool closed = ui.withHelpMessage(
                    [&] { QTest::mouseClick(ui.help, Qt::LeftButton); }, [](QMessageBox *) {},
                    [close](QMessageBox *box) {
                        if (close == 0)
                            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
                        else
                            QTest::keyClick(box, close == 1 ? Qt::Key_Escape : Qt::Key_Enter);
                    });
                QVERIFY2(closed, qPrintable(what));
            }
            const QByteArray context
                = QStringLiteral("action %1: %2").arg(action).arg(what).toUtf8();
            if (ui.state() != model.shown)
                QFAIL((context + " shows " + std::unique_ptr<char[]>(toString(ui.state())).get()
                    + ", expected " + std::unique_ptr<char[]>(toString(model.shown)).get())
                          .constData());
            QVERIFY2(ui.combo1->count() == 13 && ui.combo2->count() == 13, context.constData());
        }
    }
};

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    SessionTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "session_test.moc"
