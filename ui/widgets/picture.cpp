#include "picture.h"

#include <QImageReader>

QPixmap PngPixmap(const QString &fileName)
{
    QImageReader reader(fileName, "png");
    // Without this the reader would still ask each plugin whether it reads "png".
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

void Picture::setPicture(const QString &fileName)
{
    m_picture = fileName;
    setPixmap(PngPixmap(fileName));
}
