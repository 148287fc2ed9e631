#include "service/PacketWriter.h"

#include "service/NumberText.h"

#include <array>
#include <cstring>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tavix {

namespace {

// Replacement of every byte that cannot stand as itself inside a double-quoted attribute;
// blanks other than space go as references so that the reader's normalisation keeps them.
const std::array<std::string_view, 256> &escapes()
{
    static const std::array<std::string_view, 256> table = [] {
        static char controls[32][8];
        std::array<std::string_view, 256> t{};
        for (int c = 0; c < 0x20; ++c) {
            const int n = std::snprintf(controls[c], sizeof controls[c], "&#%d;", c);
            t[std::size_t(c)] = std::string_view(controls[c], std::size_t(n));
        }
        t['&'] = "&amp;";
        t['<'] = "&lt;";
        t['>'] = "&gt;";
        t['"'] = "&quot;";
        return t;
    }();
    return table;
}

constexpr std::size_t LongestEscape = 6;

class Output
{
public:
    explicit Output(std::size_t estimate) : m_bytes(qsizetype(estimate), Qt::Uninitialized)
    {
        adviseLargeBlock(m_bytes.data(), std::size_t(m_bytes.size()));
        m_at = m_bytes.data();
        m_end = m_at + m_bytes.size();
    }

    // Makes room for `bytes` more.
    void reserve(std::size_t bytes)
    {
        if (std::size_t(m_end - m_at) >= bytes)
            return;
        const qsizetype used = m_at - m_bytes.data();
        m_bytes.resize(std::max(used + qsizetype(bytes), m_bytes.size() + m_bytes.size() / 2));
        m_at = m_bytes.data() + used;
        m_end = m_bytes.data() + m_bytes.size();
    }

    void put(std::string_view s)
    {
        reserve(s.size());
        putReserved(s);
    }

    void putReserved(std::string_view s)
    {
        std::memcpy(m_at, s.data(), s.size());
        m_at += s.size();
    }

    void putEscaped(const char *text, std::size_t length)
    {
        reserve(length * LongestEscape);
        const auto &table = escapes();
        for (std::size_t i = 0; i < length; ++i) {
            const std::string_view escape = table[static_cast<unsigned char>(text[i])];
            if (escape.empty())
                *m_at++ = text[i];
            else
                putReserved(escape);
        }
    }

    // A prefix from AttributePrefixes, with room reserved for it plus 32 bytes.
    void putPrefix(const char *prefix, std::size_t length)
    {
        if (length > 32) {
            putReserved(std::string_view(prefix, length));
            return;
        }
#ifdef __SSE2__
        const __m128i *from = reinterpret_cast<const __m128i *>(prefix);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(m_at), _mm_loadu_si128(from));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(m_at + 16), _mm_loadu_si128(from + 1));
#else
        std::memcpy(m_at, prefix, 32);
#endif
        m_at += length;
    }

    void putQuote()
    {
        reserve(1);
        *m_at++ = '"';
    }

    void putNumber(double value)
    {
        reserve(32);
        m_at += writePacketNumber(m_at, value);
    }

    // An arena text: it may be read up to 15 bytes past its end (the arena is padded).
    // Runs of 16 bytes that need no escape are copied whole.
    void putArenaText(const char *text, std::size_t length)
    {
        reserve(length * LongestEscape + 16);
#ifdef __SSE2__
        const __m128i amp = _mm_set1_epi8('&'), lt = _mm_set1_epi8('<'), gt = _mm_set1_epi8('>');
        const __m128i quote = _mm_set1_epi8('"'), lastControl = _mm_set1_epi8(0x1F);
        std::size_t done = 0;
        while (done < length) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + done));
            const __m128i hit = _mm_or_si128(
                _mm_or_si128(_mm_cmpeq_epi8(x, amp), _mm_cmpeq_epi8(x, lt)),
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, gt), _mm_cmpeq_epi8(x, quote)),
                             _mm_cmpeq_epi8(_mm_max_epu8(x, lastControl), lastControl)));
            const std::size_t chunk = std::min<std::size_t>(16, length - done);
            const unsigned mask = unsigned(_mm_movemask_epi8(hit)) & ((1u << chunk) - 1);
            if (mask == 0) {
                _mm_storeu_si128(reinterpret_cast<__m128i *>(m_at), x);
                m_at += chunk;
                done += chunk;
                continue;
            }
            const std::size_t plain = std::size_t(__builtin_ctz(mask));
            std::memcpy(m_at, text + done, plain);
            m_at += plain;
            putReserved(escapes()[static_cast<unsigned char>(text[done + plain])]);
            done += plain + 1;
        }
#else
        putEscaped(text, length);
#endif
    }

    QByteArray take()
    {
        m_bytes.resize(m_at - m_bytes.data());
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
    char *m_at;
    char *m_end;
};

void putAttributes(Output &out, const QList<XmlAttribute> &attributes)
{
    for (const XmlAttribute &a : attributes) {
        out.put(" ");
        out.put(std::string_view(a.name.constData(), std::size_t(a.name.size())));
        out.put("=\"");
        out.putEscaped(a.value.constData(), std::size_t(a.value.size()));
        out.put("\"");
    }
}

void putMetadata(Output &out, const PacketData &data)
{
    out.put("<METADATA><FIELDS>");
    for (const PacketColumn &column : data.columns) {
        out.put("<FIELD");
        putAttributes(out, column.declaration);
        out.put("/>");
    }
    out.put("</FIELDS>");
    if (data.hasParams) {
        out.put("<PARAMS");
        putAttributes(out, data.params);
        out.put("/>");
    }
    out.put("</METADATA>");
}

// ` Name="` of each column, built once, each in a slot of 32 bytes or more so that short
// ones can be copied by whole 16-byte words.
class AttributePrefixes
{
public:
    explicit AttributePrefixes(const PacketData &data)
    {
        for (const PacketColumn &column : data.columns) {
            const std::string prefix = " " + column.name.toStdString() + "=\"";
            m_starts.push_back(m_block.size());
            m_lengths.push_back(prefix.size());
            m_block.insert(m_block.end(), prefix.begin(), prefix.end());
            m_block.resize(m_block.size() + 32);
        }
    }

    const char *data(std::size_t k) const { return m_block.data() + m_starts[k]; }
    std::size_t length(std::size_t k) const { return m_lengths[k]; }
    std::size_t size() const { return m_lengths.size(); }

private:
    std::vector<char> m_block;
    std::vector<std::size_t> m_starts;
    std::vector<std::size_t> m_lengths;
};

std::size_t estimateSize(const PacketData &data, const AttributePrefixes &prefixes)
{
    std::size_t perRow = 8; // "<ROW" "/>"
    for (std::size_t k = 0; k < prefixes.size(); ++k)
        perRow += prefixes.length(k) + 1 + (data.columns[k].kind == FieldKind::Number ? 12 : 0);
    return 4096 + data.arena.size() + data.arena.size() / 32 + perRow * data.rowCount;
}

void putRows(Output &out, const PacketData &data, const AttributePrefixes &prefixes)
{
    const char *arena = data.arena.data();
    for (std::size_t row = 0; row < data.rowCount; ++row) {
        out.put("<ROW");
        for (std::size_t k = 0; k < data.columns.size(); ++k) {
            const PacketColumn &column = data.columns[k];
            if (column.kind == FieldKind::Number) {
                const std::size_t cell = data.numberCell(row, column.slot);
                if (data.numberNulls[cell])
                    continue;
                out.reserve(prefixes.length(k) + 64);
                out.putPrefix(prefixes.data(k), prefixes.length(k));
                out.putNumber(data.numbers[cell]);
            } else {
                const TextRef ref = data.texts[data.textCell(row, column.slot)];
                if (ref.offset == NullTextOffset)
                    continue;
                out.reserve(prefixes.length(k) + 32 + ref.length * LongestEscape);
                out.putPrefix(prefixes.data(k), prefixes.length(k));
                out.putArenaText(arena + ref.offset, ref.length);
            }
            out.putQuote();
        }
        out.put("/>");
    }
}

} // namespace

QByteArray writePacket(const PacketData &data)
{
    const AttributePrefixes prefixes(data);
    Output out(estimateSize(data, prefixes));
    out.put("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
            "<DATAPACKET Version=\"2.0\">");
    putMetadata(out, data);
    out.put("<ROWDATA>");
    putRows(out, data, prefixes);
    out.put("</ROWDATA></DATAPACKET>\n");
    return out.take();
}

} // namespace tavix
