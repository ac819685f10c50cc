#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QAbstractItemModel;
class QDate;
class QPagedPaintDevice;
struct Query;

// A result as it goes on paper or into a PDF: A4 portrait, the directory's title, what
// was asked, how many were found and the date at the top of the first page; then the
// table, its header at the top of every page and no row split across two; "стр. N из
// M" at the foot of every page.
struct ResultPages
{
    QString query;            // "Поиск по фамилии: Иванова"
    QString count;            // "Найдено абонентов: 31"
    QString date;             // "07.12.2026"
    QList<QStringList> table; // the header, then the rows

    // The rows a grid shows, as the answer to `query`, printed on `date`.
    static ResultPages Of(const Query &query, const QAbstractItemModel &grid, const QDate &date);

    // Sets the device up for A4 portrait and paints every page; false if the device
    // cannot be painted on.
    bool Paint(QPagedPaintDevice &device) const;
};
