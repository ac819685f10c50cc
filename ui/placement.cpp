#include "placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

void CentreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const int left = std::max(0, (area.width() - window->width()) / 2);
    const int top = std::max(0, (area.height() - window->height()) / 2);
    window->move(area.left() + left, area.top() + top);
}
