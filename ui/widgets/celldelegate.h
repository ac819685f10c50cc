#pragma once

#include <QStyledItemDelegate>

// Draws a result cell the plain way the grid wants: its text left-aligned, 2 pixels in
// from the cell's left and top edges and clipped to the cell. The style's own item
// drawing lays every cell out as a paragraph, which made repainting the grid the
// slowest part of every search.
class CellDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int TextInset = 2;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
