// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#pragma once

#include <QApplication>
#include <QByteArray>

// The application object. An exception that escapes an event handler stops here: it is
// reported on standard error with what was being handled, and the event loop goes on.
class Application : public QApplication
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Application)

public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

// Where the window opens, decided from the environment before Qt starts: QT_QPA_PLATFORM,
// DISPLAY and WAYLAND_DISPLAY as given. `none` when there is no display at all, where Qt would
// abort, dumping core and advising a reinstall; else the platform list to set, or nothing to leave
// the choice to the user's QT_QPA_PLATFORM or to Qt.
struct DisplayChoice {
    bool none = false;
    QByteArray platforms;
    friend bool operator==(const DisplayChoice &, const DisplayChoice &) = default;
};

DisplayChoice chooseDisplay(
    const QByteArray &platform, const QByteArray &x11, const QByteArray &wayland);
