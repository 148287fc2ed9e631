#include "service/PacketReader.h"

#include "service/NumberText.h"
#include "service/PacketEncoding.h"
#include "service/PacketScanner.h"

#include <QSet>

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tavix {

namespace {

using packetxml::decodeValue;
using packetxml::EndsName;
using packetxml::RawValue;
using packetxml::Scanner;

QString tr(const char *text)
{
    return packetTr(text);
}

[[noreturn]] void fail(const QString &why)
{
    failPacket(why);
}

// `name=` of each field in a zero-padded slot, compared 32 bytes at a time: the row reader
// tries the field that should come next before scanning a name.
class NamePatterns
{
public:
    static constexpr std::size_t Slot = 32;

    explicit NamePatterns(const std::vector<PacketColumn> &columns)
        : m_block(columns.size() * Slot, 0), m_lengths(columns.size(), 0)
    {
        for (std::size_t k = 0; k < columns.size(); ++k) {
            const QByteArray &name = columns[k].name;
            const bool plainName = std::none_of(name.begin(), name.end(), [](char c) {
                return EndsName[static_cast<unsigned char>(c)];
            });
            if (!plainName || std::size_t(name.size()) + 1 > Slot)
                continue; // left to the ordinary lookup (which no odd name ever matches)
            std::memcpy(&m_block[k * Slot], name.constData(), std::size_t(name.size()));
            m_block[k * Slot + std::size_t(name.size())] = '=';
            m_lengths[k] = std::uint8_t(name.size() + 1);
        }
    }

    // The length of the pattern of field k when p starts with it, else 0.
    std::size_t match(std::size_t k, const char *p, const char *end) const
    {
        const std::size_t n = m_lengths[k];
        if (n == 0 || std::size_t(end - p) < Slot)
            return 0;
        const char *pattern = &m_block[k * Slot];
#ifdef __SSE2__
        const auto load = [](const char *at) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
        };
        const unsigned equal =
            unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(load(p), load(pattern)))) |
            unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(load(p + 16), load(pattern + 16)))) << 16;
        const unsigned needed = n == 32 ? ~0u : (1u << n) - 1;
        return (equal & needed) == needed ? n : 0;
#else
        return std::memcmp(p, pattern, n) == 0 ? n : 0;
#endif
    }

private:
    std::vector<char> m_block;
    std::vector<std::uint8_t> m_lengths;
};

QList<XmlAttribute> attributesOf(const pugi::xml_node &node)
{
    QList<XmlAttribute> list;
    for (const pugi::xml_attribute &a : node.attributes())
        list.append({QByteArray(a.name()), QByteArray(a.value())});
    return list;
}

void readMetadata(const char *begin, const char *end, PacketData &data)
{
    pugi::xml_document doc;
    const pugi::xml_parse_result result =
        doc.load_buffer(begin, std::size_t(end - begin), pugi::parse_default, pugi::encoding_utf8);
    if (!result)
        fail(tr("dichiarazione dei campi non valida (%1)")
                 .arg(QLatin1StringView(result.description())));
    const pugi::xml_node metadata = doc.child("METADATA");
    const pugi::xml_node fields = metadata.child("FIELDS");
    if (!fields)
        fail(tr("manca l'elenco dei campi (FIELDS)"));
    QSet<QString> names; // lookups by name ignore case: two spellings of one name are one field
    for (const pugi::xml_node &field : fields.children("FIELD")) {
        PacketColumn column;
        column.name = field.attribute("attrname").value();
        if (column.name.isEmpty())
            fail(tr("campo senza nome (attrname)"));
        const QString name = textFromUtf8(column.name);
        if (names.contains(name.toCaseFolded()))
            fail(tr("il campo '%1' è dichiarato due volte").arg(name));
        names.insert(name.toCaseFolded());
        column.declaration = attributesOf(field);
        const bool numeric = isNumericFieldType(field.attribute("fieldtype").value());
        column.kind = numeric ? FieldKind::Number : FieldKind::Text;
        column.slot = int(numeric ? data.numberColumns++ : data.textColumns++);
        data.columns.push_back(std::move(column));
    }
    if (const pugi::xml_node params = metadata.child("PARAMS")) {
        data.hasParams = true;
        data.params = attributesOf(params);
    }
}

// Fills the columns row by row while the scanner walks ROWDATA.
class RowReader
{
public:
    RowReader(Scanner &scanner, PacketData &data)
        : m_scanner(scanner), m_data(data), m_patterns(data.columns)
    {
    }

    void readAll()
    {
        const char *rowsBegin = m_scanner.p;
        for (;;) {
            m_scanner.skipSpace();
            if (m_scanner.p == m_scanner.end)
                Scanner::truncated();
            if (m_scanner.enterElement("ROW")) {
                readRow();
                if (m_data.rowCount == SampleRows)
                    estimateRows(std::size_t(m_scanner.end - rowsBegin),
                                 std::size_t(m_scanner.p - rowsBegin) / SampleRows);
            } else if (m_scanner.startsWith("<!--")) {
                m_scanner.p += 4;
                m_scanner.skipPast("-->");
            } else if (m_scanner.startsWith("</")) {
                break;
            } else {
                fail(tr("contenuto inatteso in ROWDATA"));
            }
        }
        trimColumns();
    }

private:
    void readRow()
    {
        const std::size_t row = m_data.rowCount;
        if (row >= m_capacity)
            grow();
        const std::size_t numbers = m_data.numberCell(row, 0);
        std::fill_n(m_data.numbers.begin() + numbers, m_data.numberColumns, 0.0);
        std::fill_n(m_data.numberNulls.begin() + numbers, m_data.numberColumns, 1);
        std::fill_n(m_data.texts.begin() + m_data.textCell(row, 0), m_data.textColumns,
                    TextRef{NullTextOffset, 0});
        m_expected = 0;
        const bool empty = m_scanner.scanAttributes(
            [this] { return expectedField(); },
            [this, row](int known, const char *name, const char *nameEnd, const RawValue &value) {
                const int column =
                    known >= 0 ? known : findColumn(name, std::size_t(nameEnd - name));
                if (column >= 0)
                    store(row, m_data.columns[std::size_t(column)], value);
            });
        if (!empty) {
            m_scanner.skipMisc();
            m_scanner.expectEndTag("ROW");
        }
        m_data.rowCount = row + 1;
    }

    // Rows normally carry their attributes in field order: when the scanner is at the next
    // field's `name=`, that is the field, without scanning the name.
    int expectedField()
    {
        if (std::size_t(m_expected) >= m_data.columns.size())
            return -1;
        const std::size_t length =
            m_patterns.match(std::size_t(m_expected), m_scanner.p, m_scanner.end);
        if (length == 0)
            return -1;
        m_scanner.p += length;
        return m_expected++;
    }

    // Any field by its exact name, trying the next one first.
    int findColumn(const char *name, std::size_t length)
    {
        const std::vector<PacketColumn> &columns = m_data.columns;
        const int count = int(columns.size());
        if (count == 0)
            return -1;
        for (int i = 0; i < count; ++i) {
            const int k = (m_expected + i) % count;
            const QByteArray &candidate = columns[std::size_t(k)].name;
            if (std::size_t(candidate.size()) == length &&
                std::memcmp(candidate.constData(), name, length) == 0) {
                m_expected = k + 1;
                return k;
            }
        }
        return -1; // an attribute of no declared field (row state and the like): ignored
    }

    void store(std::size_t row, const PacketColumn &column, const RawValue &value)
    {
        if (column.kind == FieldKind::Number)
            storeNumber(row, column, value);
        else
            storeText(row, column, value);
    }

    void storeNumber(std::size_t row, const PacketColumn &column, const RawValue &value)
    {
        const char *begin = value.begin;
        const char *end = value.end;
        if (!value.plain) {
            m_scratch.resize(std::size_t(value.end - value.begin));
            begin = m_scratch.data();
            end = begin + decodeValue(value, m_scratch.data());
        }
        double number = 0;
        switch (parseNumber(begin, end, number)) {
        case NumberParse::Ok: {
            const std::size_t cell = m_data.numberCell(row, column.slot);
            m_data.numbers[cell] = number;
            m_data.numberNulls[cell] = 0;
            break;
        }
        case NumberParse::Empty:
            break; // an empty number is no value
        case NumberParse::Invalid:
            fail(tr("il valore '%1' del campo '%2' (riga %3) non è un numero")
                     .arg(QString::fromUtf8(begin, std::min<std::ptrdiff_t>(end - begin, 40)),
                          QString::fromUtf8(column.name))
                     .arg(row + 1));
        }
    }

    void storeText(std::size_t row, const PacketColumn &column, const RawValue &value)
    {
        const std::size_t raw = std::size_t(value.end - value.begin);
        TextArena &arena = m_data.arena;
        if (raw >= NullTextOffset - arena.size())
            fail(tr("pacchetto troppo grande"));
        char *out = arena.prepare(raw);
        std::size_t length = raw;
        if (value.plain)
            copyText(out, value.begin, raw);
        else
            length = decodeValue(value, out);
        m_data.texts[m_data.textCell(row, column.slot)] = {std::uint32_t(arena.size()),
                                                           std::uint32_t(length)};
        arena.commit(length);
    }

    // Sizes the columns once from the first rows, so that they are seldom moved again;
    // bounded so that odd first rows (say, without attributes) cannot reserve more cell
    // memory than the packet has bytes.
    void estimateRows(std::size_t rowDataBytes, std::size_t sampleRowBytes)
    {
        const std::size_t cellBytes =
            m_data.numberColumns * (sizeof(double) + 1) + m_data.textColumns * sizeof(TextRef);
        const std::size_t rows = rowDataBytes / std::max<std::size_t>(sampleRowBytes, 1);
        m_estimate =
            std::min(rows + rows / 32, rowDataBytes / std::max<std::size_t>(cellBytes, 1)) + 16;
    }

    // Copies a value into the arena, by whole 16-byte words where the packet has bytes to
    // spare after it (the arena is padded for the overshoot).
    void copyText(char *out, const char *from, std::size_t length)
    {
#ifdef __SSE2__
        if (std::size_t(m_scanner.end - from) >= length + 16) {
            for (std::size_t i = 0; i < length; i += 16)
                _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i),
                                 _mm_loadu_si128(reinterpret_cast<const __m128i *>(from + i)));
            return;
        }
#endif
        std::memcpy(out, from, length);
    }

    void grow()
    {
        std::size_t capacity = std::max(m_capacity + m_capacity / 2, SampleRows);
        if (m_capacity < m_estimate)
            capacity = std::max(capacity, m_estimate);
        resizeColumns(capacity);
    }

    void resizeColumns(std::size_t capacity)
    {
        resizeAdvised(m_data.numbers, capacity * m_data.numberColumns);
        resizeAdvised(m_data.numberNulls, capacity * m_data.numberColumns);
        resizeAdvised(m_data.texts, capacity * m_data.textColumns);
        m_capacity = capacity;
    }

    template <typename T> static void resizeAdvised(std::vector<T> &cells, std::size_t size)
    {
        if (size > cells.capacity()) {
            cells.reserve(size);
            adviseLargeBlock(cells.data() + cells.size(), (size - cells.size()) * sizeof(T));
        }
        cells.resize(size);
    }

    void trimColumns()
    {
        const bool wasteful = m_capacity > m_data.rowCount + m_data.rowCount / 8 + SampleRows;
        resizeColumns(m_data.rowCount);
        if (!wasteful)
            return;
        m_data.numbers.shrink_to_fit();
        m_data.numberNulls.shrink_to_fit();
        m_data.texts.shrink_to_fit();
    }

    Scanner &m_scanner;
    PacketData &m_data;
    const NamePatterns m_patterns;
    std::size_t m_capacity = 0;
    static constexpr std::size_t SampleRows = 64;
    std::size_t m_estimate = 0;
    int m_expected = 0;
    std::string m_scratch;
};

void readDocument(Scanner &s, PacketData &data)
{
    s.skipMisc();
    if (s.p == s.end || *s.p != '<')
        fail(tr("il testo non è XML"));
    if (s.startsWith("<!DOCTYPE"))
        fail(tr("dichiarazione DOCTYPE non ammessa"));
    if (!s.enterElement("DATAPACKET"))
        fail(tr("manca l'elemento DATAPACKET"));
    const bool emptyPacket = s.skipAttributes();
    s.skipMisc();
    if (emptyPacket || !s.startsWith("<METADATA"))
        fail(tr("manca la dichiarazione dei campi (METADATA)"));
    const char *metadataBegin = s.p;
    s.enterElement("METADATA");
    if (!s.skipAttributes()) {
        s.skipPast("</METADATA");
        s.skipSpace();
        s.expect('>');
    }
    readMetadata(metadataBegin, s.p, data);
    s.skipMisc();
    if (s.enterElement("ROWDATA") && !s.skipAttributes()) {
        RowReader(s, data).readAll();
        s.expectEndTag("ROWDATA");
    }
    s.skipMisc();
    s.expectEndTag("DATAPACKET");
    s.skipMisc();
    if (s.p != s.end)
        fail(tr("testo inatteso dopo la fine del pacchetto"));
}

} // namespace

bool isNumericFieldType(const QByteArray &type)
{
    static const char *const numeric[] = {"i1",  "i2", "i4", "i8",  "ui1",   "ui2",     "ui4",
                                          "ui8", "r4", "r8", "r10", "fixed", "fixedFMT"};
    for (const char *name : numeric)
        if (type.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

PacketData readPacket(const QByteArray &packet)
{
    const QByteArray utf8 = packetAsUtf8(packet);
    const char *begin = utf8.constData();
    const char *end = begin + utf8.size();
    if (utf8.startsWith("\xEF\xBB\xBF"))
        begin += 3;
    PacketData data;
    data.arena.reserve(std::size_t(end - begin));
    Scanner scanner(begin, end);
    readDocument(scanner, data);
    data.arena.shrinkToFit();
    return data;
}

} // namespace tavix
