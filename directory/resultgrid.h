#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// The four messages of the status line.
namespace Status {
inline const QString SearchDone = QStringLiteral("Поиск завершен");
inline const QString NumberNotFound = QStringLiteral("Номер не найден");
inline const QString SubscriberNotFound = QStringLiteral("Абонент не найден");
inline const QString ListingDone = QStringLiteral("Вывод базы данных на экран завершен");
} // namespace Status

// The result grid and the status line under it. Rows are numbered as the user sees
// them: row 0 is the header, results start at row 1, and RowCount() counts the header.
// This is the only numbering a ResultGrid offers. The view draws the header itself, so
// Qt's model rows are one lower; the model interface that uses them is private here
// and reached only by the view, through QAbstractItemModel.
//
// A row remembers which slot it shows and formats it when drawn: the store never
// changes after loading, so this is the same as writing the texts, and a listing of
// the whole directory costs no formatting of rows nobody looks at.
class ResultGrid final : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int ColumnCount = 5;
    static constexpr std::array<int, ColumnCount> ColumnWidths = {64, 105, 163, 64, 64};
    static constexpr int RowHeight = 17;

    explicit ResultGrid(QObject *parent = nullptr);

    // Header texts of row 0; empty until written.
    void WriteHeader();

    int RowCount() const { return static_cast<int>(m_slots.size()) + 1; }
    // Shows rows 0 to n - 1 (n at least 2). Rows that come into view are empty.
    void SetRowCount(int n);
    // The five formatted texts of store slot `slot` into row `row` (1 <= row < RowCount()).
    void WriteRow(int row, int slot);
    void ClearRow1();
    // Cell text in grid coordinates: row 0 is the header.
    QString Cell(int column, int row) const;

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

    static constexpr std::uint16_t EmptyRow = 0;

    std::array<QString, ColumnCount> m_header;
    std::vector<std::uint16_t> m_slots{EmptyRow}; // model row r shows grid row r + 1
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
        m_grid.SetRowCount(m_n + 1);
        ++m_n;
        m_grid.WriteRow(m_n - 1, slot);
    }
    bool AppendedAny() const { return m_n > 1; }

private:
    ResultGrid &m_grid;
    int m_n = 1;
};
