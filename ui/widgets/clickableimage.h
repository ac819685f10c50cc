#pragma once

#include "picture.h"

// A picture that acts like a push button, like the pictures of the About tab: a left
// click released over it, or Space or Enter while it has the keyboard focus. To a
// screen reader it is a push button named by its caption, with a press action.
class ClickableImage final : public Picture
{
    Q_OBJECT

public:
    explicit ClickableImage(QWidget *parent = nullptr);

    // What a click does; also the screen reader's press action.
    void click();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_pressed = false;
};
