#include "pasteguard.h"

#include "typedtext.h"

#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

#include <algorithm>

PasteGuard::PasteGuard(QLineEdit *edit, Prepare prepare, Drops drops)
    : QObject(edit), m_edit(edit), m_prepare(prepare), m_drops(drops)
{}

void PasteGuard::Install(QLineEdit *edit, Prepare prepare, Drops drops)
{
    edit->installEventFilter(new PasteGuard(edit, prepare, drops));
}

void PasteGuard::insert(const QString &pasted)
{
    const QString text = m_prepare ? m_prepare(pasted) : pasted;
    const qsizetype kept = m_edit->text().size() - m_edit->selectedText().size();
    m_edit->insert(WholeCharactersPrefix(text, m_edit->maxLength() - kept).toString());
}

void PasteGuard::paste(QClipboard::Mode mode)
{
    const QString clip = QGuiApplication::clipboard()->text(mode);
    if (!clip.isEmpty() || m_edit->hasSelectedText())
        insert(clip);
}

void PasteGuard::showContextMenu(const QPoint &globalPos)
{
    // The box's own menu, with its "Paste" going through the guard.
    QMenu *menu = m_edit->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // Found by its text, in whatever language Qt speaks; later Qt versions also name it.
    const QString pasteText = QCoreApplication::translate("QLineEdit", "&Paste");
    const QList<QAction *> actions = menu->actions();
    const auto pasteAction = std::find_if(actions.cbegin(), actions.cend(), [&](QAction *action) {
        return action->objectName() == QLatin1String("edit-paste") ||
               action->text().section(QLatin1Char('\t'), 0, 0) == pasteText;
    });
    if (pasteAction != actions.cend()) {
        disconnect(*pasteAction, &QAction::triggered, nullptr, nullptr);
        connect(*pasteAction, &QAction::triggered, this, [this] { paste(QClipboard::Clipboard); });
    }
    menu->popup(globalPos);
}

bool PasteGuard::eventFilter(QObject *watched, QEvent *event)
{
    // Only the events that paste look at the box: the filter also sees the focus leaving a
    // box that is being destroyed, when it is a QLineEdit no more.
    const QEvent::Type type = event->type();
    if (watched != m_edit ||
        (type != QEvent::KeyPress && type != QEvent::ContextMenu &&
         type != QEvent::MouseButtonRelease && type != QEvent::Drop) ||
        m_edit->isReadOnly())
        return false;
    switch (type) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Paste)) {
            paste(QClipboard::Clipboard);
            return true;
        }
        return m_drops && m_drops(m_edit->text(), m_edit->cursorPosition(), key->text());
    }
    case QEvent::ContextMenu:
        showContextMenu(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    case QEvent::MouseButtonRelease:
        // X11's middle-click paste of the selection.
        if (static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton &&
            QGuiApplication::clipboard()->supportsSelection()) {
            m_edit->deselect();
            paste(QClipboard::Selection);
            return true;
        }
        return false;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (drop->source() == m_edit || !drop->mimeData()->hasText())
            return false;      // moving text within the box never lengthens it
        QDragLeaveEvent leave; // ends the box's drop-cursor display
        QCoreApplication::sendEvent(m_edit, &leave);
        m_edit->setCursorPosition(m_edit->cursorPositionAt(drop->position().toPoint()));
        insert(drop->mimeData()->text());
        drop->acceptProposedAction();
        return true;
    }
    default:
        return false;
    }
}
