#pragma once

#include "resultfiles.h"
#include "search.h"

#include <QObject>

class Announcement;
class QAction;
class QWidget;
class ResultGrid;
struct ResultPages;

// "Печать…" and "Сохранить как…" of the main window: the result the grid shows, titled
// with the question it answers, on paper, in a PDF or in a CSV file for a spreadsheet.
// Both are enabled only while the grid holds a result.
class ResultOutput final : public QObject
{
    Q_OBJECT

public:
    // `window` parents the dialogs; `announcement` tells a screen reader the outcome.
    ResultOutput(QWidget *window, const ResultGrid &grid, Announcement *announcement);

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
    void updateEnabled();
    ResultPages pages() const;
    void showFailure(const QString &what, const QString &reason);

    QWidget *m_window;
    const ResultGrid &m_grid;
    Announcement *m_announcement;
    QAction *m_print;
    QAction *m_save;
    Query m_query;
};
