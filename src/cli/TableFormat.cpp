#include "cli/TableFormat.h"

#include "service/ResultTable.h"

#include <QList>

namespace tavix::cli {

namespace {

QString csvCell(const QString &value)
{
    if (!value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')) &&
        !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString tableAsCsv(const ResultTable &table)
{
    QString out;
    QStringList cells;
    for (int f = 0; f < table.fieldCount(); ++f)
        cells << csvCell(table.field(f).name);
    out += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (int r = 0; r < table.rowCount(); ++r) {
        cells.clear();
        for (int f = 0; f < table.fieldCount(); ++f)
            cells << csvCell(table.textAt(r, f));
        out += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out;
}

QString tableAsText(const ResultTable &table)
{
    const int fields = table.fieldCount();
    QList<qsizetype> widths(fields);
    for (int f = 0; f < fields; ++f)
        widths[f] = table.field(f).name.size();
    for (int r = 0; r < table.rowCount(); ++r) {
        for (int f = 0; f < fields; ++f)
            widths[f] = std::max(widths[f], table.textAt(r, f).size());
    }
    auto line = [&](auto cellOf) {
        QString text;
        for (int f = 0; f < fields; ++f)
            text += cellOf(f).leftJustified(widths[f]) + (f + 1 < fields ? u"  "_qs : QString());
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        return text + QLatin1Char('\n');
    };
    QString out = line([&](int f) { return table.field(f).name; });
    for (int r = 0; r < table.rowCount(); ++r)
        out += line([&](int f) { return table.textAt(r, f); });
    return out;
}

} // namespace tavix::cli
