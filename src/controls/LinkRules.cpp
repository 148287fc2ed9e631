#include "controls/LinkRules.h"

#include <cmath>

namespace tavix {

Allineamento opposite(Allineamento side)
{
    switch (side) {
    case Allineamento::Sinistra:
        return Allineamento::Destra;
    case Allineamento::Destra:
        return Allineamento::Sinistra;
    case Allineamento::Sopra:
        return Allineamento::Sotto;
    case Allineamento::Sotto:
        break;
    }
    return Allineamento::Sopra;
}

int linkGap(double dotsPerInch)
{
    return int(std::lround(dotsPerInch / 48.0));
}

QPoint placeBeside(const QRect &edit, QSize partner, Allineamento side, int gap)
{
    switch (side) {
    case Allineamento::Sinistra:
        return {edit.left() - partner.width() - gap, edit.top()};
    case Allineamento::Destra:
        return {edit.left() + edit.width() + gap, edit.top()};
    case Allineamento::Sopra:
        return {edit.left(), edit.top() - partner.height() - gap};
    case Allineamento::Sotto:
        break;
    }
    return {edit.left(), edit.top() + edit.height() + gap};
}

QPoint placeOwner(const QRect &partner, QSize owner, Allineamento side, int gap)
{
    switch (side) {
    case Allineamento::Sinistra:
        return {partner.left() + partner.width() + gap, partner.top()};
    case Allineamento::Destra:
        return {partner.left() - owner.width() - gap, partner.top()};
    case Allineamento::Sopra:
        return {partner.left(), partner.top() + partner.height() + gap};
    case Allineamento::Sotto:
        break;
    }
    return {partner.left(), partner.top() - owner.height() - gap};
}

QStringList splitGlobalText(const QString &value, QChar separator, int count)
{
    QStringList words = value.split(separator, Qt::SkipEmptyParts);
    while (words.size() < count)
        words << QString();
    return words.mid(0, count);
}

} // namespace tavix
