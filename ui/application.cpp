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

DisplayChoice chooseDisplay(
    const QByteArray &platform, const QByteArray &x11, const QByteArray &wayland)
{
    if (platform.isEmpty() && x11.isEmpty() && wayland.isEmpty())
        return {true, {}};
    // X11 where the session offers it, then Wayland. Through Xwayland a GNOME or KDE session
    // centres the window, draws a title bar without maximise and holds a close while Help is
    // open; a Wayland client can do none of these, and Qt 6.8 would choose Wayland there.
    if (platform.isEmpty() && !x11.isEmpty())
        return {false, "xcb;wayland"};
    return {};
}
