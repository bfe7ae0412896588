// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
// The yardsticks for start-up cost: the floor, the least a Qt Widgets program does to show a
// window of Quorvel's size; and, with the argument "kinds", that window holding the same kinds of
// widgets, in the default font, with no logic. What Quorvel adds beyond this is its own cost.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    const bool kinds = argc > 1 && QByteArray(argv[1]) == "kinds";
    window.setWindowTitle(kinds ? QStringLiteral("kinds") : QStringLiteral("floor"));
    window.setFixedSize(243, 120);
    if (kinds) {
        const QStringList items = QStringLiteral("A 2 3 4 5 6 7 8 9 10 J Q K").split(u' ');
        for (int x : {8, 80}) {
            auto *combo = new QComboBox(&window);
            combo->setEditable(true);
            combo->addItems(items);
            combo->setGeometry(x, 48, 57, 21);
        }
        (new QLineEdit(&window))->setGeometry(152, 44, 57, 30);
        (new QCheckBox(QStringLiteral("Check1"), &window))->setGeometry(72, 80, 17, 33);
        (new QLabel(QStringLiteral("Suited"), &window))->setGeometry(8, 88, 57, 25);
        (new QPushButton(QStringLiteral("Help"), &window))->setGeometry(8, 8, 49, 17);
        (new QLabel(QStringLiteral("To Win"), &window))->setGeometry(160, 80, 49, 17);
        (new QLabel(QStringLiteral("www.quorvel.example"), &window))->setGeometry(168, 104, 97, 25);
    }
    window.show();
    return QApplication::exec();
}
