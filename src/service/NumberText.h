#pragma once

#include <QString>

#include <cstddef>

namespace tavix {

// A number as the table shows it: shortest general form, "." separator, up to 15
// significant digits (12.5 -> "12.5", 100 -> "100").
QString numberText(double value);

// A number as a packet stores it: the shortest general form that reads back as the same
// double, so nothing is lost through PacketText and LoadPacket. `out` must have room for 32
// chars (the text is shorter; the rest may be overwritten).
std::size_t writePacketNumber(char *out, double value);

enum class NumberParse { Ok, Empty, Invalid };

// Reads a number written with "." and without grouping; blanks around it are allowed, an
// empty (or blank) text is Empty. Infinity and NaN are not numbers.
NumberParse parseNumber(const char *begin, const char *end, double &value);

} // namespace tavix
