// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#include "application.h"
#include "mainwindow.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    const bool chosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    // Without a display Qt aborts, dumping core and advising a reinstall.
    if (!chosen && !x11 && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs("quorvel: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are "
                   "unset)\n",
            stderr);
        return 1;
    }
    // X11 where the session offers it, then Wayland. Through Xwayland a GNOME or KDE session
    // centres the window, draws a title bar without maximise and holds a close while Help is
    // open; a Wayland client can do none of these, and Qt 6.8 would choose Wayland there.
    if (!chosen && x11)
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    Application app(argc, argv);
    MainWindow window;
    window.show();
    return Application::exec();
}
