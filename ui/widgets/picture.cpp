#include "picture.h"

#include <QImageReader>
#include <QShowEvent>

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
    m_shown = false;
    if (isVisible())
        showPicture();
}

void Picture::showEvent(QShowEvent *event)
{
    if (!m_shown)
        showPicture();
    QLabel::showEvent(event);
}

void Picture::showPicture()
{
    m_shown = true;
    setPixmap(PngPixmap(m_picture));
}
