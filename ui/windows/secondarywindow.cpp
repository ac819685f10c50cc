#include "secondarywindow.h"

#include "fonts.h"
#include "inputrules.h"
#include "placement.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

SecondaryWindow::SecondaryWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    // Only the main window's closing ends the program. (Without this a closed secondary
    // window would still not end it today, since the main window is shown again inside
    // the close, before Qt looks for a last window; this keeps it so should that change.)
    setAttribute(Qt::WA_QuitOnClose, false);
    CentreWhenFirstShown(this);
    KeepAvailableFamily(this);
}

void SecondaryWindow::finishSetup(const QString &objectName)
{
    setObjectName(objectName);
    setFixedSize(size());
}

void SecondaryWindow::closeEvent(QCloseEvent *event)
{
    emit dismissed();
    event->accept();
}

void SecondaryWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}

QString PromptWindow::Message() const
{
    return m_message ? m_message->text() : QString();
}

void PromptWindow::Button1Click()
{
    emit dismissed();
}

void PromptWindow::finishPromptSetup(QLabel *message, QPushButton *ok, const QString &objectName)
{
    m_message = message;
    m_ok = ok;
    finishSetup(objectName);
    EnterPresses(m_ok);
    connect(m_ok, &QPushButton::clicked, this, &PromptWindow::Button1Click);
}

void PromptWindow::showEvent(QShowEvent *event)
{
    SecondaryWindow::showEvent(event);
    if (m_ok)
        m_ok->setFocus(Qt::ActiveWindowFocusReason);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}
