#pragma once

#include <QHash>
#include <QString>

#include <optional>

namespace tavix {

// A store of text values by section and name, as a registry key holds them. Sections are
// written with "\" between levels ("IMPOSTAZIONI\IEPAGESETUP"); the empty section is the root.
class KeyStore
{
public:
    virtual ~KeyStore() = default;
    // Nothing when the value or its section is missing.
    virtual std::optional<QString> read(const QString &section, const QString &name) const = 0;
    // Creates the section first when needed.
    virtual void write(const QString &section, const QString &name, const QString &text) = 0;
};

// In memory, for tests and for places with nothing to persist.
class MemoryKeyStore : public KeyStore
{
public:
    std::optional<QString> read(const QString &section, const QString &name) const override
    {
        const auto it = m_values.constFind(section + QLatin1Char('|') + name);
        if (it == m_values.cend())
            return std::nullopt;
        return *it;
    }
    void write(const QString &section, const QString &name, const QString &text) override
    {
        m_values.insert(section + QLatin1Char('|') + name, text);
    }
    void removeSection(const QString &section)
    {
        m_values.removeIf([&](auto it) { return it.key().startsWith(section + QLatin1Char('|')); });
    }

private:
    QHash<QString, QString> m_values;
};

} // namespace tavix
