#include "celldelegate.h"

#include "focusstyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

void CellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                         const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                               : QPalette::Inactive;
    const QColor pen =
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    QColor fill = option.palette.color(group, QPalette::Highlight);
    // Many themes select in a colour that white text reads on at less than 4.5:1 (Qt's
    // own light scheme: 3.7:1); the selection is deepened, or lightened under dark text,
    // in its own hue until the text reads.
    const bool lightText = fill.lightnessF() < pen.lightnessF();
    for (int step = 0; selected && step < 12 && FocusStyle::Contrast(fill, pen) < 4.5; ++step)
        fill = lightText ? fill.darker(112) : fill.lighter(112);
    painter->save();
    if (selected)
        painter->fillRect(option.rect, fill);
    painter->setClipRect(option.rect);
    painter->setFont(option.font);
    painter->setPen(pen);
    const QString text = index.data(Qt::DisplayRole).toString();
    const int baseline = option.rect.top() + TextInset + option.fontMetrics.ascent();
    painter->drawText(QPoint(option.rect.left() + TextInset, baseline), text);
    painter->restore();

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = option.rect.adjusted(1, 1, -1, -1);
        focus.backgroundColor = selected ? fill : option.palette.color(group, QPalette::Base);
        const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
}
