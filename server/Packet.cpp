#include "Packet.h"

#include <charconv>

namespace tafserver {

namespace {

// Characters an attribute value cannot carry as they stand.
constexpr bool needsEscape(unsigned char c)
{
    return c < 0x20 || c == '&' || c == '<' || c == '>' || c == '"';
}

} // namespace

void appendXmlEscaped(std::string &out, std::string_view value)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (!needsEscape(c))
            continue;
        out.append(value.data() + start, i - start);
        start = i + 1;
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\t':
            out += "&#9;";
            break;
        case '\n':
            out += "&#10;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            break; // other control characters cannot appear in XML 1.0 at all
        }
    }
    out.append(value.data() + start, value.size() - start);
}

PacketWriter::PacketWriter(const std::vector<FieldDef> &fields)
{
    writeHeader(fields.data(), fields.data() + fields.size());
}

void PacketWriter::writeHeader(const FieldDef *begin, const FieldDef *end)
{
    m_out.reserve(4096);
    m_out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
             "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>";
    for (const FieldDef *f = begin; f != end; ++f) {
        m_out += "<FIELD attrname=\"";
        appendXmlEscaped(m_out, f->name);
        m_out += "\" fieldtype=\"";
        m_out += f->type;
        m_out += '"';
        if (f->type == "string") {
            m_out += " WIDTH=\"";
            m_out += std::to_string(f->width);
            m_out += '"';
        }
        m_out += "/>";
    }
    m_out += "</FIELDS></METADATA><ROWDATA>";
}

void PacketWriter::beginRow()
{
    m_out += "<ROW";
}

void PacketWriter::text(std::string_view name, std::string_view value)
{
    if (value.empty())
        return;
    m_out += ' ';
    m_out += name;
    m_out += "=\"";
    appendXmlEscaped(m_out, value);
    m_out += '"';
}

void PacketWriter::number(std::string_view name, double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    m_out += ' ';
    m_out += name;
    m_out += "=\"";
    m_out.append(buffer, result.ptr);
    m_out += '"';
}

void PacketWriter::endRow()
{
    m_out += "/>";
}

std::string PacketWriter::finish()
{
    m_out += "</ROWDATA></DATAPACKET>\n";
    return std::move(m_out);
}

std::string emptyPacket(const std::vector<FieldDef> &fields)
{
    return PacketWriter(fields).finish();
}

} // namespace tafserver
