#pragma once

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

class QAbstractItemView;
class QCompleter;
class QLineEdit;
class QStringListModel;
class QWidget;

// A list of entries under a box, offered as the user types and refreshed on every edit.
// Down and Up move through it; Enter or a click on an entry takes it; Escape closes it
// and keeps the text. Every other key, Enter without an entry highlighted among them,
// goes to the box as if the list were not there, through the box's own event filters,
// so that its key-down handler and its paste rules still apply.
class SuggestionList final : public QObject
{
    Q_OBJECT

public:
    using Source = std::function<QStringList(const QString &typed)>;

    // `box` is the widget that has the keyboard focus and the event filters; `edit` the
    // line edit that holds its text (the same widget, or an editable combo box's own).
    SuggestionList(QWidget *box, QLineEdit *edit, Source source);

    // Opens the list with what `source` offers for the box's text; closes it when that
    // is nothing, or, `unlessExact`, when the text is itself one of the entries. Asked
    // while the box's window has no focus, it opens once the window has it.
    void Offer(bool unlessExact = false);
    void Close();

signals:
    void taken(const QString &entry);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void take(const QString &entry);
    // The completer and its list, made on first use: nothing shows them before the user
    // types.
    QAbstractItemView *view();

    QWidget *m_box;
    QLineEdit *m_edit;
    Source m_source;
    QStringListModel *m_model = nullptr;
    QCompleter *m_completer = nullptr;
    QAbstractItemView *m_view = nullptr;
    // Offer() was asked before the window had the focus, with this `unlessExact`.
    std::optional<bool> m_waiting;
};
