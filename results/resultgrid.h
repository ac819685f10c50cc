#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// The result grid and the status line under it. Rows are numbered as the user sees
// them: row 0 is the header, results start at row 1, and RowCountWithHeader() counts
// the header. This is the only numbering a ResultGrid offers. The view draws the header
// itself, so Qt's model rows are one lower; the model interface that uses them
// (rowCount() and the rest) is private here and reached only by the view, through
// QAbstractItemModel.
//
// A row remembers which slot it shows and formats it when drawn: the store never
// changes after loading, so this is the same as writing the texts, and a listing of
// the whole directory costs no formatting of rows nobody looks at.
class ResultGrid final : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int ColumnCount = 5;

    explicit ResultGrid(QObject *parent = nullptr);

    // Header texts of row 0; empty until written.
    void WriteHeader();

    int RowCountWithHeader() const { return static_cast<int>(m_slots.size()) + 1; }
    // Shows rows 0 to n - 1 (n at least 2). Rows that come into view are empty.
    void SetRowCount(int n);
    // The five formatted texts of store slot `slot` into row `row`
    // (1 <= row < RowCountWithHeader()).
    void WriteRow(int row, int slot);
    // Row 1, the first result row, back to five empty cells: what a search that found
    // nothing shows.
    void ClearRow1();
    // Cell text in grid coordinates: row 0 is the header.
    QString Cell(int column, int row) const;
    // The text a column shows for store slot `slot`, wherever the row is.
    static QString SlotCell(int column, int slot);
    // Whether row 1 shows a subscriber: not so at start, after a search that found
    // nothing, or after a prompt.
    bool HoldsResult() const { return m_slots.front() != NoSlot; }

    QString StatusText() const { return m_status; }
    void SetStatus(const QString &text);

    // While one is alive, changes reach the views as one reset when the last ends,
    // instead of one notification per row.
    class Batch final
    {
    public:
        explicit Batch(ResultGrid &grid);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        ResultGrid &m_grid;
    };

signals:
    void statusChanged(const QString &text);

private:
    // The model interface, in Qt's numbering: model row r is grid row r + 1.
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Slot numbers start at 1, so 0 marks a row of empty cells.
    static constexpr std::uint16_t NoSlot = 0;

    std::array<QString, ColumnCount> m_header;
    // The slot each result row shows: element r is grid row r + 1 (model row r).
    std::vector<std::uint16_t> m_slots{NoSlot};
    QString m_status;
    int m_batchDepth = 0;
};

// Appends rows after the header, counting as it goes: each append first makes room
// for the row and then writes it, so nothing of a longer earlier result is ever shown.
class RowAppender final
{
public:
    explicit RowAppender(ResultGrid &grid) : m_grid(grid) {}

    void Append(int slot)
    {
        m_grid.SetRowCount(m_rowCount + 1);
        ++m_rowCount;
        m_grid.WriteRow(m_rowCount - 1, slot);
    }
    bool AppendedAny() const { return m_rowCount > 1; }

private:
    ResultGrid &m_grid;
    // The grid's row count as far as this appender has filled it, header included.
    int m_rowCount = 1;
};
