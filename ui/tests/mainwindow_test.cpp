// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#include "driver.h"

#include "application.h"
#include "helpmessage.h"
#include "identity.h"
#include "rankselector.h"

#include <QFontInfo>
#include <QSignalSpy>
#include <QStyle>

#include <memory>

namespace
{

int rank(const char *label)
{
    return static_cast<int>(Ranks.indexOf(QString::fromLatin1(label)));
}

const QColor Grey(0xC0, 0xC0, 0xC0);
// Stands in the result box before an action; an evaluation replaces or clears it.
const QString Untouched = QStringLiteral("untouched");

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_window = std::make_unique<MainWindow>();
        m_ui = std::make_unique<Driver>(*m_window);
        QVERIFY(m_ui->complete());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    void cleanup()
    {
        m_ui.reset();
        m_window.reset();
    }

    void startsWithNothingChosen()
    {
        QCOMPARE(m_ui->state(),
            (WindowState{QStringLiteral("Card 1"), QStringLiteral("Card 2"), false, QString()}));
        QCOMPARE(m_ui->check1->checkState(), Qt::Unchecked);
        for (QComboBox *combo : {m_ui->combo1, m_ui->combo2}) {
            QStringList items;
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
            QCOMPARE(items, Ranks);
            QCOMPARE(combo->currentIndex(), -1);
            QVERIFY(combo->isEditable());
        }
        QCOMPARE(QApplication::focusWidget(), m_ui->combo1);
        QVERIFY(!m_ui->text1->isModified());
    }

    void fillingTheListsSelectsNothing()
    {
        // The window fills its lists while it is built; fill a fresh selector to watch it.
        RankSelector fresh(QStringLiteral("Card 1"));
        RankSelector *selector = &fresh;
        QSignalSpy activated(selector, &QComboBox::activated);
        QSignalSpy index(selector, &QComboBox::currentIndexChanged);
        QSignalSpy text(selector, &QComboBox::editTextChanged);
        selector->addItems(Ranks);
        QCOMPARE(selector->currentIndex(), -1);
        QCOMPARE(selector->currentText(), QStringLiteral("Card 1"));
        QCOMPARE(activated.count() + index.count() + text.count(), 0);
    }

    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("face");
        QTest::addColumn<qreal>("points");
        QTest::addColumn<int>("weight");
        QTest::addColumn<int>("pixels");

        const auto row = [](const char *name, const char *kind, const char *caption, QRect twips,
                             const char *face, qreal points, int weight, int pixels) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind)
                                << QString::fromLatin1(caption) << twips
                                << QString::fromLatin1(face) << points << weight << pixels;
        };
        const char *sans = "Liberation Sans";
        row("Combo1", "RankSelector", "Card 1", {120, 720, 855, 315}, sans, 8.25, 400, 11);
        row("Combo2", "RankSelector", "Card 2", {1200, 720, 855, 315}, sans, 8.25, 400, 11);
        row("Text1", "QLineEdit", "", {2280, 660, 855, 450}, sans, 13.5, 700, 18);
        row("Check1", "QCheckBox", "Check1", {1080, 1200, 255, 495}, sans, 8.25, 400, 11);
        row("Label1", "QLabel", "Suited", {120, 1320, 855, 375}, sans, 9.75, 700, 13);
        row("help", "QPushButton", "Help", {120, 120, 735, 255}, sans, 8.25, 400, 11);
        row("Label2", "QLabel", "To Win", {2400, 1200, 735, 255}, sans, 8.25, 700, 11);
        row("Label3", "QLabel", identity::WebAddress, {2520, 1560, 1455, 375},
            "Liberation Sans Narrow", 6.75, 400, 9);
    }

    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, caption);
        QFETCH(QRect, twips);
        QFETCH(QString, face);
        QFETCH(qreal, points);
        QFETCH(int, weight);
        QFETCH(int, pixels);

        auto *widget = m_window->findChild<QWidget *>(name);
        QVERIFY(widget);
        QCOMPARE(widget->metaObject()->className(), kind);
        QCOMPARE(
            widget->property(widget->inherits("QComboBox") ? "currentText" : "text").toString(),
            caption);

        const QRect pixelRect(
            twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
        QCOMPARE(widget->geometry(), pixelRect);
        // Under high-DPI scaling the whole layout scales with the device pixel ratio.
        const qreal ratio = m_window->devicePixelRatioF();
        QCOMPARE(widget->grab().size(), pixelRect.size() * ratio);

        const QFont font = widget->font();
        QCOMPARE(font.family(), face);
        QCOMPARE(font.pointSizeF(), points);
        QCOMPARE(font.weight(), weight);
        QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
        const QFontInfo used(font);
        QCOMPARE(used.family(), face); // the face itself, not a fallback
        QCOMPARE(used.pixelSize(), pixels);
    }

    void windowIsFixedAndTitled()
    {
        QCOMPARE(m_window->objectName(), QStringLiteral("mainwindow"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Quorvel v0.9"));
        QCOMPARE(m_window->size(), QSize(243, 120));
        QCOMPARE(m_window->minimumSize(), QSize(243, 120));
        QCOMPARE(m_window->maximumSize(), QSize(243, 120));
        // 486 by 240 device pixels when CTest runs this at scale factor 2.
        const qreal scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
            ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
            : 1.0;
        QCOMPARE(m_window->devicePixelRatioF(), scale);
        QCOMPARE(m_window->grab().size(), QSize(243, 120) * scale);
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Quorvel"));
    }

    void windowIsCentred()
    {
        const QRect screen = m_window->screen()->availableGeometry();
        const QPoint offset = m_window->frameGeometry().center() - screen.center();
        QVERIFY2(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1,
            qPrintable(QStringLiteral("off centre by %1,%2").arg(offset.x()).arg(offset.y())));
    }

    void iconIsAPalettedTowerRow()
    {
        const QImage icon(QStringLiteral(":/icons/quorvel.png"));
        QCOMPARE(icon.size(), QSize(32, 32));
        QCOMPARE(icon.format(), QImage::Format_Indexed8);
        QVERIFY(icon.colorCount() <= 256);

        bool transparent = false, red = false, white = false, blue = false, green = false;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QColor c = icon.pixelColor(x, y);
                transparent |= c.alpha() == 0;
                if (c.alpha() == 0)
                    continue;
                red |= c.red() > 160 && c.green() < 80 && c.blue() < 80;
                white |= c.red() > 230 && c.green() > 230 && c.blue() > 230;
                blue |= c.blue() > 160 && c.red() < 80 && c.green() < 100;
                green |= c.green() > 100 && c.red() < 80 && c.blue() < 80;
            }
        }
        QVERIFY(transparent && red && white && blue && green);
        // The ground is at the bottom, the sky around the towers is clear.
        QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);
        QVERIFY(icon.pixelColor(16, 31).green() > 100);

        QVERIFY(!m_window->windowIcon().isNull());
        const QImage shown = m_window->windowIcon().pixmap(32, 32).toImage();
        QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32),
            icon.convertToFormat(QImage::Format_ARGB32));
    }

    void coloursComeFromTheGreyAndTheDesktopScheme()
    {
        QVERIFY(m_window->autoFillBackground());
        QCOMPARE(m_window->palette().color(QPalette::Window), Grey);
        for (const char *name : {"Check1", "Label1", "Label2"}) {
            auto *widget = m_window->findChild<QWidget *>(QString::fromLatin1(name));
            QVERIFY2(widget->autoFillBackground(), name);
            QCOMPARE(widget->palette().color(widget->backgroundRole()), Grey);
        }
        for (const char *name : {"Label1", "Label2", "Label3"}) {
            auto *label = m_window->findChild<QLabel *>(QString::fromLatin1(name));
            QCOMPARE(label->foregroundRole(), QPalette::HighlightedText);
            QCOMPARE(label->textFormat(), Qt::PlainText);
        }

        // The desktop's scheme is looked up when drawn: change it and the window follows.
        const QPalette original = QApplication::palette();
        QPalette scheme = original;
        scheme.setColor(QPalette::HighlightedText, QColor(0xFF, 0x00, 0xFF));
        scheme.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0x00));
        scheme.setColor(QPalette::Button, QColor(0x00, 0xFF, 0xFF));
        QApplication::setPalette(scheme);
        QCoreApplication::processEvents(); // the change reaches the widgets through events
        const QImage picture = m_window->grab().toImage();
        QApplication::setPalette(original);
        QCoreApplication::processEvents();

        // Text is antialiased: its core pixels come close to its colour, not always onto it.
        const auto near = [](const QColor &a, const QColor &b) {
            return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue())
                < 60;
        };
        const qreal ratio = picture.devicePixelRatio();
        const auto at = [&](int x, int y) { return picture.pixelColor(QPoint(x, y) * ratio); };
        const auto contains = [&](const char *name, const QColor &colour) {
            const QRect area
                = m_window->findChild<QWidget *>(QString::fromLatin1(name))->geometry();
            for (int y = area.top(); y <= area.bottom() && y < 120; ++y)
                for (int x = area.left(); x <= area.right() && x < 243; ++x)
                    if (near(at(x, y), colour))
                        return true;
            return false;
        };
        QCOMPARE(at(120, 4), Grey); // the window, between controls
        QCOMPARE(at(9 + 55, 89), Grey); // Label1's own background
        QVERIFY(contains("Label1", QColor(0xFF, 0x00, 0xFF)));
        QVERIFY(contains("Label2", QColor(0xFF, 0x00, 0xFF)));
        QVERIFY(contains("Label3", QColor(0xFF, 0x00, 0xFF)));
        QVERIFY(contains("Text1", QColor(0xFF, 0xFF, 0x00)));
        QVERIFY(contains("Combo1", QColor(0xFF, 0xFF, 0x00)));
        QVERIFY(!contains("Label1", QColor(0xFF, 0xFF, 0x00)));
    }

    void tabCyclesThroughTheControls()
    {
        const QStringList expected
            = {QStringLiteral("Combo2"), QStringLiteral("Text1"), QStringLiteral("Check1"),
                QStringLiteral("help"), QStringLiteral("Combo1"), QStringLiteral("Combo2")};
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Combo1"));
        for (const QString &next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Combo1"));
    }

    void picksEvaluateOnceOnTheNewItem_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("mouse") << 0;
        QTest::newRow("keys") << 1;
    }

    void picksEvaluateOnceOnTheNewItem()
    {
        QFETCH(int, how);
        QSignalSpy picks1(m_ui->combo1, &QComboBox::activated);
        QSignalSpy picks2(m_ui->combo2, &QComboBox::activated);
        const auto pick = [&](QComboBox *combo, int index) {
            if (how == 0)
                return m_ui->pickByMouse(combo, index);
            while (combo->currentIndex() < index)
                m_ui->key(combo, Qt::Key_Down);
            while (combo->currentIndex() > index)
                m_ui->key(combo, Qt::Key_Up);
            return true;
        };

        m_ui->text1->setText(Untouched);
        QVERIFY(pick(m_ui->combo1, rank("A")));
        QCOMPARE(m_ui->state(), (WindowState{"A", "Card 2", false, ""}));
        QCOMPARE(picks1.count(), 1);

        QVERIFY(pick(m_ui->combo2, rank("K")));
        QCOMPARE(m_ui->text1->text(), QStringLiteral("65%"));
        QCOMPARE(picks2.count(), how == 0 ? 1 : rank("K") + 1);

        m_ui->clickCheckBox();
        QCOMPARE(m_ui->state(), (WindowState{"A", "K", true, "67%"}));
        m_ui->key(m_ui->check1, Qt::Key_Space);
        QCOMPARE(m_ui->state(), (WindowState{"A", "K", false, "65%"}));

        QVERIFY(pick(m_ui->combo2, rank("A")));
        QCOMPARE(m_ui->text1->text(), QStringLiteral("85%"));
        m_ui->clickCheckBox();
        QCOMPARE(m_ui->state(), (WindowState{"A", "A", true, "85%"}));
        QVERIFY(pick(m_ui->combo1, rank("2")));
        QCOMPARE(m_ui->text1->text(), QStringLiteral("57%"));
        QVERIFY(pick(m_ui->combo2, rank("3")));
        QCOMPARE(m_ui->text1->text(), QStringLiteral("35%"));
        m_ui->clickCheckBox();
        QCOMPARE(m_ui->text1->text(), QStringLiteral("32%"));
    }

    void everyWayOfPickingEvaluatesOnce_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("step");
        QTest::newRow("Down") << int(Qt::Key_Down) << 1;
        QTest::newRow("Up") << int(Qt::Key_Up) << -1;
        QTest::newRow("PageDown") << int(Qt::Key_PageDown) << 1;
        QTest::newRow("PageUp") << int(Qt::Key_PageUp) << -1;
        QTest::newRow("wheel down") << -120 << 1;
        QTest::newRow("wheel up") << 120 << -1;
        QTest::newRow("keys in the open list") << 0 << 1;
    }

    void everyWayOfPickingEvaluatesOnce()
    {
        QFETCH(int, key);
        QFETCH(int, step);
        QVERIFY(m_ui->pickByMouse(m_ui->combo1, rank("Q")));
        QVERIFY(m_ui->pickByMouse(m_ui->combo2, rank("10")));
        QSignalSpy picks(m_ui->combo2, &QComboBox::activated);
        m_ui->text1->setText(Untouched);

        if (key == 120 || key == -120) {
            m_ui->wheel(m_ui->combo2, key);
        } else if (key == 0) {
            m_ui->key(m_ui->combo2, Qt::Key_F4);
            QAbstractItemView *list = m_ui->combo2->view();
            QTRY_VERIFY(list->isVisible());
            QCOMPARE(picks.count(), 0); // opening the list picks nothing
            m_ui->key(list, Qt::Key_Down);
            QCOMPARE(picks.count(), 0); // nor does moving through it
            m_ui->key(list, Qt::Key_Return);
            QTRY_VERIFY(!list->isVisible());
        } else {
            m_ui->key(m_ui->combo2, Qt::Key(key));
        }

        const QString now = Ranks.at(rank("10") + step);
        QCOMPARE(picks.count(), 1);
        QCOMPARE(m_ui->combo2->currentText(), now);
        const QString expected
            = now == QLatin1String("J") ? QStringLiteral("58%") : QStringLiteral("55%");
        QCOMPARE(m_ui->text1->text(), expected);
    }

    void pickingTheSameItemAgainEvaluates()
    {
        QVERIFY(m_ui->pickByMouse(m_ui->combo1, rank("A")));
        QVERIFY(m_ui->pickByMouse(m_ui->combo2, rank("K")));
        m_ui->typeOver(m_ui->combo2, QStringLiteral("k"));
        m_ui->text1->setText(Untouched);
        QSignalSpy picks(m_ui->combo2, &QComboBox::activated);
        QVERIFY(m_ui->pickByMouse(m_ui->combo2, rank("K")));
        QCOMPARE(picks.count(), 1);
        QCOMPARE(m_ui->state(), (WindowState{"A", "K", false, "65%"}));
    }

    void stepsStopAtTheEndsOfTheList()
    {
        QSignalSpy picks(m_ui->combo1, &QComboBox::activated);
        m_ui->key(m_ui->combo1, Qt::Key_Up); // nothing is selected yet
        QCOMPARE(picks.count(), 0);
        QCOMPARE(m_ui->combo1->currentText(), QStringLiteral("Card 1"));
        for (int i = 0; i < 15; ++i)
            m_ui->key(m_ui->combo1, Qt::Key_Down);
        QCOMPARE(picks.count(), 13);
        QCOMPARE(m_ui->combo1->currentText(), QStringLiteral("K"));
    }

    // Qt's editable combo box completes, inserts and rewrites typed text by default.
    void typedTextStandsAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("then");
        const QList<QPair<const char *, int>> endings = {{"nothing", 0}, {"Enter", 1}, {"Tab", 2},
            {"click away", 3}, {"Return", 4}, {"Escape", 5}};
        for (const char *typed : {"1", "k", "K", "a", "10", "Z", "q ", ""})
            for (const auto &[name, then] : endings)
                QTest::newRow(QByteArray("'") + typed + "' then " + name)
                    << QString::fromLatin1(typed) << then;
    }

    void typedTextStandsAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(int, then);
        QVERIFY(m_ui->pickByMouse(m_ui->combo1, rank("A")));
        QVERIFY(m_ui->pickByMouse(m_ui->combo2, rank("Q")));
        QCOMPARE(m_ui->text1->text(), QStringLiteral("64%"));
        QSignalSpy picks(m_ui->combo2, &QComboBox::activated);
        m_ui->combo2->setFocus();

        m_ui->typeOver(m_ui->combo2, typed);
        switch (then) {
        case 1:
            m_ui->key(m_ui->combo2, Qt::Key_Enter);
            break;
        case 2:
            m_ui->key(m_ui->combo2, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), m_ui->text1);
            break;
        case 3:
            QTest::mouseClick(m_ui->text1, Qt::LeftButton);
            m_ui->text1->setFocus(Qt::MouseFocusReason);
            QCOMPARE(QApplication::focusWidget(), m_ui->text1);
            break;
        case 4:
            m_ui->key(m_ui->combo2, Qt::Key_Return);
            break;
        case 5:
            m_ui->key(m_ui->combo2, Qt::Key_Escape);
            break;
        }

        QCOMPARE(picks.count(), 0);
        QCOMPARE(m_ui->state(), (WindowState{"A", typed, false, "64%"}));
        QCOMPARE(m_ui->combo2->count(), 13);
        QCOMPARE(m_ui->combo2->currentIndex(), rank("Q"));

        // The next evaluation reads the text as typed, and an unknown text clears the old answer.
        m_ui->clickCheckBox();
        const QString suitedWithAce = typed == QLatin1String("K") ? QStringLiteral("67%")
            : typed == QLatin1String("10")                        ? QStringLiteral("64%")
                                                                  : QString();
        QCOMPARE(m_ui->text1->text(), suitedWithAce);
    }

    void typedRankCountsAtTheNextEvaluation()
    {
        m_ui->typeOver(m_ui->combo1, QStringLiteral("Q"));
        QCOMPARE(m_ui->text1->text(), QString());
        QVERIFY(m_ui->pickByMouse(m_ui->combo2, rank("J")));
        QCOMPARE(m_ui->state(), (WindowState{"Q", "J", false, "58%"}));
        m_ui->typeOver(m_ui->combo1, QStringLiteral("\u00c4\u2660"));
        m_ui->clickCheckBox();
        QCOMPARE(m_ui->state(), (WindowState{"\u00c4\u2660", "J", true, ""}));
    }

    void typingIntoTheResultRunsNothing()
    {
        QVERIFY(m_ui->pickByMouse(m_ui->combo1, rank("9")));
        QVERIFY(m_ui->pickByMouse(m_ui->combo2, rank("8")));
        QCOMPARE(m_ui->text1->text(), QStringLiteral("48%"));
        m_ui->typeOver(m_ui->text1, QStringLiteral("99% sure"));
        m_ui->key(m_ui->text1, Qt::Key_Enter);
        QCOMPARE(m_ui->state(), (WindowState{"9", "8", false, "99% sure"}));
        m_ui->clickCheckBox();
        QCOMPARE(m_ui->text1->text(), QStringLiteral("50%"));
    }

    void clicksBesideTheBoxChangeNothing()
    {
        QVERIFY(m_ui->pickByMouse(m_ui->combo1, rank("A")));
        QVERIFY(m_ui->pickByMouse(m_ui->combo2, rank("K")));
        const WindowState before = m_ui->state();
        for (const char *name : {"Label1", "Label2", "Label3"})
            QTest::mouseClick(m_window->findChild<QWidget *>(QString::fromLatin1(name)),
                Qt::LeftButton, {}, QPoint(4, 4));
        QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, QPoint(120, 4));
        QCOMPARE(m_ui->state(), before);
    }

    void helpShowsTheUsageMessage_data()
    {
        QTest::addColumn<int>("open");
        QTest::addColumn<int>("close");
        const char *opens[] = {"click", "Enter", "Space"};
        const char *closes[] = {"OK", "Enter", "Escape", "close box"};
        for (int o = 0; o < 3; ++o)
            for (int c = 0; c < 4; ++c)
                QTest::addRow("%s, %s", opens[o], closes[c]) << o << c;
    }

    void helpShowsTheUsageMessage()
    {
        QFETCH(int, open);
        QFETCH(int, close);
        QVERIFY(m_ui->pickByMouse(m_ui->combo1, rank("J")));
        QVERIFY(m_ui->pickByMouse(m_ui->combo2, rank("10")));
        m_ui->clickCheckBox();
        const WindowState before = m_ui->state();
        QCOMPARE(before.result, QStringLiteral("57%"));

        QString text, caption;
        int buttons = 0;
        QMessageBox::Icon icon = QMessageBox::Warning;
        Qt::WindowModality modality = Qt::NonModal;
        const auto press = [&] {
            if (open == 0) {
                QTest::mouseClick(m_ui->help, Qt::LeftButton);
            } else {
                m_ui->help->setFocus();
                m_ui->key(m_ui->help, open == 1 ? Qt::Key_Enter : Qt::Key_Space);
            }
        };
        const auto inspect = [&](QMessageBox *box) {
            text = box->text();
            caption = box->windowTitle();
            buttons = static_cast<int>(box->buttons().size());
            icon = box->icon();
            modality = box->windowModality();
        };
        const auto dismiss = [&](QMessageBox *box) {
            switch (close) {
            case 0:
                QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
                break;
            case 1:
                QTest::keyClick(box, Qt::Key_Enter);
                break;
            case 2:
                QTest::keyClick(box, Qt::Key_Escape);
                break;
            case 3:
                box->close();
                break;
            }
        };
        QVERIFY(m_ui->withHelpMessage(press, inspect, dismiss));

        QCOMPARE(text,
            QStringLiteral("Quorvel v0.9 Select your pre flop cards as they are delt. "
                           "Percentage displayed is to win against random cards. Theres "
                           "more info at www.quorvel.example"));
        QCOMPARE(text, helpMessageText());
        QVERIFY(!text.contains(QLatin1Char('\n')));
        QCOMPARE(caption, QStringLiteral("Quorvel"));
        QCOMPARE(buttons, 1);
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(modality, Qt::ApplicationModal);
        QCOMPARE(m_ui->state(), before);
    }

    void noDefaultOrCancelButton_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        for (const char *focus : {"Combo1", "Combo2", "Text1", "Check1"})
            for (int key : {int(Qt::Key_Enter), int(Qt::Key_Return), int(Qt::Key_Escape)})
                QTest::newRow(QByteArray(focus) + ' ' + QByteArray::number(key))
                    << QString::fromLatin1(focus) << key;
        QTest::newRow("help Escape") << QStringLiteral("help") << int(Qt::Key_Escape);
    }

    void noDefaultOrCancelButton()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QSignalSpy helps(m_ui->help, &QPushButton::clicked);
        auto *widget = m_window->findChild<QWidget *>(focus);
        widget->setFocus();
        const WindowState before = m_ui->state();
        QTest::keyClick(widget, Qt::Key(key));
        QCOMPARE(helps.count(), 0);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(m_ui->state(), before);
        QVERIFY(m_window->isVisible());
    }

    void screenshots()
    {
        const QString suffix = m_window->devicePixelRatioF() == 1.0
            ? QStringLiteral(".png")
            : QStringLiteral("@%1x.png").arg(m_window->devicePixelRatioF());
        const auto save = [&](const char *name) {
            return m_window->grab().save(
                QStringLiteral(QUORVEL_SCREENSHOT_DIR "/") + QLatin1String(name) + suffix);
        };
        QVERIFY(save("start"));
        QVERIFY(m_ui->pickByMouse(m_ui->combo1, rank("A")));
        QVERIFY(m_ui->pickByMouse(m_ui->combo2, rank("K")));
        m_ui->clickCheckBox();
        QCOMPARE(m_ui->text1->text(), QStringLiteral("67%"));
        QVERIFY(save("hand"));
    }

private:
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<Driver> m_ui;
};

int main(int argc, char *argv[])
{
    Application app(argc, argv); // the program's own application object, name and all
    MainWindowTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "mainwindow_test.moc"
