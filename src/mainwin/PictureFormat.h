#pragma once

#include <QString>

namespace tavix {

// `value` written after a picture such as "####0.000": "0" is a mandatory digit, "#" an optional
// one and "." the decimal point (always a point, whatever the locale); there is no thousands
// separator and integer digits beyond the picture are never cut. Decimal places up to the last
// "0" after the point are always written, those of trailing "#" only when not zero. Rounds half
// away from zero on the value's shortest decimal form, i.e. on the digits the packet carried, so
// 2.0005 shows as "2.001" although its nearest double lies just below it. A value that rounds to
// zero has no minus sign. Other picture characters are ignored.
QString FormatPicture(double value, const QString &picture);

} // namespace tavix
