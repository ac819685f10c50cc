#include "secondarywindow.h"

#include "fonts.h"
#include "forms.h"
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
    // Only the main window's closing ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    CentreWhenFirstShown(this);
}

void SecondaryWindow::finishSetup(const QString &objectName)
{
    setObjectName(objectName);
    setFixedSize(size());
}

void SecondaryWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        UseAvailableFamily(this);
    QWidget::changeEvent(event);
}

void SecondaryWindow::closeEvent(QCloseEvent *event)
{
    ReturnToMain(this);
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
    const auto *label = findChild<QLabel *>(QStringLiteral("Label1"));
    return label ? label->text() : QString();
}

void PromptWindow::Button1Click()
{
    ReturnToMain(this);
}

void PromptWindow::showEvent(QShowEvent *event)
{
    SecondaryWindow::showEvent(event);
    if (auto *ok = findChild<QPushButton *>(QStringLiteral("Button1")))
        ok->setFocus(Qt::ActiveWindowFocusReason);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}
