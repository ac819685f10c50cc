#include "clickableimage.h"

#include <QMouseEvent>

ClickableImage::ClickableImage(QWidget *parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickableImage::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void ClickableImage::mouseReleaseEvent(QMouseEvent *event)
{
    // Like a button: the click counts only if the mouse is released over the picture.
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}
