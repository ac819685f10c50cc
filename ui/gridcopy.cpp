#include "gridcopy.h"

#include <QAbstractItemModel>
#include <QStringList>

#include <algorithm>

namespace {

QString joined(const QStringList &cells)
{
    const bool empty = std::all_of(cells.cbegin(), cells.cend(),
                                   [](const QString &cell) { return cell.isEmpty(); });
    return empty ? QString() : cells.join(QLatin1Char('\t'));
}

} // namespace

QString RowText(const QAbstractItemModel &grid, int row)
{
    QStringList cells;
    for (int column = 0; column < grid.columnCount(); ++column)
        cells << grid.index(row, column).data().toString();
    return joined(cells);
}

QString AllRowsText(const QAbstractItemModel &grid)
{
    QStringList header;
    for (int column = 0; column < grid.columnCount(); ++column)
        header << grid.headerData(column, Qt::Horizontal).toString();
    QString text = joined(header) + QLatin1Char('\n');
    for (int row = 0; row < grid.rowCount(); ++row) {
        const QString line = RowText(grid, row);
        if (!line.isEmpty())
            text += line + QLatin1Char('\n');
    }
    return text;
}
