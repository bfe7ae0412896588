// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
// The window on real widgets: what the player sees, a long random session of named player
// actions checked against a small model after each, the edit fields' answers at the limits of
// the offsets, the display the program chooses, and what becomes of an exception in a handler.

#include "application.h"
#include "expected_grids.h"
#include "identity.h"
#include "mainwindow.h"

#include <QtTest>
#include <QtWidgets>

namespace
{

const QStringList Ranks = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};

// What the player should see and hear: the cards, the box, the result, where the focus is, what
// the answer notice last said and how often it appeared, and what a screen reader finds on each
// card (its selector and its edit field) and on the box: their label and their description.
struct Shown {
    QString card1 = "Card 1", card2 = "Card 2";
    bool suited = false;
    QString result, focus = "Combo1", heard, found = "Card 1 | Card 1 | Card 2 | Card 2 | Suited";
    int told = 0;
    QString text() const
    {
        return QString("%1 | %2 | %3 | '%4' | focus %5 | heard '%6' %7 times | found '%8'")
            .arg(card1, card2, suited ? "suited" : "offsuit", result, focus, heard)
            .arg(told)
            .arg(found);
    }
};

// How the answer reaches a screen reader after a choice made in `chosenIn`, the one place that
// says it: the standing answer is found on every card and on the box, and the notice is heard
// but where Qt 6.8 has the focused control speak its own change.
void expectAnswer(Shown &model, const QString &choice, const QString &chosenIn)
{
    model.result = QString::fromStdString(expected::resultAfterEvaluation(
        model.card1.toStdString(), model.card2.toStdString(), model.suited));
    const QString answer = model.result.isEmpty() ? "no win chance" : "win chance " + model.result;
    model.found
        = QString("Card 1, %1 | Card 1, %1 | Card 2, %1 | Card 2, %1 | Suited, %1").arg(answer);
    // Every answer is told wherever the focus is: by the notice's appearing before Qt 6.8, by an
    // announcement from 6.8.
    Q_UNUSED(chosenIn);
    model.heard = choice + ", " + answer;
    ++model.told;
}

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

    MainWindow *window = nullptr;
    QComboBox *cards[2] = {};
    QLineEdit *text1 = nullptr;
    QCheckBox *check1 = nullptr;
    QPushButton *help = nullptr;
    const QFont desktopFont = QApplication::font(); // before any window is built
    static inline int told = 0;

    bool eventFilter(QObject *, QEvent *event) override
    {
        told += event->type() == QEvent::Show;
        return false;
    }

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    static void countAnnouncements(QAccessibleEvent *event)
    {
        told += event->type() == QAccessible::Announcement;
    }
#endif

    Shown shown() const
    {
        QStringList found;
        for (QWidget *control : std::initializer_list<QWidget *>{
                 cards[0], cards[0]->lineEdit(), cards[1], cards[1]->lineEdit(), check1}) {
            const auto labels
                = QAccessible::queryAccessibleInterface(control)->relations(QAccessible::Label);
            const QString description = control->accessibleDescription();
            found << (labels.isEmpty() ? "no label" : labels[0].first->text(QAccessible::Name))
                    + (description.isEmpty() ? QString() : ", " + description);
        }
        // A selector's value and what flat review reads in it are the rank on show.
        const auto value = [](QComboBox *card) {
            QAccessibleInterface *selector = QAccessible::queryAccessibleInterface(card);
            const QString value = selector->text(QAccessible::Value);
            return value == card->currentText() && selector->textInterface()->text(0, 99) == value
                ? value
                : "value " + value + ", shown " + card->currentText();
        };
        const QWidget *focus = QApplication::focusWidget();
        return {value(cards[0]), value(cards[1]), check1->isChecked(), text1->text(),
            focus ? focus->objectName() : QString(),
            window->findChild<QWidget *>("answerNotice")->accessibleName(), found.join(" | "),
            told};
    }

    // Opens the list by its arrow and clicks the item, the mouse passing over it on the way.
    void pickByMouse(QComboBox *card, int index)
    {
        QTest::mouseClick(card, Qt::LeftButton, {}, QPoint(card->width() - 4, card->height() / 2));
        QAbstractItemView *list = card->view();
        QTRY_VERIFY(list->isVisible());
        const QRect item = list->visualRect(list->model()->index(index, 0));
        QTest::mouseMove(list->viewport(), item.topLeft() + QPoint(1, 1));
        QTest::mouseMove(list->viewport(), item.center());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QTRY_VERIFY(!list->isVisible());
    }

    void typeOver(QWidget *field, const QString &text)
    {
        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(10, field->height() / 2));
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), {});
    }

    // Presses Help by `press`, checks the message and closes it by OK, Enter, Escape or its close
    // box; returns once it is gone.
    void withHelp(const std::function<void()> &press, int close)
    {
        bool closed = false;
        QTimer::singleShot(0, window, [&] {
            // Whatever a check finds, the box goes, rather than wait for CTest's timeout.
            const auto closeAnyway = qScopeGuard([] {
                if (auto *open = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                    open->done(0);
            });
            QMessageBox *box = nullptr;
            QTRY_VERIFY((box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())));
            QCOMPARE(box->text(),
                "Quorvel v0.9 Select your pre flop cards as they are delt. "
                "Percentage displayed is to win against random cards. Theres "
                "more info at www.quorvel.example");
            QVERIFY(box->windowTitle() == "Quorvel" && box->icon() == QMessageBox::NoIcon
                && box->buttons().size() == 1 && box->textFormat() == Qt::PlainText
                && box->windowModality() == Qt::ApplicationModal && box->font() == desktopFont);
            QVERIFY(!window->close() && window->isVisible()); // a close waits, as any input does
            if (close == 0)
                QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            else if (close == 3)
                box->close();
            else
                QTest::keyClick(box, close == 1 ? Qt::Key_Enter : Qt::Key_Escape);
            closed = QTest::qWaitFor([box] { return !box->isVisible(); });
        });
        press();
        QVERIFY(closed);
        // Offscreen, nothing hands the activation back as a window manager does.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

private Q_SLOTS:
    void init()
    {
        window = new MainWindow;
        cards[0] = window->findChild<QComboBox *>("Combo1");
        cards[1] = window->findChild<QComboBox *>("Combo2");
        text1 = window->findChild<QLineEdit *>("Text1");
        check1 = window->findChild<QCheckBox *>("Check1");
        help = window->findChild<QPushButton *>("help");
        told = 0;
        window->findChild<QWidget *>("answerNotice")->installEventFilter(this);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        QAccessible::installUpdateHandler(countAnnouncements);
        QAccessible::setActive(true);
#endif
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    void cleanup() { delete window; }

    // What the player sees, at any DPI: one size, 243x120 at 96 dpi, grown with the fonts' DPI
    // and scaled pixel for pixel; every control whole, in the window, in the design's face and
    // size, none over another; labels in the desktop's colour for text on a selection.
    void looks()
    {
        const int dpiX = window->logicalDpiX(), dpiY = window->logicalDpiY();
        const QSize size(qRound(243 * dpiX / 96.0), qRound(120 * dpiY / 96.0));
        QCOMPARE(
            std::tuple(window->minimumSize(), window->maximumSize(), window->devicePixelRatio()),
            std::tuple(size, size, qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble()));
        QStringList fonts;
        for (QWidget *control : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!control->isVisible() || control->size().isEmpty())
                continue;
            const QString name = control->objectName();
            const QFont font = control->font();
            fonts << name + " " + QString::number(font.pointSizeF()) + (font.bold() ? " bold" : "");
            const bool narrow = name == "Label3";
            QCOMPARE(std::tuple(name, QFontInfo(font).family(), QFontInfo(font).pixelSize(),
                         control->foregroundRole() == QPalette::HighlightedText),
                std::tuple(name, narrow ? "Liberation Sans Narrow" : "Liberation Sans",
                    qRound(font.pointSizeF() * dpiY / 72), control->inherits("QLabel")));
            // The caption whole (the box's lies beyond its width by design) and in the window,
            // which clips only the address's empty end.
            const auto *combo = qobject_cast<QComboBox *>(control);
            const QString caption
                = combo ? combo->currentText() : control->property("text").toString();
            const int advance = QFontMetrics(font).horizontalAdvance(caption);
            const QRect area = control->geometry();
            QVERIFY2(control == check1 || advance <= (combo ? combo->lineEdit() : control)->width(),
                qPrintable(name));
            QVERIFY2(window->rect().contains(narrow
                             ? QRect(area.topLeft(), QSize(advance, QFontMetrics(font).height()))
                             : area),
                qPrintable(name));
            for (const QWidget *other : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                QVERIFY2(
                    other == control || !other->isVisible() || !other->geometry().intersects(area),
                    qPrintable(name + " and " + other->objectName()));
        }
        QCOMPARE(fonts.join(", "),
            "Combo1 8.25, Combo2 8.25, Text1 13.5 bold, Check1 8.25, Label1 9.75 bold, help 8.25, "
            "Label2 8.25 bold, Label3 6.75");
        // The tab order, each control heard by its name, and round to the first again.
        QStringList heard;
        for (int i = 0; i < 5; ++i) {
            QWidget *focus = QApplication::focusWidget();
            heard << QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name);
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QCOMPARE(heard.join(", ") + ", " + QApplication::focusWidget()->objectName(),
            "Card 1, Card 2, Win chance, Suited, Help, Combo1");
        // No maximise offered, and a request to fill the screen leaves it as it was.
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        const QRect placed = window->geometry();
        for (Qt::WindowState filling : {Qt::WindowMaximized, Qt::WindowFullScreen}) {
            window->setWindowState(filling); // refused at once, not later by the platform
            QCOMPARE(window->windowState(), Qt::WindowNoState);
            QTRY_COMPARE(window->geometry(), placed);
        }
        // Centred on the screen; on a screen smaller than the window, its corner on the screen.
        const QRect frame = window->frameGeometry(), screen = window->screen()->availableGeometry();
        const QPoint offset = frame.center() - screen.center();
        QVERIFY(screen.contains(frame) ? offset.manhattanLength() <= 2
                                       : frame.topLeft() == screen.topLeft());
        QVERIFY(!QAccessible::queryAccessibleInterface(help)->state().defaultButton);
        // A screen reader is given the box's whole area, where a click ticks it.
        QCOMPARE(QAccessible::queryAccessibleInterface(check1)->rect(),
            QRect(check1->mapToGlobal(QPoint(0, 0)), check1->size()));
        // The icon, and every size kept beside its text source, are that source pixel for pixel.
        const QImage source(QFINDTESTDATA("../../assets/quorvel.xpm"));
        const auto pixels = [](const QImage &image, int size) {
            return image.scaled(size, size).convertToFormat(QImage::Format_ARGB32);
        };
        QCOMPARE(pixels(window->windowIcon().pixmap(32, 32).toImage(), 32), pixels(source, 32));
        for (const int size : {32, 48, 64, 128, 256}) {
            const QString png = QString("../../assets/icons/quorvel-%1.png").arg(size);
            QCOMPARE(pixels(QImage(QFINDTESTDATA(png)), size), pixels(source, size));
        }
    }

    // Random player actions from a fixed seed, each named. After each, the window must show what
    // the model expects: only picks and toggles evaluate, an evaluation shows the stored win
    // chance of the hand on show or clears the box, and the player hears it wherever the focus is.
    void randomSessionMatchesTheModel()
    {
        enum { Mouse, Key, Typing, BoxClick, Tab, Help, Toggle, List, Set };
        const char *const names[] = {"a pick by mouse", "an arrow or page key in the focused card",
            "typing in a card, ended by Return, Escape, Tab or nothing",
            "a click in the box's area", "Tab or Backtab",
            "Help by click, Space or Enter, closed four ways", "the box's Toggle action",
            "a list opened, marked and closed by its actions",
            "a card's text set through its interface, which counts as typing"};
        const QStringList cycle = {"Combo1", "Combo2", "Text1", "Check1", "help"};
        const QStringList typed = {"A", "K", "10", "k", "T", " A", "Q ", "", "Card 1", "\u2660"};
        QRandomGenerator random(20261207);
        Shown model;
        int index[2] = {-1, -1};
        const auto pick = [&](int card, int to) {
            (card ? model.card2 : model.card1) = Ranks[index[card] = to];
            expectAnswer(model, Ranks[to], cycle[card]);
        };
        const auto step = [&](int card, int by) { // nothing happens past either end of the list
            if (index[card] + by >= 0 && index[card] + by < 13)
                pick(card, index[card] + by);
        };
        const auto toggle = [&] {
            expectAnswer(model, (model.suited = !model.suited) ? "suited" : "offsuit", "Check1");
        };
        const int count = qEnvironmentVariableIntValue("QUORVEL_SESSION_ACTIONS");
        for (int n = 0; n < (count ? count : 10000); ++n) {
            const int card = random.bounded(2), action = random.bounded(Set + 1);
            const int focused = int(cycle.indexOf(model.focus)), by = random.bounded(2) ? 1 : -1;
            QWidget *focus = QApplication::focusWidget();
            QAccessibleInterface *selector = QAccessible::queryAccessibleInterface(cards[card]);
            if (action == Key && focused >= 2)
                continue;
            switch (action) {
            case Mouse: {
                const int to = random.bounded(13);
                pickByMouse(cards[card], to);
                model.focus = cycle[card];
                pick(card, to);
                break;
            }
            case Key: {
                static const Qt::Key keys[]
                    = {Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Down, Qt::Key_PageDown};
                QTest::keyClick(focus, keys[random.bounded(2) + (by > 0 ? 2 : 0)]);
                step(focused, by);
                break;
            }
            case Typing: {
                typeOver(cards[card]->lineEdit(),
                    (card ? model.card2 : model.card1) = typed[random.bounded(10)]);
                static const Qt::Key endings[] = {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab};
                const int ending = random.bounded(4);
                if (ending < 3)
                    QTest::keyClick(QApplication::focusWidget(), endings[ending]);
                model.focus = cycle[card + (ending == 2)];
                break;
            }
            case BoxClick:
                QTest::mouseClick(check1, Qt::LeftButton, {},
                    QPoint(random.bounded(check1->width()), random.bounded(check1->height())));
                model.focus = "Check1";
                toggle();
                break;
            case Tab:
                QTest::keyClick(focus, by > 0 ? Qt::Key_Tab : Qt::Key_Backtab);
                model.focus = cycle[(focused + (by > 0 ? 1 : 4)) % 5];
                break;
            case Help: {
                const int key = model.focus == "help" ? random.bounded(3) : 0;
                withHelp(
                    [&] {
                        key ? QTest::keyClick(focus, key == 1 ? Qt::Key_Space : Qt::Key_Enter)
                            : QTest::mouseClick(help, Qt::LeftButton);
                    },
                    random.bounded(4));
                model.focus = "help";
                break;
            }
            case Toggle:
                QAccessible::queryAccessibleInterface(check1)->actionInterface()->doAction(
                    QAccessibleActionInterface::toggleAction());
                toggle();
                break;
            case List:
                selector->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
                QTRY_VERIFY(cards[card]->view()->isVisible());
                selector->child(0)
                    ->child(random.bounded(13))
                    ->actionInterface()
                    ->doAction(QAccessibleActionInterface::toggleAction());
                selector->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                QTRY_VERIFY(!cards[card]->view()->isVisible());
                break;
            case Set: {
                QAccessibleInterface *field = selector->child(1);
                field->editableTextInterface()->replaceText(0,
                    field->textInterface()->characterCount(),
                    (card ? model.card2 : model.card1) = typed[random.bounded(10)]);
                break;
            }
            }
            const QString what = QString("action %1, %2: ").arg(n).arg(names[action]);
            QVERIFY2(!QTest::currentTestFailed(), qPrintable(what)); // a check within it failed
            QCOMPARE(what + shown().text(), what + model.text());
        }
    }

    // A magnifier follows the caret by its character. A text wider than the field scrolls it at
    // the next repaint; a rectangle asked before that must not stand for the one asked after.
    void caretFollowsTheScroll()
    {
        QLineEdit *edit = cards[0]->lineEdit();
        auto *texts = QAccessible::queryAccessibleInterface(edit)->textInterface();
        edit->setText(QString("king ace ").repeated(40));
        texts->characterRect(0);
        edit->repaint();
        const QRect onScreen(edit->mapToGlobal(QPoint(0, 0)), edit->size());
        QVERIFY(onScreen.contains(texts->characterRect(texts->characterCount() - 1).center()));
    }

    // In a field filled to its limit, a replacement has the room of the range it replaces, and
    // an insertion has none.
    void fullFieldReplaces()
    {
        const QString full(text1->maxLength(), 'A');
        auto *edits = QAccessible::queryAccessibleInterface(text1)->editableTextInterface();
        text1->setText(full);
        edits->replaceText(0, 2, "xyz");
        edits->insertText(5, "z");
        QCOMPARE(text1->text(), "xy" + full.mid(2));
    }

    // Given QT_QPA_PLATFORM, DISPLAY and WAYLAND_DISPLAY: X11 where the session offers it, else
    // the user's choice or Qt's own; with no display at all, a line rather than Qt's abort.
    void displayChoice()
    {
        const std::tuple<QByteArray, QByteArray, QByteArray, bool, QByteArray> cases[]
            = {{"", "", "", true, ""}, {"", ":0", "", false, "xcb;wayland"},
                {"", ":0", "wayland-0", false, "xcb;wayland"}, {"", "", "wayland-0", false, ""},
                {"wayland", ":0", "wayland-0", false, ""}, {"offscreen", "", "", false, ""}};
        for (const auto &[platform, x11, wayland, none, platforms] : cases) {
            const DisplayChoice choice = chooseDisplay(platform, x11, wayland);
            QCOMPARE(std::tuple(platform, x11, wayland, choice.none, choice.platforms),
                std::tuple(platform, x11, wayland, none, platforms));
        }
    }

    void escapedExceptionIsReportedAndTheLoopGoesOn()
    {
        QPushButton button("Go");
        button.setObjectName("thrower");
        connect(&button, &QPushButton::clicked, [] { throw std::runtime_error("window gone"); });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::ignoreMessage(QtCriticalMsg,
            "Quorvel: window gone while handling MouseButtonRelease for QPushButton \"thrower\"");
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("an unknown exception"));
        QTimer::singleShot(0, &button, [] { throw 42; });
        QTest::qWait(20); // the loop goes on, and the message must have come
    }

    // An opened list is in the desktop's colours, whatever the scheme; the grey is the window's.
    void listsTakeTheSchemesColours()
    {
        const QPalette desktop = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });
        QPalette dark = desktop;
        dark.setColor(QPalette::Window, QColor(32, 35, 38));
        dark.setColor(QPalette::Base, QColor(20, 22, 24));
        dark.setColor(QPalette::Text, QColor(252, 252, 252));
        QApplication::setPalette(dark); // as a platform theme does when the scheme changes
        for (QComboBox *card : cards) {
            card->showPopup();
            QAbstractItemView *list = card->view();
            QTRY_VERIFY(list->isVisible());
            const QPalette shown = list->palette();
            QCOMPARE(list->window()->palette().color(QPalette::Window), QColor(32, 35, 38));
            QCOMPARE(shown.color(QPalette::Base), QColor(20, 22, 24));
            QCOMPARE(shown.color(QPalette::Text), QColor(252, 252, 252));
            const QImage drawn = list->viewport()->grab().toImage();
            QCOMPARE(drawn.pixelColor(drawn.width() - 2, drawn.height() - 2), QColor(20, 22, 24));
            card->hidePopup();
            QTRY_VERIFY(!list->isVisible());
        }
        QCOMPARE(window->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
    }
};

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    // The looks are measured in the window's own faces; Debian 13 packs the Narrow one apart.
    const bool looks
        = std::any_of(argv, argv + argc, [](const char *a) { return strstr(a, "looks"); });
    const char *narrow = QSysInfo::productType() == "debian" && QSysInfo::productVersion() >= "13"
        ? "fonts-liberation-sans-narrow"
        : "fonts-liberation";
    for (const auto &[face, package] : {std::pair("Liberation Sans", "fonts-liberation"),
             std::pair("Liberation Sans Narrow", narrow)}) {
        if (looks && !QFontDatabase::hasFamily(face)) {
            std::printf("skipped: the window's face %s is not installed (%s)\n", face, package);
            return 77; // what CTest counts as skipped, or, in a strict run, as failed
        }
    }
    WindowTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "window_test.moc"
