#pragma once

#include <QString>

class QAbstractItemModel;

// The result grid as text for the clipboard: cells as shown, separated by tabs, so a
// spreadsheet or an editor takes them as columns.

// One result row (a model row); empty when the row holds no result.
QString RowText(const QAbstractItemModel &grid, int row);

// The header and every row that holds a result, each ending with a line break.
QString AllRowsText(const QAbstractItemModel &grid);
