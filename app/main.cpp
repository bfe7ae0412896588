// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
#include "application.h"
#include "mainwindow.h"

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    MainWindow window;
    window.show();
    return Application::exec();
}
