// Renders the icons drawn in ui/icons/*.svg to the PNG files the program loads, at
// their own size and at twice it for high-density screens. The program itself then
// needs no SVG support at start-up. Needs Qt's SVG image plugin (Debian: libqt6svg6).
//
//   render_icons ui/icons

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: render_icons ICON_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QStringList svgs = folder.entryList({QStringLiteral("*.svg")}, QDir::Files);
    if (svgs.isEmpty()) {
        std::fprintf(stderr, "render_icons: no SVG files in %s\n", argv[1]);
        return 1;
    }
    for (const QString &svg : svgs) {
        for (const int scale : {1, 2}) {
            QImageReader reader(folder.filePath(svg));
            const QSize size = reader.size();
            if (!size.isValid()) {
                std::fprintf(stderr,
                             "render_icons: cannot read %s (is the SVG plugin installed?)\n",
                             qPrintable(svg));
                return 1;
            }
            reader.setScaledSize(size * scale);
            const QImage image = reader.read();
            const QString base = folder.filePath(svg.chopped(4));
            const QString png =
                scale == 1 ? base + QStringLiteral(".png") : base + QStringLiteral("@2x.png");
            if (image.isNull() || !image.save(png)) {
                std::fprintf(stderr, "render_icons: cannot write %s\n", qPrintable(png));
                return 1;
            }
        }
    }
    return 0;
}
