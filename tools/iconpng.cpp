// Turns the icon's text source into the PNG that the window, the desktop and the package use,
// keeping its palette: iconpng SOURCE.xpm OUT.png

#include <QImage>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: iconpng SOURCE.xpm OUT.png\n");
        return 2;
    }
    const QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull() || icon.format() != QImage::Format_Indexed8) {
        std::fprintf(stderr, "iconpng: %s is not a paletted image\n", argv[1]);
        return 1;
    }
    if (!icon.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "iconpng: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
