#pragma once

#include "service/PacketData.h"

#include <QByteArray>

namespace tavix {

// Serialises a table as a UTF-8 data packet: the declarations as loaded, every row, each
// non-null value as an attribute (numbers in shortest round-trip form with ".").
QByteArray writePacket(const PacketData &data);

} // namespace tavix
