#include "resultview.h"

#include "celldelegate.h"

#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QTableView>

void ResultView::Show(QTableView *view, ResultGrid *model)
{
    view->setModel(model);
    view->setItemDelegate(new CellDelegate(view));
    QHeaderView *header = view->horizontalHeader();
    header->setMinimumSectionSize(MinimumColumnWidth);
    header->setFixedHeight(RowHeight);
    for (int column = 0; column < ResultGrid::ColumnCount; ++column)
        header->resizeSection(column, ColumnWidths[static_cast<std::size_t>(column)]);
    QHeaderView *rows = view->verticalHeader();
    rows->setMinimumSectionSize(RowHeight);
    rows->setDefaultSectionSize(RowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    // A new answer is read from its first row. Laying the view out at once, not on
    // Qt's deferred timer, draws the new rows and scroll bar in one repaint.
    QObject::connect(model, &QAbstractItemModel::modelReset, view, [view] {
        view->doItemsLayout();
        view->scrollToTop();
    });
}

QLabel *ResultView::AddStatusPanel(QStatusBar *bar, const ResultGrid *model)
{
    auto *panel = new QLabel(bar);
    panel->setObjectName(QStringLiteral("StatusPanel"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMinimumWidth(50);
    bar->addWidget(panel, 1);
    QObject::connect(model, &ResultGrid::statusChanged, panel, &QLabel::setText);
    return panel;
}
