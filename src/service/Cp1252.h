#pragma once

#include <QByteArray>
#include <QString>

namespace tavix {

// The program's single-byte character set. Qt without ICU only guarantees Latin-1, and
// Latin-1 lacks the euro sign and typographic quotes that Windows users type, so the
// 32 code points of 0x80-0x9F are mapped here.
QByteArray toCp1252(const QString &text);     // unrepresentable characters become '?'
QString fromCp1252(const QByteArray &bytes);  // undefined bytes map to U+FFFD

} // namespace tavix
