#pragma once

#include <QStyledItemDelegate>

namespace tavix {

// Paints a grid cell as plain clipped text on the row's background. The style's own item
// painting lays out and elides every cell's text, which made the first paint of a result cost
// as much as a third of loading it; cells here are single-line and read-only, so neither is
// needed (a cut text shows whole in its tooltip).
class TafGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};

} // namespace tavix
