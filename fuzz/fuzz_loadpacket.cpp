// libFuzzer target for ResultTable::LoadPacket (see README.md here). Beyond "no crash", it
// checks that a loaded table survives PacketText unchanged, and that where pugixml's full
// DOM reads the same packet, every cell agrees with it.

#include "service/Error.h"
#include "service/NumberText.h"
#include "service/PacketData.h"
#include "service/PacketEncoding.h"
#include "service/ResultTable.h"

#include <pugixml.hpp>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

namespace {

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

QStringList cells(const tavix::ResultTable &table)
{
    QStringList out;
    for (int r = 0; r < table.rowCount(); ++r)
        for (int f = 0; f < table.fieldCount(); ++f)
            out << (table.isNullAt(r, f) ? QStringLiteral("<null>") : table.textAt(r, f));
    return out;
}

void checkRoundTrip(const tavix::ResultTable &table)
{
    const QByteArray written = table.PacketText();
    tavix::ResultTable reloaded;
    try {
        reloaded.LoadPacket(written);
    } catch (const tavix::Error &e) {
        std::fprintf(stderr, "%s\n", e.what());
        check(false, "PacketText reads back");
    }
    check(cells(reloaded) == cells(table), "round trip keeps every cell");
    check(reloaded.PacketText() == written, "PacketText is stable");
}

bool hasDuplicateAttributes(const pugi::xml_node &row)
{
    std::set<std::string> names;
    for (const pugi::xml_attribute &a : row.attributes())
        if (!names.insert(a.name()).second)
            return true;
    return false;
}

// Compares the table with pugixml's reading of the same bytes, when pugixml reads them.
void checkAgainstPugixml(const QByteArray &packet, const tavix::ResultTable &table)
{
    QByteArray utf8 = tavix::packetAsUtf8(packet);
    pugi::xml_document doc;
    if (!doc.load_buffer(utf8.constData(), std::size_t(utf8.size()), pugi::parse_default,
                         pugi::encoding_utf8))
        return;
    const pugi::xml_node rowData = doc.child("DATAPACKET").child("ROWDATA");
    int row = 0;
    for (const pugi::xml_node &element : rowData.children()) {
        if (element.type() != pugi::node_element)
            continue;
        check(row < table.rowCount(), "as many rows as pugixml");
        if (!hasDuplicateAttributes(element)) {
            for (int f = 0; f < table.fieldCount(); ++f) {
                const QByteArray name = table.field(f).name.toUtf8();
                const pugi::xml_attribute a = element.attribute(name.constData());
                const auto check = [&](bool condition, const char *what) {
                    if (!condition)
                        std::fprintf(stderr, "row %d field %s: table %s, pugixml %s\n", row,
                                     name.constData(),
                                     table.isNullAt(row, f) ? "<null>"
                                                            : qPrintable(table.textAt(row, f)),
                                     a.empty() ? "<null>" : a.value());
                    ::check(condition, what);
                };
                if (table.field(f).kind == tavix::FieldKind::Text) {
                    check(table.isNullAt(row, f) == a.empty(), "text null as pugixml");
                    if (!a.empty())
                        check(table.textAt(row, f) == tavix::textFromUtf8(QByteArray(a.value())),
                              "text as pugixml");
                } else if (!a.empty()) {
                    const std::string value = a.value();
                    double expected = 0;
                    const auto parsed =
                        tavix::parseNumber(value.data(), value.data() + value.size(), expected);
                    check(parsed != tavix::NumberParse::Invalid,
                          "numbers pugixml reads are numbers");
                    check(table.isNullAt(row, f) == (parsed == tavix::NumberParse::Empty),
                          "number null as pugixml");
                    if (parsed == tavix::NumberParse::Ok) {
                        check(table.numberAt(row, f) == expected, "number as pugixml");
                        double library = 0;
                        const auto result =
                            std::from_chars(value.data(), value.data() + value.size(), library);
                        if (result.ec == std::errc() && result.ptr == value.data() + value.size())
                            check(library == expected, "number as from_chars");
                    }
                }
            }
        }
        ++row;
    }
    check(row == table.rowCount(), "no row more than pugixml");
}

void exercise(tavix::ResultTable &table)
{
    for (table.first(); !table.eof(); table.next())
        for (int f = 0; f < table.fieldCount(); ++f) {
            table.text(f);
            try {
                table.number(f);
            } catch (const tavix::Error &) {
                // a text field that holds no number
            }
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray packet(reinterpret_cast<const char *>(data), qsizetype(size));
    tavix::ResultTable table;
    try {
        table.LoadPacket(packet);
    } catch (const tavix::Error &) {
        check(!table.isActive(), "a failed load leaves the table closed");
        return 0;
    }
    if (!table.isActive())
        return 0;
    exercise(table);
    checkRoundTrip(table);
    checkAgainstPugixml(packet, table);
    return 0;
}
