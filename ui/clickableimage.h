#pragma once

#include <QLabel>

// A picture that acts on a click, like the pictures of the About tab.
class ClickableImage final : public QLabel
{
    Q_OBJECT

public:
    explicit ClickableImage(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};
