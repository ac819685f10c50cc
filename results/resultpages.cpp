#include "resultpages.h"

#include "resultgrid.h"
#include "resulttext.h"
#include "search.h"
#include "store.h"

#include <QDate>
#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <array>

namespace {

const QString Title = QStringLiteral("Телефонный справочник п. Заряй");

// The font the windows ask for where their own is missing; it has Arial's metrics.
QFont pageFont(int pointSize, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

using Widths = std::array<int, ResultGrid::ColumnCount>;

// Wide enough for the longest entry of the whole directory in each column, so that
// no page of any result clips a cell, and the columns of every result line up alike.
Widths columnWidths(QPainter &painter, const QStringList &header, const QFont &body,
                    const QFont &bold, int padding)
{
    Widths widths{};
    const QFontMetrics bodyMetrics(body, painter.device());
    const QFontMetrics boldMetrics(bold, painter.device());
    for (int column = 0; column < ResultGrid::ColumnCount; ++column) {
        int widest = boldMetrics.horizontalAdvance(header.value(column));
        for (int slot = 1; slot <= ListedCount; ++slot)
            widest =
                std::max(widest, bodyMetrics.horizontalAdvance(ResultGrid::SlotCell(column, slot)));
        widths[static_cast<std::size_t>(column)] = widest + 2 * padding;
    }
    return widths;
}

} // namespace

ResultPages ResultPages::Of(const Query &query, const QAbstractItemModel &grid, const QDate &date)
{
    ResultPages pages;
    pages.query = query.Title();
    pages.table = ResultTable(grid);
    const auto found = pages.table.size() - 1;
    pages.count = query.kind == Query::Kind::WholeDirectory
                      ? QStringLiteral("Абонентов: %1").arg(found)
                      : QStringLiteral("Найдено абонентов: %1").arg(found);
    pages.date = date.toString(QStringLiteral("dd.MM.yyyy"));
    return pages;
}

bool ResultPages::Paint(QPagedPaintDevice &device) const
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 15, 15, 15), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRect page = painter.viewport();
    const QFont titleFont = pageFont(14, true);
    const QFont body = pageFont(10);
    const QFont bold = pageFont(10, true);
    const QFontMetrics bodyMetrics(body, &device);
    const int padding = bodyMetrics.averageCharWidth();
    const int rowHeight = bodyMetrics.height() * 3 / 2;
    const Widths widths = columnWidths(painter, table.value(0), body, bold, padding);

    // The first page gives the lines at its top up to the table; every page keeps the
    // foot for its number.
    const int titleHeight = QFontMetrics(titleFont, &device).height() * 2;
    const int infoHeight = rowHeight * 3 + rowHeight / 2;
    const int footHeight = rowHeight * 2;
    const int rows = static_cast<int>(table.size()) - 1;
    const int perPage = (page.height() - footHeight) / rowHeight - 1;
    const int onFirstPage = std::max(0, perPage - (titleHeight + infoHeight) / rowHeight);
    const int pageCount =
        rows <= onFirstPage ? 1 : 1 + (rows - onFirstPage + perPage - 1) / perPage;

    const auto drawRow = [&](int top, const QStringList &cells, const QFont &font) {
        painter.setFont(font);
        int left = page.left();
        for (int column = 0; column < ResultGrid::ColumnCount; ++column) {
            const int width = widths[static_cast<std::size_t>(column)];
            painter.drawText(QRect(left + padding, top, width - 2 * padding, rowHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, cells.value(column));
            left += width;
        }
        painter.drawLine(page.left(), top + rowHeight, left, top + rowHeight);
    };

    int next = 1;
    for (int number = 1; number <= pageCount; ++number) {
        if (number > 1)
            device.newPage();
        int top = page.top();
        if (number == 1) {
            painter.setFont(titleFont);
            painter.drawText(QRect(page.left(), top, page.width(), titleHeight),
                             Qt::AlignLeft | Qt::AlignTop, Title);
            top += titleHeight;
            painter.setFont(body);
            for (const QString &line : {query, count, date}) {
                painter.drawText(QRect(page.left(), top, page.width(), rowHeight),
                                 Qt::AlignLeft | Qt::AlignVCenter, line);
                top += rowHeight;
            }
            top += rowHeight / 2;
        }
        drawRow(top, table.value(0), bold);
        top += rowHeight;
        const int last = std::min(rows, next - 1 + (number == 1 ? onFirstPage : perPage));
        for (; next <= last; ++next) {
            drawRow(top, table.at(next), body);
            top += rowHeight;
        }
        painter.setFont(body);
        painter.drawText(QRect(page.left(), page.bottom() - rowHeight, page.width(), rowHeight),
                         Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("стр. %1 из %2").arg(number).arg(pageCount));
    }
    return painter.end();
}
