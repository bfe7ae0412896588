// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#include "application.h"

#include "identity.h"

#include <QMetaEnum>

#include <exception>

namespace
{

void report(const QObject *receiver, const QEvent *event, const char *what)
{
    const char *type = QMetaEnum::fromType<QEvent::Type>().valueToKey(event->type());
    qCritical("%s: %s while handling %s for %s \"%s\"", identity::ApplicationName, what,
        type ? type : "an event", receiver->metaObject()->className(),
        qUtf8Printable(receiver->objectName()));
}

} // namespace

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QString::fromLatin1(identity::ApplicationName));
    setApplicationVersion(QString::fromLatin1(identity::Version));
    setDesktopFileName(QString::fromLatin1(identity::AppId));
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &exception) {
        report(receiver, event, exception.what());
    } catch (...) {
        report(receiver, event, "an unknown exception");
    }
    return false;
}
