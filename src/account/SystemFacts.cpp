#include "account/SystemFacts.h"

#include <QCoreApplication>
#include <QOperatingSystemVersion>
#include <QSysInfo>

namespace tavix {

QString ProcessorText(int processorType)
{
    if (processorType >= 486)
        return QStringLiteral("PENTIUM O SUPERIORE");
    return QString::number(processorType);
}

QString ProcessorTextForArchitecture(const QString &architecture)
{
    if (architecture == QLatin1String("i386") || architecture == QLatin1String("x86_64"))
        return ProcessorText(586);
    return architecture.toUpper();
}

QString VersionText(int major, int minor, const QString &servicePack)
{
    return QStringLiteral("%1.%2 - %3").arg(major).arg(minor).arg(servicePack);
}

SystemFacts CurrentSystemFacts()
{
    SystemFacts facts;
    facts.processor = ProcessorTextForArchitecture(QSysInfo::currentCpuArchitecture());
    facts.system = QSysInfo::prettyProductName();
#ifdef Q_OS_WIN
    const QOperatingSystemVersion os = QOperatingSystemVersion::current();
    facts.version = VersionText(os.majorVersion(), os.minorVersion(), QString());
    facts.versionCaption = QCoreApplication::translate("tavix", "Versione Windows:");
#else
    facts.version = QSysInfo::productVersion() + QLatin1String(" - ") + QSysInfo::kernelType() +
                    QLatin1Char(' ') + QSysInfo::kernelVersion();
    facts.versionCaption = QCoreApplication::translate("tavix", "Versione sistema:");
#endif
    return facts;
}

} // namespace tavix
