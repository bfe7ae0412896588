// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Quorvel developers
// Turns the icon's text source into the PNGs that the window, the desktop and the package use,
// keeping its palette: iconpng SOURCE.xpm OUT.png [SIZE]. A size scales it by nearest neighbour,
// so that the larger renditions are the same pixel art, only bigger.

#include <QImage>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: iconpng SOURCE.xpm OUT.png [SIZE]\n");
        return 2;
    }
    QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull() || icon.format() != QImage::Format_Indexed8) {
        std::fprintf(stderr, "iconpng: %s is not a paletted image\n", argv[1]);
        return 1;
    }
    if (argc == 4) {
        const int size = std::atoi(argv[3]);
        if (size <= 0) {
            std::fprintf(stderr, "iconpng: %s is not a size\n", argv[3]);
            return 2;
        }
        icon = icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    if (!icon.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "iconpng: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
