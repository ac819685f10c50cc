#include "suggestionlist.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStringListModel>

#include <algorithm>

SuggestionList::SuggestionList(QWidget *box, QLineEdit *edit, Source source)
    : QObject(box), m_box(box), m_edit(edit), m_source(std::move(source))
{
    connect(edit, &QLineEdit::textEdited, this, [this] { Offer(); });
}

QAbstractItemView *SuggestionList::view()
{
    if (!m_view) {
        m_model = new QStringListModel(this);
        m_completer = new QCompleter(m_model, this);
        // The entries are chosen by our own rules, so the completer filters nothing, and
        // it is not the box's completer: that would write each highlighted entry into
        // the box.
        m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
        m_completer->setCompletionPrefix(QString());
        m_completer->setMaxVisibleItems(10);
        m_completer->setWidget(m_box);
        connect(m_completer, qOverload<const QModelIndex &>(&QCompleter::activated), this,
                [this](const QModelIndex &index) { take(index.data().toString()); });
        m_view = m_completer->popup();
        m_view->setAccessibleName(QStringLiteral("Варианты"));
        // In its box's font, as a combo box's own list is; a window of its own would
        // otherwise take the system's list font.
        m_view->setFont(m_box->font());
        // Installed after the completer's own filter, so it sees the keys first.
        m_view->installEventFilter(this);
    }
    return m_view;
}

void SuggestionList::Offer(bool unlessExact)
{
    // A list opened before its window has the focus could not be anchored to it: on
    // Wayland it would become a window of its own.
    if (!m_box->isActiveWindow()) {
        Close();
        m_waiting = unlessExact;
        m_box->window()->installEventFilter(this);
        return;
    }
    const QString text = m_edit->text();
    const QStringList entries = m_source(text);
    if (entries.isEmpty() || (unlessExact && entries.contains(text))) {
        Close();
        return;
    }
    QAbstractItemView *view = this->view();
    m_model->setStringList(entries);
    // As wide as its longest entry, which a box as narrow as the number box would cut.
    QRect under = m_box->rect();
    const int entryWidth = view->sizeHintForColumn(0) +
                           view->verticalScrollBar()->sizeHint().width() + 2 * view->frameWidth();
    under.setWidth(std::max(under.width(), entryWidth));
    m_completer->complete(under);
    // Nothing is highlighted until the user moves into the list.
    view->clearSelection();
    view->setCurrentIndex(QModelIndex());
}

void SuggestionList::Close()
{
    m_waiting.reset();
    if (m_view)
        m_view->hide();
}

void SuggestionList::take(const QString &entry)
{
    Close();
    emit taken(entry);
}

bool SuggestionList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_box->window() && event->type() == QEvent::WindowActivate) {
        watched->removeEventFilter(this);
        // Still wanted where the box keeps the focus (given back right after this).
        const QWidget *focus = m_box->window()->focusWidget();
        if (m_waiting && (focus == m_box || m_box->isAncestorOf(focus)))
            Offer(*m_waiting);
        m_waiting.reset();
        return false;
    }
    if (event->type() != QEvent::KeyPress || watched != m_view)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return false; // the list's own
    case Qt::Key_Escape:
        Close();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const QModelIndexList highlighted = m_view->selectionModel()->selectedIndexes();
        if (!highlighted.isEmpty()) {
            take(highlighted.first().data().toString());
            return true;
        }
        Close();
        break;
    }
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        Close();
        break;
    default:
        break;
    }
    QCoreApplication::sendEvent(m_box, event);
    // A key that took the focus elsewhere, or changed the tab, leaves no list behind.
    if (!m_box->hasFocus() || !m_box->isVisible())
        Close();
    return true;
}
