#include "settings/QSettingsKeyStore.h"

#include "service/Error.h"

#include <QCoreApplication>

namespace tavix {

std::unique_ptr<QSettingsKeyStore> QSettingsKeyStore::openProgramStore()
{
#ifdef Q_OS_WIN
    auto settings = std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\CALDERIX\\Tavix"), QSettings::NativeFormat);
#else
    auto settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                QStringLiteral("CALDERIX"),
                                                QStringLiteral("Tavix"));
#endif
    return std::unique_ptr<QSettingsKeyStore>(new QSettingsKeyStore(std::move(settings)));
}

QSettingsKeyStore::QSettingsKeyStore(const QString &iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{
}

QSettingsKeyStore::QSettingsKeyStore(std::unique_ptr<QSettings> settings)
    : m_settings(std::move(settings))
{
}

QString QSettingsKeyStore::keyOf(const QString &section, const QString &name)
{
    if (section.isEmpty())
        return name;
    return QString(section).replace(QLatin1Char('\\'), QLatin1Char('/')) + QLatin1Char('/') + name;
}

std::optional<QString> QSettingsKeyStore::read(const QString &section, const QString &name) const
{
    const QVariant v = m_settings->value(keyOf(section, name));
    if (!v.isValid())
        return std::nullopt;
    return v.toString();
}

void QSettingsKeyStore::write(const QString &section, const QString &name, const QString &text)
{
    m_settings->setValue(keyOf(section, name), text);
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError) {
        throw Error(QCoreApplication::translate("tavix", "Impossibile salvare le impostazioni "
                                                         "in %1")
                        .arg(m_settings->fileName()));
    }
}

} // namespace tavix
