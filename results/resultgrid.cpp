#include "resultgrid.h"

#include "cp1251.h"
#include "format.h"
#include "store.h"

#include <cassert>

ResultGrid::ResultGrid(QObject *parent) : QAbstractTableModel(parent) {}

void ResultGrid::WriteHeader()
{
    m_header = {QStringLiteral("Номер"), QStringLiteral("Фамилия И.О."), QStringLiteral("Улица"),
                QStringLiteral("дом"), QStringLiteral("кв.")};
    if (m_batchDepth == 0)
        emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void ResultGrid::SetRowCount(int n)
{
    assert(n >= 2);
    // The views are told in model rows, which leave out the header.
    const int oldModelRows = rowCount();
    const int newModelRows = n - 1;
    if (newModelRows == oldModelRows)
        return;
    const bool notify = m_batchDepth == 0;
    if (newModelRows > oldModelRows) {
        if (notify)
            beginInsertRows({}, oldModelRows, newModelRows - 1);
        m_slots.resize(static_cast<std::size_t>(newModelRows), NoSlot);
        if (notify)
            endInsertRows();
    } else {
        if (notify)
            beginRemoveRows({}, newModelRows, oldModelRows - 1);
        m_slots.resize(static_cast<std::size_t>(newModelRows));
        if (notify)
            endRemoveRows();
    }
}

void ResultGrid::WriteRow(int row, int slot)
{
    assert(row >= 1 && row < RowCountWithHeader());
    assert(slot >= 1 && slot <= DirectoryCapacity);
    m_slots[static_cast<std::size_t>(row - 1)] = static_cast<std::uint16_t>(slot);
    if (m_batchDepth == 0)
        emit dataChanged(index(row - 1, 0), index(row - 1, ColumnCount - 1));
}

void ResultGrid::ClearRow1()
{
    m_slots.front() = NoSlot;
    if (m_batchDepth == 0)
        emit dataChanged(index(0, 0), index(0, ColumnCount - 1));
}

QString ResultGrid::Cell(int column, int row) const
{
    assert(column >= 0 && column < ColumnCount);
    if (row == 0)
        return m_header[static_cast<std::size_t>(column)];
    assert(row >= 1 && row < RowCountWithHeader());
    const int slot = m_slots[static_cast<std::size_t>(row - 1)];
    return slot == NoSlot ? QString() : SlotCell(column, slot);
}

QString ResultGrid::SlotCell(int column, int slot)
{
    switch (column) {
    case 0:
        return Cp1251::toQString(FormatPhone(Phone[slot]));
    case 1:
        return Cp1251::toQString(
            FormatSubscriberName(Surname[slot].view(), NameInitial[slot], PatronymicInitial[slot]));
    case 2:
        return Cp1251::toQString(Street[slot].view());
    case 3:
        return Cp1251::toQString(House[slot].view());
    default:
        return Cp1251::toQString(FormatFlat(Flat[slot]));
    }
}

void ResultGrid::SetStatus(const QString &text)
{
    // The listing sets the same text after every row; the label needs it once.
    if (text == m_status)
        return;
    m_status = text;
    emit statusChanged(m_status);
}

ResultGrid::Batch::Batch(ResultGrid &grid) : m_grid(grid)
{
    if (m_grid.m_batchDepth++ == 0)
        m_grid.beginResetModel();
}

ResultGrid::Batch::~Batch()
{
    if (--m_grid.m_batchDepth == 0)
        m_grid.endResetModel();
}

int ResultGrid::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_slots.size());
}

int ResultGrid::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ResultGrid::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    const int row = index.row() + 1;
    if (role == Qt::DisplayRole)
        return Cell(index.column(), row);
    // A screen reader reads a row's cells one after another, with nothing to say where
    // the row stands; the first cell of a filled row starts with its number as seen.
    if (role == Qt::AccessibleTextRole && index.column() == 0 && !Cell(0, row).isEmpty())
        return QStringLiteral("%1, %2").arg(row).arg(Cell(0, row));
    return {};
}

QVariant ResultGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return m_header[static_cast<std::size_t>(section)];
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

Qt::ItemFlags ResultGrid::flags(const QModelIndex &index) const
{
    // Cells can be selected (one at a time, by the view) but never edited.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
