#pragma once

#include <QPoint>
#include <QRect>
#include <QStringList>

// Geometry and chained text of the generic edit family: a partner (chained edit, button,
// label) sits beside its edit on one of four sides, `gap` pixels away.
namespace tavix {

enum class Allineamento { Sinistra, Destra, Sopra, Sotto };

Allineamento opposite(Allineamento side);

// The screen's pixels per inch divided by 48, rounded (2 at 96 dpi).
int linkGap(double dotsPerInch);

// Top-left of a partner of `partner` size that sits on `side` of an edit at `edit`.
QPoint placeBeside(const QRect &edit, QSize partner, Allineamento side, int gap);
// Top-left of an edit of `owner` size such that its partner at `partner` stays on `side`.
QPoint placeOwner(const QRect &partner, QSize owner, Allineamento side, int gap);

// The words of a chained text: runs of characters other than the separator. The result has
// exactly `count` entries, empty ones when the text has fewer words.
QStringList splitGlobalText(const QString &value, QChar separator, int count);

} // namespace tavix
