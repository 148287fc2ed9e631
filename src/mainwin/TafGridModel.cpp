#include "mainwin/TafGridModel.h"

#include "mainwin/PictureFormat.h"
#include "service/ResultTable.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>

namespace tavix {

TafGridModel::TafGridModel(ResultTable &table, QObject *parent)
    : QAbstractTableModel(parent), m_table(table)
{
    reload();
}

void TafGridModel::reload()
{
    beginResetModel();
    m_fields.clear();
    for (int i = 0; i < m_table.fieldCount(); ++i)
        if (m_table.field(i).visible)
            m_fields.push_back(i);
    m_rows = m_table.rowCount();
    endResetModel();
}

int TafGridModel::columnWidth(int column) const
{
    const int field = fieldAt(column);
    return field < m_table.fieldCount() ? m_table.field(field).displayWidth : 0;
}

int TafGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TafGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

// Also guards a view painting between a change of the table and the reload() that follows.
bool TafGridModel::readable(const QModelIndex &index) const
{
    return checkIndex(index, CheckIndexOption::IndexIsValid) && index.row() < m_table.rowCount() &&
           fieldAt(index.column()) < m_table.fieldCount();
}

QString TafGridModel::displayText(int row, int field) const
{
    const Field &f = m_table.field(field);
    if (f.kind == FieldKind::Number && !f.displayFormat.isEmpty() && !m_table.isNullAt(row, field))
        return FormatPicture(m_table.numberAt(row, field), f.displayFormat);
    return m_table.textAt(row, field);
}

QVariant TafGridModel::rawValue(int row, int field) const
{
    if (m_table.isNullAt(row, field))
        return {};
    if (m_table.field(field).kind == FieldKind::Number)
        return m_table.numberAt(row, field);
    return m_table.textAt(row, field);
}

QVariant TafGridModel::data(const QModelIndex &index, int role) const
{
    if (!readable(index))
        return {};
    const int field = fieldAt(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return displayText(index.row(), field);
    case RawValueRole:
        return rawValue(index.row(), field);
    case Qt::ToolTipRole: // the whole of a text a narrow column cuts
        if (m_table.field(field).kind == FieldKind::Text && !m_table.isNullAt(index.row(), field))
            return m_table.textAt(index.row(), field);
        return {};
    case Qt::TextAlignmentRole:
        if (m_table.field(field).kind == FieldKind::Number)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant TafGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section < 0 || section >= columnCount() || fieldAt(section) >= m_table.fieldCount())
        return {};
    return m_table.field(fieldAt(section)).displayTitle();
}

Qt::ItemFlags TafGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

QMimeData *TafGridModel::rowMimeData(int row) const
{
    if (row < 0 || row >= m_table.rowCount())
        return nullptr;
    QJsonObject values;
    for (int i = 0; i < m_table.fieldCount(); ++i)
        values.insert(m_table.field(i).name, m_table.textAt(row, i));
    auto *mime = new QMimeData;
    mime->setData(QLatin1String(RowMimeType), QJsonDocument(values).toJson(QJsonDocument::Compact));
    return mime;
}

QMap<QString, QString> TafGridModel::rowFromMime(const QMimeData *mime)
{
    QMap<QString, QString> row;
    if (!mime)
        return row;
    const QJsonObject values =
        QJsonDocument::fromJson(mime->data(QLatin1String(RowMimeType))).object();
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        row.insert(it.key(), it.value().toString());
    return row;
}

} // namespace tavix
