#include "accessibility.h"

#include "announcement.h"
#include "clickableimage.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>

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

// A widget whose children, for a screen reader, are the parts it names, in that order.
class AccessibleParts : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override { return static_cast<int>(parts().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QWidgetList all = parts();
        return index >= 0 && index < all.size() ? QAccessible::queryAccessibleInterface(all[index])
                                                : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? static_cast<int>(parts().indexOf(child->object())) : -1;
    }

protected:
    virtual QWidgetList parts() const = 0;
};

// An editable street box keeps the name of its label whatever it holds; Qt's own box on
// Unix takes the typed text as its name, and "Улица" is lost once a street is in it.
class AccessibleStreetBox final : public AccessibleParts
{
public:
    explicit AccessibleStreetBox(QComboBox *box) : AccessibleParts(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? box()->currentText() : QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = true;
        s.expandable = true;
        s.expanded = box()->view()->isVisible();
        return s;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString &actionName) override
    {
        if (actionName != showMenuAction() && actionName != pressAction())
            return;
        if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }

    QStringList keyBindingsForAction(const QString & /*actionName*/) const override { return {}; }

protected:
    // The list of streets and the text field, as with Qt's own box.
    QWidgetList parts() const override { return {box()->view(), box()->lineEdit()}; }

private:
    QComboBox *box() const { return static_cast<QComboBox *>(widget()); }
};

// The pages of a tab widget lie on a stack that is only layout; as a "layered pane" it
// would be read out each time the focus comes back into a page. A plain pane is not. Its
// pages are its children in their tabs' order.
class AccessiblePageStack final : public AccessibleParts
{
public:
    explicit AccessiblePageStack(QStackedWidget *stack) : AccessibleParts(stack, QAccessible::Pane)
    {}

protected:
    QWidgetList parts() const override
    {
        const auto *stack = static_cast<QStackedWidget *>(widget());
        QWidgetList pages;
        for (int i = 0; i < stack->count(); ++i)
            pages << stack->widget(i);
        return pages;
    }
};

class AccessibleAnnouncement final : public QAccessibleWidget
{
public:
    explicit AccessibleAnnouncement(Announcement *announcement)
        : QAccessibleWidget(announcement, QAccessible::Notification)
    {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<Announcement *>(widget())->Text()
                                      : QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *ourWidgets(const QString & /*className*/, QObject *object)
{
    if (auto *announcement = qobject_cast<Announcement *>(object))
        return new AccessibleAnnouncement(announcement);
    if (auto *image = qobject_cast<ClickableImage *>(object))
        return new AccessibleImage(image);
    // The windows are known by their class names, so that what a screen reader is told
    // needs nothing of the windows, which use it.
    // An alert; its message is the label in it, read out with it, and so no description
    // of its own, which would be read a second time.
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget && widget->inherits("PromptWindow"))
        return new QAccessibleWidget(widget, QAccessible::AlertMessage);
    // The other secondary windows are dialogs, named by their title; a plain window would
    // be a nameless filler, and a dialog's own text is read out as it opens.
    if (widget && widget->inherits("SecondaryWindow"))
        return new QAccessibleWidget(widget, QAccessible::Dialog);
    if (auto *box = qobject_cast<QComboBox *>(object); box && box->isEditable())
        return new AccessibleStreetBox(box);
    if (auto *stack = qobject_cast<QStackedWidget *>(object);
        stack && qobject_cast<QTabWidget *>(stack->parent()))
        return new AccessiblePageStack(stack);
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
