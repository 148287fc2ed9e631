#include "service/PacketScanner.h"

#include "service/Error.h"

#include <QCoreApplication>

#include <algorithm>

namespace tavix {

QString packetTr(const char *text)
{
    return QCoreApplication::translate("ResultTable", text);
}

void failPacket(const QString &why)
{
    throw Error(packetTr("Pacchetto dati non valido: %1").arg(why));
}

namespace packetxml {

namespace {

void appendUtf8(char *&out, char32_t cp)
{
    if (cp < 0x80) {
        *out++ = char(cp);
    } else if (cp < 0x800) {
        *out++ = char(0xC0 | (cp >> 6));
        *out++ = char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = char(0xE0 | (cp >> 12));
        *out++ = char(0x80 | ((cp >> 6) & 0x3F));
        *out++ = char(0x80 | (cp & 0x3F));
    } else {
        *out++ = char(0xF0 | (cp >> 18));
        *out++ = char(0x80 | ((cp >> 12) & 0x3F));
        *out++ = char(0x80 | ((cp >> 6) & 0x3F));
        *out++ = char(0x80 | (cp & 0x3F));
    }
}

// Decodes the reference starting at `s` (on '&') into `out`; returns the position after ';'.
const char *decodeReference(const char *s, const char *end, char *&out)
{
    const char *semicolon =
        static_cast<const char *>(std::memchr(s, ';', std::min<std::ptrdiff_t>(end - s, 12)));
    if (!semicolon)
        failPacket(packetTr("riferimento a carattere non valido"));
    const std::string_view name(s + 1, semicolon - s - 1);
    if (name == "lt")
        *out++ = '<';
    else if (name == "gt")
        *out++ = '>';
    else if (name == "amp")
        *out++ = '&';
    else if (name == "quot")
        *out++ = '"';
    else if (name == "apos")
        *out++ = '\'';
    else if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        char32_t cp = 0;
        for (char c : digits) {
            int digit = c >= '0' && c <= '9'          ? c - '0'
                        : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                      : -1;
            if (digit < 0 || cp > 0x10FFFF)
                failPacket(packetTr("riferimento a carattere non valido"));
            cp = cp * (hex ? 16 : 10) + char32_t(digit);
        }
        if (digits.empty() || cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))
            failPacket(packetTr("riferimento a carattere non valido"));
        appendUtf8(out, cp);
    } else {
        failPacket(
            packetTr("entità sconosciuta '&%1;'").arg(QString::fromUtf8(name.data(), name.size())));
    }
    return semicolon + 1;
}

} // namespace

std::size_t decodeValue(const RawValue &value, char *out)
{
    char *o = out;
    for (const char *s = value.begin; s != value.end;) {
        const char c = *s;
        if (c == '&') {
            s = decodeReference(s, value.end, o);
        } else if (c == '\r') {
            *o++ = ' ';
            ++s;
            if (s != value.end && *s == '\n')
                ++s;
        } else if (c == '\0') {
            failPacket(packetTr("carattere nullo in un valore"));
        } else {
            *o++ = c == '\t' || c == '\n' ? ' ' : c;
            ++s;
        }
    }
    return std::size_t(o - out);
}

} // namespace packetxml

} // namespace tavix
