#pragma once

#include <QByteArray>
#include <QString>

namespace tavix {

enum class FieldKind { Text, Number };

// A field of a result table as the grid and the printed list see it. Changing these members
// changes only the presentation: the packet keeps the declaration it was loaded with.
struct Field
{
    QString name;    // as the server spells it
    QByteArray type; // the packet's "fieldtype"
    int width = 0;   // "WIDTH", 0 when not declared
    FieldKind kind = FieldKind::Text;
    int position = 0; // current place among the fields (see ResultTable::moveField)
    bool visible = true;
    QString displayFormat; // picture format such as "#####0.000"; presentation only
    QString title;         // column title; empty: the name (see displayTitle)
    int displayWidth = 0;  // column width in pixels; 0: the grid's own choice

    QString displayTitle() const { return title.isEmpty() ? name : title; }
};

} // namespace tavix
