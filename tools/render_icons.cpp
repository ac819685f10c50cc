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
//
// With two, the second a .ico file, it writes the program's Windows icon: every size
// Windows asks for, uncompressed, as the resource compiler and NSIS take it.
//
//   render_icons ui/icons/app.svg app/zaryaj.ico

#include <QDir>
#include <QFile>
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

void putLittleEndian(QByteArray &out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// An ICONDIR with one device-independent bitmap per size: 32-bit BGRA rows bottom up,
// then an all-zero AND mask (the alpha channel is the mask).
bool writeIcon(const QString &svg, const QString &ico)
{
    const int sides[] = {16, 24, 32, 48, 64};
    QList<QByteArray> bitmaps;
    for (const int side : sides) {
        QImageReader reader(svg);
        reader.setScaledSize(QSize(side, side));
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        if (image.isNull()) {
            std::fprintf(stderr, "render_icons: cannot read %s\n", qPrintable(svg));
            return false;
        }
        QByteArray bitmap;
        for (const quint32 value : {40U, quint32(side), quint32(2 * side)})
            putLittleEndian(bitmap, value, 4);
        putLittleEndian(bitmap, 1, 2);  // planes
        putLittleEndian(bitmap, 32, 2); // bits per pixel
        bitmap.append(24, '\0');        // uncompressed; sizes and palette unused
        for (int y = side - 1; y >= 0; --y) {
            for (int x = 0; x < side; ++x)
                putLittleEndian(bitmap, image.pixel(x, y), 4); // ARGB32 is BGRA in memory
        }
        const qsizetype maskRow = qsizetype((side + 31) / 32) * 4;
        bitmap.append(maskRow * side, '\0');
        bitmaps << bitmap;
    }
    QByteArray out;
    putLittleEndian(out, 0, 2);
    putLittleEndian(out, 1, 2); // an icon, not a cursor
    putLittleEndian(out, quint32(bitmaps.size()), 2);
    quint32 offset = 6 + 16 * quint32(bitmaps.size());
    for (int i = 0; i < bitmaps.size(); ++i) {
        out.append(char(sides[i])).append(char(sides[i])).append(2, '\0');
        putLittleEndian(out, 1, 2);
        putLittleEndian(out, 32, 2);
        putLittleEndian(out, quint32(bitmaps[i].size()), 4);
        putLittleEndian(out, offset, 4);
        offset += quint32(bitmaps[i].size());
    }
    for (const QByteArray &bitmap : std::as_const(bitmaps))
        out += bitmap;
    QFile file(ico);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size()) {
        std::fprintf(stderr, "render_icons: cannot write %s\n", qPrintable(ico));
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
    if (argc == 3 && QByteArray(argv[2]).endsWith(".ico"))
        return writeIcon(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: render_icons ICON_FOLDER\n"
                             "       render_icons SVG SIZE PNG\n"
                             "       render_icons SVG ICO\n");
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
