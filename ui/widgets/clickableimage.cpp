#include "clickableimage.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

ClickableImage::ClickableImage(QWidget *parent) : Picture(parent)
{
    setCursor(Qt::PointingHandCursor);
    // Reached by Tab like a button; a click acts without moving the focus, as before.
    setFocusPolicy(Qt::TabFocus);
}

void ClickableImage::click()
{
    emit clicked();
}

void ClickableImage::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void ClickableImage::mouseReleaseEvent(QMouseEvent *event)
{
    // Like a button: the click counts only if the mouse is released over the picture.
    const bool clicked = m_pressed && event->button() == Qt::LeftButton &&
                         rect().contains(event->position().toPoint());
    m_pressed = false;
    if (clicked)
        click();
}

void ClickableImage::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A held key acts once.
        if (!event->isAutoRepeat())
            click();
        event->accept();
        break;
    default:
        QLabel::keyPressEvent(event);
    }
}

void ClickableImage::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}
