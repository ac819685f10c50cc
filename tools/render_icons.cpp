// Renders the icons drawn in ui/icons/*.svg to the PNG files the program loads, at
// their own size and at twice it for high-density screens. The program itself then
// needs no SVG support at start-up. Needs Qt's SVG image plugin (Debian: libqt6svg6).
//
//   render_icons ui/icons
//
// With three arguments it renders one drawing as a square PNG of the given size; the
// build uses this for the program's icon in the desktop's icon theme.
//
//   render_icons ui/icons/app.svg 48 app-48.png

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include <cstdio>

namespace {

// Renders svg at size (its own size when invalid) into png; false after saying why.
bool render(const QString &svg, QSize size, const QString &png)
{
    QImageReader reader(svg);
    const QSize own = reader.size();
    if (!own.isValid()) {
        std::fprintf(stderr, "render_icons: cannot read %s (is the SVG plugin installed?)\n",
                     qPrintable(svg));
        return false;
    }
    reader.setScaledSize(size.isValid() ? size : own);
    const QImage image = reader.read();
    if (image.isNull() || !image.save(png)) {
        std::fprintf(stderr, "render_icons: cannot write %s\n", qPrintable(png));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc == 4) {
        bool isNumber = false;
        const int side = QString::fromLocal8Bit(argv[2]).toInt(&isNumber);
        if (!isNumber || side <= 0 || side > 1024) {
            std::fprintf(stderr, "render_icons: bad size %s\n", argv[2]);
            return 2;
        }
        return render(QString::fromLocal8Bit(argv[1]), QSize(side, side),
                      QString::fromLocal8Bit(argv[3]))
                   ? 0
                   : 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: render_icons ICON_FOLDER\n"
                             "       render_icons SVG SIZE PNG\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QStringList svgs = folder.entryList({QStringLiteral("*.svg")}, QDir::Files);
    if (svgs.isEmpty()) {
        std::fprintf(stderr, "render_icons: no SVG files in %s\n", argv[1]);
        return 1;
    }
    for (const QString &svg : svgs) {
        const QString base = folder.filePath(svg.chopped(4));
        const QSize own = QImageReader(folder.filePath(svg)).size();
        if (!render(folder.filePath(svg), own, base + QStringLiteral(".png")) ||
            !render(folder.filePath(svg), own * 2, base + QStringLiteral("@2x.png")))
            return 1;
    }
    return 0;
}
