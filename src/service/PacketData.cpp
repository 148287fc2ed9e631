#include "service/PacketData.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>

namespace tavix {

void adviseLargeBlock(void *data, std::size_t bytes)
{
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t HugePage = 2u << 20;
    if (bytes < 4 * HugePage)
        return;
    const std::uintptr_t begin =
        (reinterpret_cast<std::uintptr_t>(data) + HugePage - 1) & ~(HugePage - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(HugePage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

TextArena::TextArena(TextArena &&other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_capacity(std::exchange(other.m_capacity, 0))
{
}

TextArena &TextArena::operator=(TextArena &&other) noexcept
{
    if (this != &other) {
        std::free(m_data);
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_capacity = std::exchange(other.m_capacity, 0);
    }
    return *this;
}

TextArena::~TextArena()
{
    std::free(m_data);
}

// malloc/realloc rather than new[]: a large block is mapped lazily (only the pages written
// cost memory) and shrinking it in place does not copy.
void TextArena::reallocate(std::size_t capacity)
{
    void *grown = std::realloc(m_data, capacity + Padding);
    if (!grown)
        throw std::bad_alloc();
    m_data = static_cast<char *>(grown);
    if (capacity > m_capacity)
        adviseLargeBlock(m_data + m_size, capacity - m_size);
    m_capacity = capacity;
}

void TextArena::reserve(std::size_t bytes)
{
    if (bytes > m_capacity)
        reallocate(bytes);
}

void TextArena::grow(std::size_t bytes)
{
    reallocate(std::max(m_size + bytes, m_capacity + m_capacity / 2));
}

void TextArena::shrinkToFit()
{
    if (m_data && m_size < m_capacity)
        reallocate(m_size);
}

std::size_t PacketData::memoryBytes() const
{
    std::size_t bytes = arena.capacity() + (arena.data() ? TextArena::Padding : 0);
    bytes += numbers.capacity() * sizeof(double) + numberNulls.capacity();
    bytes += texts.capacity() * sizeof(TextRef);
    bytes += columns.capacity() * sizeof(PacketColumn);
    return bytes;
}

} // namespace tavix
