#include "mainwin/ActionIcons.h"

#include <QPainter>
#include <QPixmap>

namespace tavix {

QIcon ActionIcon(const QString &mark, const QColor &colour)
{
    QIcon icon;
    for (int size : {16, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF tile(0.5, 0.5, size - 1.0, size - 1.0);
        QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
        fill.setColorAt(0, colour.lighter(135));
        fill.setColorAt(1, colour);
        p.setBrush(fill);
        p.setPen(colour.darker(150));
        p.drawRoundedRect(tile, size / 5.0, size / 5.0);
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(mark.size() > 2 ? size * 3 / 10 : size * 9 / 20);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(tile, Qt::AlignCenter, mark);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace tavix
