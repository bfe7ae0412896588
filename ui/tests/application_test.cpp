// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
// An exception that escapes an event handler is reported and the program goes on.

#include "application.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <stdexcept>

class ApplicationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nameIsTheProgramsOwn()
    {
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Quorvel"));
    }

    void escapingExceptionIsReportedAndTheLoopGoesOn()
    {
        QPushButton button(QStringLiteral("Go"));
        button.setObjectName(QStringLiteral("thrower"));
        int started = 0;
        QObject::connect(&button, &QPushButton::clicked, &button, [&started] {
            ++started; // what the handler did before failing stays done
            throw std::runtime_error("window gone");
        });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));

        for (int click = 1; click <= 2; ++click) {
            QTest::ignoreMessage(QtCriticalMsg,
                QRegularExpression(
                    QStringLiteral("^Quorvel: window gone while handling MouseButtonRelease for "
                                   "QPushButton \"thrower\"$")));
            QTest::mouseClick(&button, Qt::LeftButton);
            QCOMPARE(started, click);
        }

        // Events still flow.
        bool fired = false;
        QTimer::singleShot(0, this, [&fired] { fired = true; });
        QTRY_VERIFY(fired);
    }

    void anythingThrownIsCaught()
    {
        QObject target;
        target.setObjectName(QStringLiteral("target"));
        QTest::ignoreMessage(QtCriticalMsg,
            QRegularExpression(QStringLiteral("an unknown exception while handling")));
        QTimer::singleShot(0, &target, [] { throw 42; });
        QTest::qWait(20);
    }
};

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    ApplicationTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "application_test.moc"
