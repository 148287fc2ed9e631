#include "mainwin/GridLayout.h"

#include "service/ResultTable.h"

#include <QCoreApplication>

namespace tavix {

namespace {

const GridColumnLayout Layout[] = {
    {"COMUNE", nullptr, 0, nullptr},
    {"SEZIONE", QT_TRANSLATE_NOOP("GridLayout", "Sez"), 25, nullptr},
    {"FOGLIO", QT_TRANSLATE_NOOP("GridLayout", "Foglio"), 0, nullptr},
    {"PF", QT_TRANSLATE_NOOP("GridLayout", "PF"), 30, nullptr},
    {"PARTICELLA", QT_TRANSLATE_NOOP("GridLayout", "Particella"), 47, nullptr},
    {"XCASSINI", QT_TRANSLATE_NOOP("GridLayout", "X Cassini"), 65, "####0.000"},
    {"YCASSINI", QT_TRANSLATE_NOOP("GridLayout", "Y Cassini"), 65, "####0.000"},
    {"NORDGAUSS", QT_TRANSLATE_NOOP("GridLayout", "Nord Gauss"), 72, "######0.000"},
    {"ESTGAUSS", QT_TRANSLATE_NOOP("GridLayout", "Est Gauss"), 72, "######0.000"},
    {"QUOTA", QT_TRANSLATE_NOOP("GridLayout", "Quota"), 52, "###0.000"},
    {"IMMAGINI", QT_TRANSLATE_NOOP("GridLayout", "Immagini"), 46, nullptr},
    {"ATTENDIBILITA_P", QT_TRANSLATE_NOOP("GridLayout", "Att P"), 30, nullptr},
    {"ATTENDIBILITA_A", QT_TRANSLATE_NOOP("GridLayout", "Att A"), 30, nullptr},
    {"RIF_PLANIM", QT_TRANSLATE_NOOP("GridLayout", "Riferimenti planimetrici"), 152, nullptr},
    {"RIF_ALTIM", QT_TRANSLATE_NOOP("GridLayout", "Riferimenti altimetrici"), 152, nullptr},
    {"ANNOTAZIONI", QT_TRANSLATE_NOOP("GridLayout", "Annotazioni"), 152, nullptr},
    {"ORIGINE_CS", QT_TRANSLATE_NOOP("GridLayout", "Origine Cassini"), 40, nullptr},
    {"FUSO", QT_TRANSLATE_NOOP("GridLayout", "Fuso"), 0, nullptr},
    {"FG_ORIG", QT_TRANSLATE_NOOP("GridLayout", "FG Orig"), 40, nullptr},
    {"PF_ORIG", QT_TRANSLATE_NOOP("GridLayout", "PF Orig"), 40, nullptr},
    {"ULTIMA_VARIAZIONE", QT_TRANSLATE_NOOP("GridLayout", "Ultima variazione"), 64, nullptr},
    {"CAUSALE", QT_TRANSLATE_NOOP("GridLayout", "Causale"), 0, nullptr},
};

// Titles of the columns the grid never shows: the zone distance and the province.
bool isHiddenTitle(const QString &title)
{
    return title.compare(QLatin1String("XQYQ"), Qt::CaseInsensitive) == 0 ||
           title.compare(QLatin1String("PROVINCIA"), Qt::CaseInsensitive) == 0;
}

int findField(const ResultTable &table, const char *name, int from)
{
    const QLatin1String wanted(name);
    for (int i = from; i < table.fieldCount(); ++i)
        if (table.field(i).name.compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void applyColumn(Field &field, const GridColumnLayout &column)
{
    field.title =
        column.title ? QCoreApplication::translate("GridLayout", column.title) : QString();
    field.displayWidth = column.width;
    if (column.picture && field.kind == FieldKind::Number)
        field.displayFormat = QLatin1String(column.picture);
}

} // namespace

std::span<const GridColumnLayout> gridLayout()
{
    return Layout;
}

void ApplyGridLayout(ResultTable &table)
{
    if (!table.isActive())
        return;
    int placed = 0;
    for (const GridColumnLayout &column : Layout) {
        const int at = findField(table, column.field, placed);
        if (at < 0)
            continue;
        table.moveField(at, placed);
        applyColumn(table.field(placed), column);
        ++placed;
    }
    for (int i = 0; i < table.fieldCount(); ++i) {
        Field &field = table.field(i);
        if (isHiddenTitle(field.displayTitle()))
            field.visible = false;
    }
}

} // namespace tavix
