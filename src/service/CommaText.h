#pragma once

#include <QStringList>

namespace tavix {

// Lists travel between windows and the data module as one comma text: items joined with ",",
// an item holding a blank, a control character, a comma or a double quote enclosed in double
// quotes with inner double quotes doubled.
QString JoinCommaText(const QStringList &items);
// The inverse. Empty text gives no item.
QStringList SplitCommaText(const QString &text);

} // namespace tavix
