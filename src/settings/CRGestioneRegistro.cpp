#include "settings/CRGestioneRegistro.h"

#include <array>
#include <utility>

namespace tavix {

namespace {

const QString kFooter = QStringLiteral("footer");
const QString kHeader = QStringLiteral("header");
const QString kMarginLeft = QStringLiteral("margin_left");
const QString kMarginRight = QStringLiteral("margin_right");
const QString kMarginTop = QStringLiteral("margin_top");
const QString kMarginBottom = QStringLiteral("margin_bottom");

const std::array<const QString *, 6> kPageSetupNames = {&kFooter,     &kHeader,    &kMarginLeft,
                                                        &kMarginRight, &kMarginTop, &kMarginBottom};

} // namespace

SettingsStore::SettingsStore(KeyStore &program, KeyStore *browser)
    : m_program(program), m_browser(browser)
{
}

bool SettingsStore::parseFlag(const std::optional<QString> &text, bool defaultValue)
{
    if (!text)
        return defaultValue;
    bool ok = false;
    const qlonglong n = text->trimmed().toLongLong(&ok, 10);
    return ok ? n != 0 : defaultValue;
}

bool SettingsStore::readFlag(const QString &section, const QString &name, bool defaultValue) const
{
    return parseFlag(m_program.read(section, name), defaultValue);
}

QString SettingsStore::readText(const QString &section, const QString &name,
                                const QString &defaultValue) const
{
    return m_program.read(section, name).value_or(defaultValue);
}

bool SettingsStore::ReadFirstStart() const
{
    return readFlag(setting::kRoot, setting::kPrimoAvvio, true);
}

void SettingsStore::WriteFirstStart(bool value)
{
    m_program.write(setting::kRoot, setting::kPrimoAvvio, value ? u"1"_qs : u"0"_qs);
}

bool SettingsStore::ReadRegistered() const
{
    return readFlag(setting::kRoot, setting::kInfoReg, false);
}

void SettingsStore::WriteRegistered(bool value)
{
    m_program.write(setting::kRoot, setting::kInfoReg, value ? u"1"_qs : u"0"_qs);
}

QString SettingsStore::ReadRootValue(const QString &name) const
{
    return readText(setting::kRoot, name);
}

void SettingsStore::WriteRootValue(const QString &name, const QString &text)
{
    m_program.write(setting::kRoot, name, text);
}

QString SettingsStore::ReadSetting(const QString &name) const
{
    return readText(setting::kImpostazioni, name);
}

void SettingsStore::WriteSetting(const QString &name, const QString &text)
{
    m_program.write(setting::kImpostazioni, name, text);
}

bool SettingsStore::ReadSettingFlag(const QString &name) const
{
    return readFlag(setting::kImpostazioni, name, true);
}

void SettingsStore::WriteSettingFlag(const QString &name, bool value)
{
    m_program.write(setting::kImpostazioni, name, value ? u"1"_qs : u"0"_qs);
}

void SettingsStore::imposeProgramPageSetup()
{
    const std::array<std::pair<const QString *, QString>, 6> programSetup = {{
        {&kFooter, QString()},
        {&kHeader, QString()},
        {&kMarginLeft, u"0.20"_qs},
        {&kMarginRight, u"0.20"_qs},
        {&kMarginTop, u"0.15"_qs},
        {&kMarginBottom, u"0.15"_qs},
    }};
    for (const auto &[name, value] : programSetup)
        m_browser->write(setting::kBrowserPageSetup, *name, value);
}

void SettingsStore::SaveBrowserPageSetup()
{
    if (!m_browser)
        return;
    try {
        // A saved left margin means an earlier run never restored: keep what it saved.
        if (readText(setting::kSavedPageSetup, kMarginLeft).isEmpty()) {
            for (const QString *name : kPageSetupNames) {
                const QString value =
                    m_browser->read(setting::kBrowserPageSetup, *name).value_or(QString());
                m_program.write(setting::kSavedPageSetup, *name, value);
            }
        }
    } catch (...) {
        imposeProgramPageSetup();
        throw;
    }
    imposeProgramPageSetup();
}

void SettingsStore::RestoreBrowserPageSetup()
{
    if (!m_browser)
        return;
    m_browser->write(setting::kBrowserPageSetup, kFooter, readText(setting::kSavedPageSetup, kFooter));
    m_browser->write(setting::kBrowserPageSetup, kHeader, readText(setting::kSavedPageSetup, kHeader));
    const QString left = readText(setting::kSavedPageSetup, kMarginLeft, u"0.20"_qs);
    if (left.isEmpty())
        return;
    m_browser->write(setting::kBrowserPageSetup, kMarginLeft, left);
    for (const QString *name : {&kMarginRight, &kMarginTop, &kMarginBottom}) {
        m_browser->write(setting::kBrowserPageSetup, *name,
                         readText(setting::kSavedPageSetup, *name, u"0.20"_qs));
    }
    for (const QString *name : {&kHeader, &kMarginLeft, &kMarginRight, &kMarginTop, &kMarginBottom})
        m_program.write(setting::kSavedPageSetup, *name, QString());
}

} // namespace tavix
