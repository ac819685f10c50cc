#pragma once

#include <QLabel>
#include <QPixmap>
#include <QString>

// A PNG file read by Qt's own PNG reader. QPixmap(fileName) and QIcon(fileName) first
// ask every installed image-format plugin whether it reads the file, which loads them
// all (and the SVG and JPEG libraries with them).
QPixmap PngPixmap(const QString &fileName);

// A label that shows a PNG picture, named in a .ui file by its property "picture"
// instead of "pixmap", so that setting it up loads no image-format plugin. The picture
// is read when the label is first shown: most stand on a tab or window that start-up
// does not show.
class Picture : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString picture READ picture WRITE setPicture)

public:
    explicit Picture(QWidget *parent = nullptr) : QLabel(parent) {}

    QString picture() const { return m_picture; }
    void setPicture(const QString &fileName);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showPicture();

    QString m_picture;
    bool m_shown = false;
};
