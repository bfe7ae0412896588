// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#include "application.h"
#include "mainwindow.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    const DisplayChoice choice
        = chooseDisplay(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"));
    if (choice.none) {
        std::fputs("quorvel: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are "
                   "unset)\n",
            stderr);
        return 1;
    }
    if (!choice.platforms.isEmpty())
        qputenv("QT_QPA_PLATFORM", choice.platforms);
    Application app(argc, argv);
    MainWindow window;
    window.show();
    return Application::exec();
}
