#pragma once

#include <QList>
#include <QString>
#include <QUrl>

namespace tavix {

// One query of the service: the page address, "?tipoquery=" and the query name, then
// "&key=value" pairs in the order they were added.
class QueryAddress
{
public:
    struct Pair
    {
        QString key;
        QString value;
    };

    QueryAddress(const QString &pageAddress, const QString &tipoquery);

    QueryAddress &add(const QString &key, const QString &value);

    const QString &pageAddress() const { return m_page; }
    const QString &tipoquery() const { return m_tipoquery; }
    const QList<Pair> &pairs() const { return m_pairs; }

    // The address as composed, every value as it stands (for messages and tests).
    QString text() const;
    // The address on the wire: each value percent-encoded as its Windows-1252 bytes, so that
    // "&", "#", "+", "%", blanks and accented letters reach the server as composed.
    QUrl url() const;

private:
    QString m_page;
    QString m_tipoquery;
    QList<Pair> m_pairs;
};

// Percent-encoding of one value: Windows-1252 bytes, RFC 3986 unreserved characters kept.
QByteArray encodeQueryValue(const QString &value);

// Lookup conditions of the comuni page.
QString NomeComuneCondition(const QString &comuneName); // NomeComune='SANT''ANGELO'
QString CodiceFiscaleCondition(const QString &code);    // CodiceFiscale='A123'

} // namespace tavix
