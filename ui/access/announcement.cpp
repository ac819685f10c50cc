#include "announcement.h"

#include <QAccessible>

Announcement::Announcement(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Announcement"));
    setGeometry(0, 0, 1, 1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void Announcement::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Hidden with its window: it stays hidden when the window comes back, or the last
    // message would be read out again with it.
    if (!isHidden())
        hide();
}

void Announcement::Say(const QString &text)
{
    m_text = text;
    // Showing it lays the main window out anew (a twentieth of a millisecond an answer),
    // which only a screen reader listening can tell.
    if (!QAccessible::isActive())
        return;
    hide();
    show();
}
