#pragma once

#include <QByteArray>

namespace tavix {

// The packet as UTF-8 bytes. The service declares its packets either UTF-8 or ISO-8859-1
// (whose bytes are read as Windows-1252, as the service's platform writes them); a UTF-16
// packet with a byte-order mark is accepted too. UTF-8 input is returned without a copy.
// Throws tavix::Error for an encoding it cannot read.
QByteArray packetAsUtf8(const QByteArray &packet);

// Windows-1252 (a superset of the printable ISO-8859-1) to UTF-8.
QByteArray windows1252ToUtf8(const char *data, qsizetype size);

} // namespace tavix
