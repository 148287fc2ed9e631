#pragma once

#include <QByteArray>
#include <QList>

// A data packet from field declarations and ROW attribute texts, for small literal fixtures.
struct PacketField
{
    const char *name;
    const char *type = "string";
    int width = 0;
};

inline QByteArray buildPacket(const QList<PacketField> &fields, const QList<QByteArray> &rows)
{
    QByteArray out = "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\">"
                     "<METADATA><FIELDS>";
    for (const PacketField &f : fields) {
        out += "<FIELD attrname=\"" + QByteArray(f.name) + "\" fieldtype=\"" + f.type + "\"";
        if (f.width > 0)
            out += " WIDTH=\"" + QByteArray::number(f.width) + "\"";
        out += "/>";
    }
    out += "</FIELDS></METADATA><ROWDATA>";
    for (const QByteArray &row : rows)
        out += "<ROW " + row + "/>";
    return out + "</ROWDATA></DATAPACKET>";
}
