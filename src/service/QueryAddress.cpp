#include "service/QueryAddress.h"

#include "service/Cp1252.h"

namespace tavix {

QueryAddress::QueryAddress(const QString &pageAddress, const QString &tipoquery)
    : m_page(pageAddress), m_tipoquery(tipoquery)
{
}

QueryAddress &QueryAddress::add(const QString &key, const QString &value)
{
    m_pairs.append({key, value});
    return *this;
}

QString QueryAddress::text() const
{
    QString out = m_page + QLatin1String("?tipoquery=") + m_tipoquery;
    for (const Pair &p : m_pairs)
        out += QLatin1Char('&') + p.key + QLatin1Char('=') + p.value;
    return out;
}

QUrl QueryAddress::url() const
{
    QByteArray wire = QUrl(m_page).toEncoded();
    wire += "?tipoquery=" + encodeQueryValue(m_tipoquery);
    for (const Pair &p : m_pairs)
        wire += '&' + encodeQueryValue(p.key) + '=' + encodeQueryValue(p.value);
    return QUrl::fromEncoded(wire, QUrl::StrictMode);
}

QByteArray encodeQueryValue(const QString &value)
{
    return toCp1252(value).toPercentEncoding();
}

QString NomeComuneCondition(const QString &comuneName)
{
    QString doubled = comuneName;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1String("NomeComune='") + doubled + QLatin1Char('\'');
}

QString CodiceFiscaleCondition(const QString &code)
{
    return QLatin1String("CodiceFiscale='") + code + QLatin1Char('\'');
}

} // namespace tavix
