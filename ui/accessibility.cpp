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

class AccessiblePrompt final : public QAccessibleWidget
{
public:
    explicit AccessiblePrompt(PromptWindow *prompt)
        : QAccessibleWidget(prompt, QAccessible::AlertMessage)
    {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description)
            return static_cast<const PromptWindow *>(widget())->Message();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *ourWidgets(const QString & /*className*/, QObject *object)
{
    if (auto *announcement = qobject_cast<Announcement *>(object))
        return new QAccessibleWidget(announcement, QAccessible::Notification);
    if (auto *image = qobject_cast<ClickableImage *>(object))
        return new AccessibleImage(image);
    if (auto *prompt = qobject_cast<PromptWindow *>(object))
        return new AccessiblePrompt(prompt);
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

void AnnounceName(QObject *object)
{
    QAccessibleEvent event(object, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
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
