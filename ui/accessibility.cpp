#include "accessibility.h"

#include "clickableimage.h"
#include "secondarywindow.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace {

class AccessibleImage final : public QAccessibleWidget
{
public:
    explicit AccessibleImage(ClickableImage *image) : QAccessibleWidget(image, QAccessible::Button)
    {}

    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            static_cast<ClickableImage *>(widget())->click();
        else
            QAccessibleWidget::doAction(actionName);
    }

    QStringList keyBindingsForAction(const QString &actionName) const override
    {
        if (actionName == pressAction())
            return {QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(actionName);
    }
};

QAccessibleInterface *ourWidgets(const QString & /*className*/, QObject *object)
{
    if (auto *announcement = qobject_cast<Announcement *>(object))
        return new QAccessibleWidget(announcement, QAccessible::Notification);
    if (auto *image = qobject_cast<ClickableImage *>(object))
        return new AccessibleImage(image);
    // An alert; its message is the label in it, read out with it, and so no description
    // of its own, which would be read a second time.
    if (auto *prompt = qobject_cast<PromptWindow *>(object))
        return new QAccessibleWidget(prompt, QAccessible::AlertMessage);
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(ourWidgets);
    installed = true;
}

Announcement::Announcement(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Announcement"));
    setGeometry(0, 0, 1, 1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void Announcement::Say(const QString &text)
{
    hide();
    setAccessibleName(text);
    show();
}
