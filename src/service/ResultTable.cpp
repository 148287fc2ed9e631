#include "service/ResultTable.h"

#include "service/Error.h"
#include "service/NumberText.h"
#include "service/PacketReader.h"
#include "service/PacketWriter.h"

#include <QCoreApplication>

#include <utility>

namespace tavix {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ResultTable", text);
}

[[noreturn]] void unknownField(const QString &name)
{
    throw Error(tr("Campo '%1' non trovato").arg(name));
}

struct FilterExpression
{
    QString field;
    double limit = 0;
};

FilterExpression parseFilter(const QString &expression)
{
    const qsizetype lessThan = expression.indexOf(QLatin1Char('<'));
    FilterExpression parsed;
    if (lessThan > 0) {
        parsed.field = expression.left(lessThan).trimmed();
        const QByteArray number = expression.mid(lessThan + 1).toLatin1();
        if (!parsed.field.isEmpty() &&
            parseNumber(number.constData(), number.constData() + number.size(), parsed.limit) ==
                NumberParse::Ok)
            return parsed;
    }
    throw Error(tr("Filtro non valido: '%1'").arg(expression));
}

} // namespace

ResultTable::ResultTable() = default;

void ResultTable::close()
{
    m_active = false;
    m_data = PacketData();
    m_fields.clear();
    m_order.clear();
    m_cursor = 0;
    m_eof = true;
    m_filterColumn = -1;
    m_view.clear();
    m_viewValid = false;
}

void ResultTable::LoadPacket(const QByteArray &packet)
{
    close();
    if (packet.isEmpty())
        return;
    PacketData data = readPacket(packet);
    std::vector<Field> fields;
    fields.reserve(data.columns.size());
    for (const PacketColumn &column : data.columns) {
        Field field;
        field.name = textFromUtf8(column.name);
        for (const XmlAttribute &a : column.declaration) {
            if (a.name == "fieldtype")
                field.type = a.value;
            else if (a.name == "WIDTH")
                field.width = a.value.toInt();
        }
        field.kind = column.kind;
        field.position = int(fields.size());
        fields.push_back(std::move(field));
    }
    m_data = std::move(data);
    m_fields = std::move(fields);
    m_order.resize(m_fields.size());
    for (std::size_t i = 0; i < m_order.size(); ++i)
        m_order[i] = int(i);
    m_active = true;
    try {
        resolveFilter();
    } catch (...) {
        close();
        throw;
    }
    restartCursor();
}

QByteArray ResultTable::PacketText() const
{
    return m_active ? writePacket(m_data) : QByteArray();
}

void ResultTable::requireActive() const
{
    if (!m_active)
        throw Error(tr("Operazione non ammessa: la tabella dei risultati è chiusa"));
}

int ResultTable::recordCount() const
{
    requireActive();
    return rowCount();
}

void ResultTable::restartCursor()
{
    m_cursor = 0;
    m_eof = rowCount() == 0;
}

void ResultTable::first()
{
    requireActive();
    restartCursor();
}

void ResultTable::next()
{
    requireActive();
    if (m_cursor + 1 < rowCount())
        ++m_cursor;
    else
        m_eof = true; // stays on the last row, as after the last Next
}

bool ResultTable::eof() const
{
    requireActive();
    return m_eof;
}

int ResultTable::fieldByName(const QString &name) const
{
    for (std::size_t position = 0; position < m_order.size(); ++position)
        if (m_fields[std::size_t(m_order[position])].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(position);
    unknownField(name);
}

Field &ResultTable::field(int i)
{
    return const_cast<Field &>(std::as_const(*this).field(i));
}

const Field &ResultTable::field(int i) const
{
    if (i < 0 || i >= fieldCount())
        unknownField(QString::number(i));
    return m_fields[std::size_t(m_order[std::size_t(i)])];
}

void ResultTable::moveField(int from, int to)
{
    if (from < 0 || from >= fieldCount() || to < 0 || to >= fieldCount())
        unknownField(QString::number(from < 0 || from >= fieldCount() ? from : to));
    const int moved = m_order[std::size_t(from)];
    m_order.erase(m_order.begin() + from);
    m_order.insert(m_order.begin() + to, moved);
    for (std::size_t position = 0; position < m_order.size(); ++position)
        m_fields[std::size_t(m_order[position])].position = int(position);
}

const PacketColumn &ResultTable::column(int field) const
{
    if (field < 0 || field >= fieldCount())
        unknownField(QString::number(field));
    return m_data.columns[std::size_t(m_order[std::size_t(field)])];
}

int ResultTable::currentRow() const
{
    return m_cursor < rowCount() ? m_cursor : -1;
}

QString ResultTable::text(int field) const
{
    const int row = currentRow();
    if (row < 0) {
        column(field);
        return QString();
    }
    return textAt(row, field);
}

double ResultTable::number(int field) const
{
    const int row = currentRow();
    if (row < 0) {
        column(field);
        return 0;
    }
    return numberAt(row, field);
}

bool ResultTable::isNull(int field) const
{
    const int row = currentRow();
    if (row < 0) {
        column(field);
        return true;
    }
    return isNullAt(row, field);
}

bool ResultTable::filtering() const
{
    return m_active && m_filtered && m_filterColumn >= 0;
}

const std::vector<std::uint32_t> &ResultTable::view() const
{
    if (!m_viewValid) {
        m_view.clear();
        const int slot = m_data.columns[std::size_t(m_filterColumn)].slot;
        for (std::size_t row = 0; row < m_data.rowCount; ++row) {
            const std::size_t cell = m_data.numberCell(row, slot);
            if (!m_data.numberNulls[cell] && m_data.numbers[cell] < m_filterLimit)
                m_view.push_back(std::uint32_t(row));
        }
        m_viewValid = true;
    }
    return m_view;
}

int ResultTable::rowCount() const
{
    if (!m_active)
        return 0;
    return filtering() ? int(view().size()) : int(m_data.rowCount);
}

std::size_t ResultTable::rowIndex(int row) const
{
    if (row < 0 || row >= rowCount())
        throw Error(tr("Riga %1 inesistente").arg(row + 1));
    return filtering() ? view()[std::size_t(row)] : std::size_t(row);
}

QString ResultTable::textAt(int row, int field) const
{
    const PacketColumn &c = column(field);
    const std::size_t index = rowIndex(row);
    if (c.kind == FieldKind::Number) {
        const std::size_t cell = m_data.numberCell(index, c.slot);
        return m_data.numberNulls[cell] ? QString() : numberText(m_data.numbers[cell]);
    }
    const TextRef ref = m_data.texts[m_data.textCell(index, c.slot)];
    if (ref.offset == NullTextOffset)
        return QString();
    return textFromUtf8(m_data.arena.data() + ref.offset, ref.length);
}

double ResultTable::numberAt(int row, int field) const
{
    const PacketColumn &c = column(field);
    const std::size_t index = rowIndex(row);
    if (c.kind == FieldKind::Number) {
        const std::size_t cell = m_data.numberCell(index, c.slot);
        return m_data.numberNulls[cell] ? 0 : m_data.numbers[cell];
    }
    const TextRef ref = m_data.texts[m_data.textCell(index, c.slot)];
    if (ref.offset == NullTextOffset)
        return 0;
    const char *begin = m_data.arena.data() + ref.offset;
    double value = 0;
    if (parseNumber(begin, begin + ref.length, value) == NumberParse::Invalid)
        throw Error(tr("Il valore '%1' del campo '%2' non è un numero")
                        .arg(QString::fromUtf8(begin, ref.length), QString::fromUtf8(c.name)));
    return value;
}

bool ResultTable::isNullAt(int row, int field) const
{
    const PacketColumn &c = column(field);
    const std::size_t index = rowIndex(row);
    if (c.kind == FieldKind::Number)
        return m_data.numberNulls[m_data.numberCell(index, c.slot)] != 0;
    return m_data.texts[m_data.textCell(index, c.slot)].offset == NullTextOffset;
}

void ResultTable::setNumberAt(int row, int field, double value)
{
    const PacketColumn &c = column(field);
    const std::size_t index = rowIndex(row);
    if (c.kind != FieldKind::Number)
        throw Error(tr("Il campo '%1' non è numerico").arg(QString::fromUtf8(c.name)));
    const std::size_t cell = m_data.numberCell(index, c.slot);
    m_data.numbers[cell] = value;
    m_data.numberNulls[cell] = 0;
    if (m_filterColumn == m_order[std::size_t(field)])
        m_viewValid = false;
}

void ResultTable::resolveFilter()
{
    m_filterColumn = -1;
    m_viewValid = false;
    if (!m_active || !m_filtered || m_filterField.isEmpty())
        return;
    const int position = fieldByName(m_filterField);
    const int columnIndex = m_order[std::size_t(position)];
    if (m_data.columns[std::size_t(columnIndex)].kind != FieldKind::Number)
        throw Error(tr("Il campo '%1' del filtro non è numerico").arg(m_filterField));
    m_filterColumn = columnIndex;
}

void ResultTable::setFilter(const QString &expression)
{
    FilterExpression parsed;
    if (!expression.trimmed().isEmpty())
        parsed = parseFilter(expression);
    m_filterText = expression;
    m_filterField = parsed.field;
    m_filterLimit = parsed.limit;
    resolveFilter();
    if (m_active)
        restartCursor();
}

void ResultTable::setFiltered(bool on)
{
    m_filtered = on;
    resolveFilter();
    if (m_active)
        restartCursor();
}

} // namespace tavix
