#include "mainwin/TafGridDelegate.h"

#include <QPainter>

namespace tavix {

void TafGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    if (selected)
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    else if (option.features & QStyleOptionViewItem::Alternate)
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::AlternateBase));
    const QVariant align = index.data(Qt::TextAlignmentRole);
    const int flags = (align.isValid() ? align.toInt() : int(Qt::AlignLeft | Qt::AlignVCenter)) |
                      Qt::TextSingleLine;
    painter->save();
    painter->setClipRect(option.rect);
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(option.rect.adjusted(3, 0, -3, 0), flags, index.data(Qt::DisplayRole).toString());
    painter->restore();
}

} // namespace tavix
