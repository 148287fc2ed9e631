#pragma once

#include <QByteArray>
#include <QString>

namespace tavix {

// The program's single-byte character set. Qt without ICU only guarantees Latin-1, and
// Latin-1 lacks the euro sign and typographic quotes that Windows users type, so the
// 32 code points of 0x80-0x9F are mapped here. The five bytes the code page leaves unassigned
// keep their C1 value, as browsers read them, so every byte round-trips.
char16_t cp1252CodePoint(unsigned char byte);
QByteArray toCp1252(const QString &text);    // unrepresentable characters become '?'
QString fromCp1252(const QByteArray &bytes);

} // namespace tavix
