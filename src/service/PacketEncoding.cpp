#include "service/PacketEncoding.h"

#include "service/Cp1252.h"
#include "service/Error.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <cstring>

namespace tavix {

namespace {

enum class Declared { Utf8, Windows1252, Unsupported };

// The label of the encoding declaration, empty when the packet declares none.
QByteArray declaredLabel(const QByteArray &packet)
{
    if (!packet.startsWith("<?xml"))
        return {};
    const qsizetype close = packet.indexOf("?>");
    if (close < 0)
        return {};
    const QByteArray declaration = packet.left(close);
    qsizetype at = declaration.indexOf("encoding");
    if (at < 0)
        return {};
    at += 8;
    while (at < declaration.size() && (declaration[at] == ' ' || declaration[at] == '='))
        ++at;
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\''))
        return {};
    const qsizetype end = declaration.indexOf(declaration[at], at + 1);
    return end < 0 ? QByteArray() : declaration.mid(at + 1, end - at - 1).trimmed().toLower();
}

Declared classify(const QByteArray &label)
{
    static const char *const utf8[] = {"", "utf-8", "utf8", "us-ascii", "ascii"};
    static const char *const western[] = {"iso-8859-1", "iso8859-1", "iso_8859-1",   "latin1",
                                          "latin-1",    "l1",        "windows-1252", "cp1252"};
    for (const char *name : utf8)
        if (label == name)
            return Declared::Utf8;
    for (const char *name : western)
        if (label == name)
            return Declared::Windows1252;
    return Declared::Unsupported;
}

} // namespace

QByteArray windows1252ToUtf8(const char *data, qsizetype size)
{
    qsizetype extra = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t cp = cp1252CodePoint(static_cast<unsigned char>(data[i]));
        extra += cp < 0x80 ? 0 : cp < 0x800 ? 1 : 2;
    }
    QByteArray out(size + extra, Qt::Uninitialized);
    char *o = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t cp = cp1252CodePoint(static_cast<unsigned char>(data[i]));
        if (cp < 0x80) {
            *o++ = char(cp);
        } else if (cp < 0x800) {
            *o++ = char(0xC0 | (cp >> 6));
            *o++ = char(0x80 | (cp & 0x3F));
        } else {
            *o++ = char(0xE0 | (cp >> 12));
            *o++ = char(0x80 | ((cp >> 6) & 0x3F));
            *o++ = char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

QByteArray packetAsUtf8(const QByteArray &packet)
{
    if (packet.startsWith("\xEF\xBB\xBF"))
        return packet;
    if (packet.startsWith("\xFF\xFE") || packet.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(packet.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                             : QStringConverter::Utf16BE);
        const QString text = decoder(packet.mid(2));
        return text.toUtf8();
    }
    const QByteArray label = declaredLabel(packet);
    switch (classify(label)) {
    case Declared::Utf8:
        return packet;
    case Declared::Windows1252:
        return windows1252ToUtf8(packet.constData(), packet.size());
    case Declared::Unsupported:
        break;
    }
    throw Error(QCoreApplication::translate(
                    "ResultTable", "Pacchetto dati non valido: codifica '%1' non supportata")
                    .arg(QString::fromLatin1(label)));
}

} // namespace tavix
