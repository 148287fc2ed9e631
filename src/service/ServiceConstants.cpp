#include "service/ServiceConstants.h"

#include "service/Cipher.h"
#include "service/Error.h"
#include "service/StoredConstants.h"

#include <QUrl>

namespace tavix {

namespace {

template <std::size_t N> QString decipher(const char (&constant)[N])
{
    const QByteArray keySource(stored::KeyTextSource, sizeof stored::KeyTextSource - 1);
    const QByteArray maskSource(stored::MaskSource, sizeof stored::MaskSource - 1);
    return QString::fromLatin1(DecipherConstant(constant, qsizetype(N - 1), keySource, maskSource));
}

struct Overrides
{
    QString serviceBase;
    QString printBase;
};

Overrides &overrides()
{
    static Overrides current;
    return current;
}

QString deploymentBase()
{
    return decipher(stored::ServiceBase1) + decipher(stored::ServiceBase2);
}

// A complete address of the deployment follows an overridden base, so that a local service
// also serves the registration and request pages.
QString followBaseOverride(const QString &address)
{
    const QString &base = overrides().serviceBase;
    return base.isEmpty() ? address : rebaseAddress(address, deploymentBase(), base);
}

// The base in the form the callers append page names to: trimmed, ending with "/".
QString normalisedBase(const QString &text, const QString &what)
{
    const QString base = text.trimmed();
    if (base.isEmpty())
        return {};
    const QUrl url(base, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty()) {
        throw Error(QStringLiteral("Indirizzo %1 non valido: \"%2\" (serve un indirizzo http:// o "
                                   "https://)")
                        .arg(what, base));
    }
    return base.endsWith(u'/') ? base : base + u'/';
}

QString serviceWhat()
{
    return QStringLiteral("del servizio");
}

QString printWhat()
{
    return QStringLiteral("delle stampe");
}

// Takes every "name URL" and "name=URL" before a "--" out of args; the last one given wins.
void takeOption(QStringList &args, const QString &name, QString &value)
{
    const QString prefix = name + u'=';
    qsizetype i = 0;
    while (i < args.size() && args.at(i) != u"--") {
        if (args.at(i) == name) {
            if (i + 1 >= args.size() || args.at(i + 1).startsWith(u"--"))
                throw Error(QStringLiteral("Manca l'indirizzo dopo l'opzione %1").arg(name));
            value = args.at(i + 1);
            args.remove(i, 2);
        } else if (args.at(i).startsWith(prefix)) {
            value = args.at(i).mid(prefix.size());
            args.removeAt(i);
        } else {
            ++i;
        }
    }
}

} // namespace

QString serviceBase()
{
    const QString &base = overrides().serviceBase;
    return base.isEmpty() ? deploymentBase() : base;
}

QString queryPage()
{
    return decipher(stored::QueryPage);
}

QString comuniPage()
{
    return decipher(stored::ComuniPage);
}

QString uploadPage()
{
    return decipher(stored::UploadPage);
}

QString printedCardsPage()
{
    return decipher(stored::PrintedCardsPage);
}

QString newUserPage()
{
    return followBaseOverride(decipher(stored::NewUserPage));
}

QString replaceImagePage()
{
    return followBaseOverride(decipher(stored::ReplaceImagePage));
}

QString deleteImagePage()
{
    return followBaseOverride(decipher(stored::DeleteImagePage));
}

QString cardPrintPage()
{
    return decipher(stored::CardPrintPage);
}

QString listPrintPage()
{
    return decipher(stored::ListPrintPage);
}

QString defaultPrintBase()
{
    const QString &base = overrides().printBase;
    if (!base.isEmpty())
        return base;
    return followBaseOverride(QString::fromLatin1(stored::PrintBaseAddress));
}

void setServiceBaseOverride(const QString &base)
{
    overrides().serviceBase = normalisedBase(base, serviceWhat());
}

void setPrintBaseOverride(const QString &base)
{
    overrides().printBase = normalisedBase(base, printWhat());
}

void applyServiceOverrides(QStringList &args)
{
    QString service = qEnvironmentVariable("TAVIX_SERVICE_BASE");
    QString print = qEnvironmentVariable("TAVIX_PRINT_BASE");
    takeOption(args, QStringLiteral("--service-base"), service);
    takeOption(args, QStringLiteral("--print-base"), print);
    // Check both before changing either, so a bad address leaves the previous state.
    const QString serviceBase = normalisedBase(service, serviceWhat());
    const QString printBase = normalisedBase(print, printWhat());
    if (!serviceBase.isEmpty())
        overrides().serviceBase = serviceBase;
    if (!printBase.isEmpty())
        overrides().printBase = printBase;
}

QString rebaseAddress(const QString &address, const QString &deploymentBase,
                      const QString &overrideBase)
{
    if (overrideBase.isEmpty() || deploymentBase.isEmpty() || !address.startsWith(deploymentBase))
        return address;
    return overrideBase + address.mid(deploymentBase.size());
}

} // namespace tavix
