#pragma once

#include <QAbstractTableModel>
#include <QMap>
#include <QString>

#include <vector>

class QMimeData;

namespace tavix {

class ResultTable;

// The main result table as the grid shows it: one column per visible field in field order,
// one row per row passing the table's filter. Reads the table directly and keeps no copy of
// its rows. The table does not announce its changes: call reload() after loading, filtering,
// laying out or closing it.
//
// Roles: DisplayRole is the text shown (the field's number format when it has one, else the
// table's text); RawValueRole the value itself (double for numbers, QString for texts,
// an invalid QVariant for null); ToolTipRole the whole text of a text field. Horizontal
// header: the field's title.
class TafGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Role { RawValueRole = Qt::UserRole + 1 };
    static constexpr const char *RowMimeType = "application/x-tavix-taf-row";

    explicit TafGridModel(ResultTable &table, QObject *parent = nullptr);

    ResultTable &table() const { return m_table; }
    void reload();

    // The table position of the field shown in `column`, and its width (0: the view's own).
    int fieldAt(int column) const { return m_fields[std::size_t(column)]; }
    int columnWidth(int column) const;

    // Every field of a row (hidden ones included) by name, each as its plain text (numbers
    // with "." and no display format), for the drops of the zone and distance windows.
    // nullptr when the row does not exist; the caller owns the result.
    QMimeData *rowMimeData(int row) const;
    static QMap<QString, QString> rowFromMime(const QMimeData *mime);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    bool readable(const QModelIndex &index) const;
    QString displayText(int row, int field) const;
    QVariant rawValue(int row, int field) const;

    ResultTable &m_table;
    std::vector<int> m_fields; // column -> table position
    int m_rows = 0;
};

} // namespace tavix
