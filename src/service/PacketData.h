#pragma once

#include "service/TableField.h"

#include <QList>
#include <QStringDecoder>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavix {

// Asks the system to back a large block that is about to be written with huge pages: one
// fault per 2 MB instead of one per 4 KB, which is most of the cost of filling fresh memory.
// Does nothing for small blocks or where the system has no such request.
void adviseLargeBlock(void *data, std::size_t bytes);

// UTF-8 to QString keeping a leading U+FEFF, which QString::fromUtf8 would drop as a
// byte-order mark: a value must read exactly as the packet holds it.
inline QString textFromUtf8(const char *text, qsizetype length)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom |
                                                       QStringConverter::Flag::Stateless);
    return decoder(QByteArrayView(text, length));
}

inline QString textFromUtf8(const QByteArray &text)
{
    return textFromUtf8(text.constData(), text.size());
}

// A text cell: a slice of the table's text arena, or null.
struct TextRef
{
    std::uint32_t offset;
    std::uint32_t length;
};
inline constexpr std::uint32_t NullTextOffset = 0xFFFFFFFFu;

// An attribute of a declaration element, decoded to UTF-8.
struct XmlAttribute
{
    QByteArray name;
    QByteArray value;
};

struct PacketColumn
{
    QByteArray name;                 // attrname, UTF-8, exact spelling (ROW attributes match it)
    QList<XmlAttribute> declaration; // every FIELD attribute as loaded, written back unchanged
    FieldKind kind = FieldKind::Text;
    int slot = 0; // index into numbers or texts
};

// One growing block of UTF-8 text; cells refer to it by offset, so growing it never
// invalidates a cell. Kept padded so that word-wise scans may read a little past the end.
class TextArena
{
public:
    static constexpr std::size_t Padding = 16;

    TextArena() = default;
    TextArena(const TextArena &) = delete;
    TextArena &operator=(const TextArena &) = delete;
    TextArena(TextArena &&other) noexcept;
    TextArena &operator=(TextArena &&other) noexcept;
    ~TextArena();

    void reserve(std::size_t bytes);
    // Room for `bytes` more; returns where to write them. Call commit() with what was written.
    char *prepare(std::size_t bytes)
    {
        if (m_capacity - m_size < bytes)
            grow(bytes);
        return m_data + m_size;
    }
    void commit(std::size_t bytes) { m_size += bytes; }
    void shrinkToFit();

    const char *data() const { return m_data; }
    std::size_t size() const { return m_size; }
    std::size_t capacity() const { return m_capacity; }

private:
    void grow(std::size_t bytes);
    void reallocate(std::size_t capacity);

    char *m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

// The content of a loaded packet: declarations, cell storage (no allocation per cell) and
// the arena holding every text value. Cells are stored row by row, numbers and texts apart:
// loading and writing walk the rows, and a handful of streams keeps them at memory speed.
struct PacketData
{
    std::vector<PacketColumn> columns;
    std::size_t numberColumns = 0;
    std::size_t textColumns = 0;
    std::vector<double> numbers;           // [row * numberColumns + slot]
    std::vector<std::uint8_t> numberNulls; // 1 where the number is null
    std::vector<TextRef> texts;            // [row * textColumns + slot]
    TextArena arena;
    bool hasParams = false;
    QList<XmlAttribute> params;
    std::size_t rowCount = 0;

    std::size_t memoryBytes() const;

    std::size_t numberCell(std::size_t row, int slot) const
    {
        return row * numberColumns + std::size_t(slot);
    }
    std::size_t textCell(std::size_t row, int slot) const
    {
        return row * textColumns + std::size_t(slot);
    }
};

} // namespace tavix
