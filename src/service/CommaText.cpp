#include "service/CommaText.h"

namespace tavix {

namespace {

bool needsQuotes(const QString &item)
{
    for (QChar c : item) {
        if (c.unicode() <= 0x20 || c == QLatin1Char(',') || c == QLatin1Char('"'))
            return true;
    }
    return false;
}

} // namespace

QString JoinCommaText(const QStringList &items)
{
    QStringList parts;
    parts.reserve(items.size());
    for (const QString &item : items) {
        if (needsQuotes(item)) {
            QString quoted = item;
            quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
            parts << QLatin1Char('"') + quoted + QLatin1Char('"');
        } else {
            parts << item;
        }
    }
    return parts.join(QLatin1Char(','));
}

QStringList SplitCommaText(const QString &text)
{
    QStringList items;
    if (text.isEmpty())
        return items;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c != QLatin1Char('"')) {
                current += c;
            } else if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                current += c;
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            items << current;
            current.clear();
        } else {
            current += c;
        }
    }
    items << current;
    return items;
}

} // namespace tavix
