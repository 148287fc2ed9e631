#pragma once
// Writer of XML data packets: DATAPACKET 2.0 with METADATA/FIELDS and ROWDATA/ROW attributes.
// A null value is an absent attribute; empty text is written as null too.

#include <string>
#include <string_view>
#include <vector>

namespace tafserver {

struct FieldDef
{
    std::string_view name;
    std::string_view type; // "string", "r8", "i4"
    int width = 0;         // for "string"
};

class PacketWriter
{
public:
    explicit PacketWriter(const std::vector<FieldDef> &fields);

    void beginRow();
    void text(std::string_view name, std::string_view value);
    void number(std::string_view name, double value);
    void endRow();

    // The finished packet; the writer is spent afterwards.
    std::string finish();

private:
    void writeHeader(const FieldDef *begin, const FieldDef *end);
    std::string m_out;
};

// A packet with the fields declared and no rows (refused or empty answers).
std::string emptyPacket(const std::vector<FieldDef> &fields);

void appendXmlEscaped(std::string &out, std::string_view value);

} // namespace tafserver
