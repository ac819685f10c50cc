#pragma once

#include <QClipboard>
#include <QObject>

class QLineEdit;

// Text pasted or dropped into a line edit, or typed where it no longer fits, is cut at a
// whole character before the box's length limit applies; the limit alone would cut
// after any UTF-16 unit and leave half of a character. A box may also turn pasted text
// into what it wants first, and leave out some typed characters (the phone box takes a
// shown number as its digits).
class PasteGuard final : public QObject
{
    Q_OBJECT

public:
    using Prepare = QString (*)(const QString &pasted);
    using Drops = bool (*)(QStringView text, qsizetype cursor, QStringView typed);

    // The guard lives as long as `edit`.
    static void Install(QLineEdit *edit, Prepare prepare = nullptr, Drops drops = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PasteGuard(QLineEdit *edit, Prepare prepare, Drops drops);

    // Inserts at the cursor, replacing the selection, as pasting does.
    void insert(const QString &pasted);
    void paste(QClipboard::Mode mode);
    void showContextMenu(const QPoint &globalPos);

    QLineEdit *m_edit;
    Prepare m_prepare;
    Drops m_drops;
};
