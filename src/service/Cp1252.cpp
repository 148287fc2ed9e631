#include "service/Cp1252.h"

#include <array>

namespace tavix {

namespace {

// Code points of bytes 0x80-0x9F.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char encodeOne(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == u)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

char16_t cp1252CodePoint(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : char16_t(byte);
}

QByteArray toCp1252(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text)
        out.append(encodeOne(c.unicode()));
    return out;
}

QString fromCp1252(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes)
        out.append(QChar(cp1252CodePoint(static_cast<unsigned char>(ch))));
    return out;
}

} // namespace tavix
