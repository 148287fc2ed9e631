#pragma once

#include <QIcon>
#include <QString>

namespace tavix {

// The toolbar's pictures, drawn at run time so they need no theme: a rounded tile in the
// command's colour with a short mark.
QIcon ActionIcon(const QString &mark, const QColor &colour);

} // namespace tavix
