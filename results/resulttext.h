#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QAbstractItemModel;

// The result grid as text for the clipboard and for files: cells as shown.

// The header, then every row that holds a result.
QList<QStringList> ResultTable(const QAbstractItemModel &grid);

// One result row (a model row), its cells separated by tabs so a spreadsheet or an
// editor takes them as columns; empty when the row holds no result.
QString RowText(const QAbstractItemModel &grid, int row);

// The header and every row that holds a result, each ending with a line break.
QString AllRowsText(const QAbstractItemModel &grid);
