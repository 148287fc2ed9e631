#pragma once

#include "settings/KeyStore.h"

#include <QString>

namespace tavix {

// Every value the program keeps, by section and name. Texts default to empty; the flags'
// defaults are those of the operations that read them.
namespace setting {
inline const QString kRoot;
inline const QString kImpostazioni = QStringLiteral("IMPOSTAZIONI");
inline const QString kSavedPageSetup = QStringLiteral("IMPOSTAZIONI\\IEPAGESETUP");
inline const QString kBrowserPageSetup = QStringLiteral("PageSetup");

// Root.
inline const QString kUser = QStringLiteral("User");
inline const QString kPwd = QStringLiteral("pwd");
inline const QString kVersione = QStringLiteral("Versione");
inline const QString kPrimoAvvio = QStringLiteral("PrimoAvvio"); // flag, default true
inline const QString kInfoReg = QStringLiteral("InfoReg");       // flag, default false
// "IMPOSTAZIONI".
inline const QString kProvinciaDefault = QStringLiteral("ProvinciaDefault");
inline const QString kComuneDefault = QStringLiteral("ComuneDefault");
inline const QString kStampaCoord = QStringLiteral("StampaCoord"); // flag, default true
inline const QString kNomeTecnico = QStringLiteral("NomeTecnico");
inline const QString kNumIscrizTecnico = QStringLiteral("NumIscrizTecnico");
inline const QString kQualificaTecnico = QStringLiteral("QualificaTecnico");
inline const QString kProvTecnico = QStringLiteral("ProvTecnico");
} // namespace setting

// The persistent settings of the current user, and the browser page setup the program takes
// over while it runs. Nothing is cached: every read goes to the store.
class SettingsStore
{
public:
    // `browser` is the browser's own page-setup store; without one (no such browser setup on
    // this system) the two page-setup operations do nothing.
    explicit SettingsStore(KeyStore &program, KeyStore *browser = nullptr);

    bool ReadFirstStart() const;
    void WriteFirstStart(bool value);
    bool ReadRegistered() const;
    void WriteRegistered(bool value);
    QString ReadRootValue(const QString &name) const;
    void WriteRootValue(const QString &name, const QString &text);
    QString ReadSetting(const QString &name) const;
    void WriteSetting(const QString &name, const QString &text);
    bool ReadSettingFlag(const QString &name) const;
    void WriteSettingFlag(const QString &name, bool value);

    void SaveBrowserPageSetup();
    void RestoreBrowserPageSetup();

    // A flag's text: an integer, non-zero true; anything else gives the default.
    static bool parseFlag(const std::optional<QString> &text, bool defaultValue);

private:
    bool readFlag(const QString &section, const QString &name, bool defaultValue) const;
    QString readText(const QString &section, const QString &name,
                     const QString &defaultValue = {}) const;
    void imposeProgramPageSetup();

    KeyStore &m_program;
    KeyStore *m_browser;
};

} // namespace tavix
