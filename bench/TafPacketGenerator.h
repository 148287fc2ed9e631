#pragma once

#include <QByteArray>

// A TAF selection answer of `rows` points with the archive's 24 fields, deterministic for a
// given seed; about one row in twenty lacks its Gauss coordinates.
QByteArray generateTafPacket(int rows, unsigned seed = 1);
