#include "placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const int left = std::max(0, (area.width() - window->width()) / 2);
    const int top = std::max(0, (area.height() - window->height()) / 2);
    window->move(area.left() + left, area.top() + top);
}

// The show event comes before the window reaches the screen, so the move is not seen.
class CentreOnFirstShow final : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            centreOnScreen(static_cast<QWidget *>(watched));
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

} // namespace

void CentreWhenFirstShown(QWidget *window)
{
    window->installEventFilter(new CentreOnFirstShow(window));
}
