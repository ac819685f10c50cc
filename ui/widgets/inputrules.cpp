#include "inputrules.h"

#include "records.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QValidator>

namespace {

class KeyDownFilter final : public QObject
{
public:
    KeyDownFilter(QObject *box, std::function<void(int)> handler)
        : QObject(box), m_handler(std::move(handler))
    {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && watched == parent())
            m_handler(KeyCode(static_cast<QKeyEvent *>(event)));
        return false;
    }

private:
    std::function<void(int)> m_handler;
};

class EnterFilter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || watched != parent())
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (KeyCode(key) != EnterKey)
            return false;
        if (!key->isAutoRepeat())
            static_cast<QPushButton *>(watched)->click();
        return true;
    }
};

class UpperCaseValidator final : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int & /*position*/) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace

int KeyCode(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return EnterKey;
    default:
        return event->key();
    }
}

void OnKeyDown(QWidget *box, std::function<void(int key)> handler)
{
    box->installEventFilter(new KeyDownFilter(box, std::move(handler)));
}

void EnterPresses(QPushButton *button)
{
    // Before the button's own handling, which clicks again for every repeat of a held
    // Enter where the button is autoDefault: held, Enter presses once, as Space does. A
    // prompt's "Ok" is still autoDefault, for the look of the button Enter presses.
    button->installEventFilter(new EnterFilter(button));
}

void UseCapitals(QLineEdit *box)
{
    box->setValidator(new UpperCaseValidator(box));
}

void FillStreetBox(QComboBox *box)
{
    // The table keeps the streets in the box's order, so start-up needs no collation.
    QStringList streets;
    streets.reserve(StreetCount);
    for (const char *street : StreetNames)
        streets << QString::fromUtf8(street);
    // With a placeholder Qt leaves the box empty instead of putting the first street in
    // and laying it out in bold, a font start-up would otherwise not load. An editable
    // box does not draw the placeholder; its line shows what the user types.
    box->setPlaceholderText(QStringLiteral("Улица"));
    box->addItems(streets);
    box->setCompleter(nullptr);
    box->view()->setAccessibleName(QStringLiteral("Список улиц"));
}

void KeepFocusOnTabBar(QTabWidget *tabs, QWidget *emptyPage)
{
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [tabs, emptyPage] {
        QWidget *focus = QApplication::focusWidget();
        QTabBar *bar = tabs->tabBar();
        const bool inPages = focus && focus != bar && tabs->isAncestorOf(focus);
        if (inPages || tabs->currentWidget() == emptyPage)
            bar->setFocus(Qt::TabFocusReason);
    });
}
