#pragma once

#include "resultfiles.h"
#include "search.h"

#include <QObject>

class Announcement;
class QAction;
class QTableView;
class QWidget;
class ResultGrid;

// What the user can do with the result the grid shows: copy a row or all of it, print
// it ("Печать…") or save it ("Сохранить как…") as a PDF, as a CSV file for a
// spreadsheet or as vCards for an address book, titled with the question it answers. Copying works
// in the grid; printing and saving anywhere in the window, and only while the grid holds a result.
// The grid's context menu lists them all.
class ResultActions final : public QObject
{
    Q_OBJECT

public:
    // `window` parents the dialogs; `announcement` tells a screen reader the outcome. It
    // lives as long as `view`.
    ResultActions(QWidget *window, QTableView *view, const ResultGrid *grid,
                  Announcement *announcement);

    QAction *PrintAction() const { return m_print; }
    QAction *SaveAction() const { return m_save; }

    // The question the grid now answers.
    void SetQuery(const Query &query) { m_query = query; }

    void Print();
    // Opens the file dialog; the file is written when the user accepts it.
    void Save();
    // Writes the file, or tells the user in a message window why it could not.
    bool SaveTo(const QString &path, ResultFileType type);

private:
    void copyCurrentRow();
    void copyAllRows();
    void showMenu(const QPoint &at);
    void updateEnabled();
    void showFailure(const QString &what, const QString &reason);
    // A print the system refused: said, with the offer to try again.
    void offerRetry(const QString &text);

    QWidget *m_window;
    QTableView *m_view;
    const ResultGrid *m_grid;
    Announcement *m_announcement;
    QAction *m_copyRow;
    QAction *m_copyAll;
    QAction *m_print;
    QAction *m_save;
    Query m_query;
};
