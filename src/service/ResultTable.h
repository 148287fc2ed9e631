#pragma once

#include "service/PacketData.h"
#include "service/TableField.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <vector>

namespace tavix {

// An in-memory table loaded from a data packet, with a cursor and a "less than" filter.
//
// Field arguments (`int field`) are current positions, as fieldByName() returns them and as
// the grid shows the columns; moveField() changes them. Row arguments of the *At accessors
// count the rows visible through the filter. On a closed table fieldCount() and rowCount()
// are 0 and PacketText() is empty; the cursor, recordCount() and field access throw
// tavix::Error (a field lookup as an unknown field). Filter text and switch may be set at any
// time and survive LoadPacket.
class ResultTable
{
public:
    ResultTable();
    ResultTable(const ResultTable &) = delete;
    ResultTable &operator=(const ResultTable &) = delete;

    // Empty text closes the table; malformed text throws tavix::Error and leaves it closed.
    void LoadPacket(const QByteArray &packet);
    QByteArray PacketText() const; // every row, filter or not; empty when closed

    bool isActive() const { return m_active; }
    int recordCount() const;

    void first();
    void next();
    bool eof() const;

    int fieldByName(const QString &name) const;
    int fieldCount() const { return int(m_order.size()); }
    Field &field(int i);
    const Field &field(int i) const;
    void moveField(int from, int to);

    // The current row; with no current row every field reads as null.
    QString text(int field) const;
    double number(int field) const;
    bool isNull(int field) const;

    // Random access for views; rowCount() is 0 on a closed table.
    int rowCount() const;
    QString textAt(int row, int field) const;
    double numberAt(int row, int field) const;
    bool isNullAt(int row, int field) const;
    void setNumberAt(int row, int field, double value); // for the zone annotation

    // "<field><<number>", e.g. "XqYq<100.00"; an empty text lets every row through.
    void setFilter(const QString &expression);
    QString filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }

    // Bytes held for the content (cells, texts, the filtered view), for the benchmark.
    std::size_t memoryBytes() const
    {
        return m_data.memoryBytes() + m_view.capacity() * sizeof(std::uint32_t);
    }

private:
    void close();
    void requireActive() const;
    const PacketColumn &column(int field) const;
    std::size_t rowIndex(int row) const;
    int currentRow() const;
    void resolveFilter();
    bool filtering() const;
    const std::vector<std::uint32_t> &view() const;
    void restartCursor();

    PacketData m_data;
    std::vector<Field> m_fields; // in packet order
    std::vector<int> m_order;    // position -> index in m_fields
    bool m_active = false;

    int m_cursor = 0;
    bool m_eof = true;

    QString m_filterText;
    QString m_filterField;
    double m_filterLimit = 0;
    bool m_filtered = false;
    int m_filterColumn = -1; // packet column of the filter field, -1 when not applied
    mutable std::vector<std::uint32_t> m_view;
    mutable bool m_viewValid = false;
};

} // namespace tavix
