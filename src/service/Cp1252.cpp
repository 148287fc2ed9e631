#include "service/Cp1252.h"

#include <array>

namespace tavix {

namespace {

// Code points of bytes 0x80-0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char encodeOne(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] != 0 && kHigh[i] == u)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

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
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b < 0xA0) {
            const char16_t u = kHigh[b - 0x80];
            out.append(QChar(u ? u : char16_t(0xFFFD)));
        } else {
            out.append(QChar(char16_t(b)));
        }
    }
    return out;
}

} // namespace tavix
