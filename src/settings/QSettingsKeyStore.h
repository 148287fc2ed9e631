#pragma once

#include "settings/KeyStore.h"

#include <QSettings>

#include <memory>

namespace tavix {

// A KeyStore over QSettings: the registry key on Windows, an INI file elsewhere.
class QSettingsKeyStore : public KeyStore
{
public:
    // The program's own store of the current user (organisation "CALDERIX", "Tavix").
    static std::unique_ptr<QSettingsKeyStore> openProgramStore();
    // An INI file at a chosen path (tests, portable set-ups).
    explicit QSettingsKeyStore(const QString &iniFile);

    std::optional<QString> read(const QString &section, const QString &name) const override;
    // Throws tavix::Error when the store cannot be written.
    void write(const QString &section, const QString &name, const QString &text) override;

    QString location() const { return m_settings->fileName(); }

private:
    explicit QSettingsKeyStore(std::unique_ptr<QSettings> settings);
    static QString keyOf(const QString &section, const QString &name);
    std::unique_ptr<QSettings> m_settings;
};

} // namespace tavix
