#pragma once

#include "service/PacketData.h"

#include <QByteArray>

namespace tavix {

// Reads a data packet in one pass: the field declarations through pugixml, the rows with a
// scanner that fills the columns as it goes (numbers converted on the spot, texts copied
// once into the arena). Throws tavix::Error with an Italian message on any malformed input.
PacketData readPacket(const QByteArray &packet);

// The numeric field types of the packet format; every other type is read as text.
bool isNumericFieldType(const QByteArray &type);

} // namespace tavix
