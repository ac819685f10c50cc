#include "resulttext.h"

#include <QAbstractItemModel>

#include <algorithm>

namespace {

QStringList cellsOf(const QAbstractItemModel &grid, int row)
{
    QStringList cells;
    for (int column = 0; column < grid.columnCount(); ++column)
        cells << grid.index(row, column).data().toString();
    return cells;
}

bool isEmpty(const QStringList &cells)
{
    return std::all_of(cells.cbegin(), cells.cend(),
                       [](const QString &cell) { return cell.isEmpty(); });
}

} // namespace

QList<QStringList> ResultTable(const QAbstractItemModel &grid)
{
    QStringList header;
    for (int column = 0; column < grid.columnCount(); ++column)
        header << grid.headerData(column, Qt::Horizontal).toString();
    QList<QStringList> table{header};
    for (int row = 0; row < grid.rowCount(); ++row) {
        QStringList cells = cellsOf(grid, row);
        if (!isEmpty(cells))
            table << std::move(cells);
    }
    return table;
}

QString RowText(const QAbstractItemModel &grid, int row)
{
    const QStringList cells = cellsOf(grid, row);
    return isEmpty(cells) ? QString() : cells.join(QLatin1Char('\t'));
}

QString AllRowsText(const QAbstractItemModel &grid)
{
    QString text;
    for (const QStringList &cells : ResultTable(grid))
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    return text;
}
