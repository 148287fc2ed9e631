#include "settings/CRGestioneRegistro.h"
#include "settings/QSettingsKeyStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavix;

namespace {

const QString kBrowser = QStringLiteral("PageSetup");
const QString kSaved = QStringLiteral("IMPOSTAZIONI\\IEPAGESETUP");

QStringList pageSetup(const KeyStore &store, const QString &section)
{
    QStringList out;
    for (const char *name : {"footer", "header", "margin_left", "margin_right", "margin_top",
                             "margin_bottom"})
        out << store.read(section, QLatin1String(name)).value_or(QStringLiteral("<none>"));
    return out;
}

void setBrowser(MemoryKeyStore &browser, const QStringList &values)
{
    const char *names[] = {"footer", "header", "margin_left", "margin_right", "margin_top",
                           "margin_bottom"};
    for (int i = 0; i < values.size(); ++i)
        browser.write(kBrowser, QLatin1String(names[i]), values[i]);
}

const QStringList kProgramSetup = {"", "", "0.20", "0.20", "0.15", "0.15"};

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT
private slots:
    void freshProfileGivesTheDefaults()
    {
        QTemporaryDir dir;
        QSettingsKeyStore ini(dir.filePath(QStringLiteral("Tavix.conf")));
        SettingsStore store(ini);
        QVERIFY(store.ReadFirstStart());
        QVERIFY(!store.ReadRegistered());
        QVERIFY(store.ReadSettingFlag(setting::kStampaCoord));
        QCOMPARE(store.ReadRootValue(setting::kUser), QString());
        QCOMPARE(store.ReadSetting(setting::kComuneDefault), QString());
    }

    void valuesPersistUnderTheirSections()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Tavix.conf"));
        {
            QSettingsKeyStore ini(path);
            SettingsStore store(ini);
            store.WriteRootValue(setting::kUser, QStringLiteral("geo@studio.it"));
            store.WriteFirstStart(false);
            store.WriteSetting(setting::kComuneDefault, QStringLiteral("SANT'ANGELO D'ALIFE"));
            store.WriteSettingFlag(setting::kStampaCoord, false);
        }
        QSettingsKeyStore ini(path);
        SettingsStore store(ini);
        QCOMPARE(store.ReadRootValue(setting::kUser), QStringLiteral("geo@studio.it"));
        QVERIFY(!store.ReadFirstStart());
        QCOMPARE(store.ReadSetting(setting::kComuneDefault), QStringLiteral("SANT'ANGELO D'ALIFE"));
        QVERIFY(!store.ReadSettingFlag(setting::kStampaCoord));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("[IMPOSTAZIONI]"));
        QVERIFY(text.contains("StampaCoord=0"));
        QVERIFY(text.contains("PrimoAvvio=0"));
    }

    void flagParsing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("missing");
        QTest::addColumn<bool>("defaultValue");
        QTest::addColumn<bool>("expected");
        QTest::newRow("missing, default true") << "" << true << true << true;
        QTest::newRow("missing, default false") << "" << true << false << false;
        QTest::newRow("1") << "1" << false << false << true;
        QTest::newRow("0") << "0" << false << true << false;
        QTest::newRow("2 is true") << "2" << false << false << true;
        QTest::newRow("-1 is true") << "-1" << false << false << true;
        QTest::newRow("yes gives default") << "yes" << false << true << true;
        QTest::newRow("yes gives default false") << "yes" << false << false << false;
        QTest::newRow("empty gives default") << "" << false << true << true;
    }
    void flagParsing()
    {
        QFETCH(QString, text);
        QFETCH(bool, missing);
        QFETCH(bool, defaultValue);
        QFETCH(bool, expected);
        const std::optional<QString> value = missing ? std::nullopt : std::optional(text);
        QCOMPARE(SettingsStore::parseFlag(value, defaultValue), expected);
    }

    void pageSetupSavedImposedAndRestored()
    {
        MemoryKeyStore program, browser;
        setBrowser(browser, {"&b&p", "&w", "0.75", "0.75", "0.5", "0.5"});
        SettingsStore store(program, &browser);

        store.SaveBrowserPageSetup();
        QCOMPARE(pageSetup(browser, kBrowser), kProgramSetup);
        QCOMPARE(pageSetup(program, kSaved), (QStringList{"&b&p", "&w", "0.75", "0.75", "0.5", "0.5"}));

        store.RestoreBrowserPageSetup();
        QCOMPARE(pageSetup(browser, kBrowser), (QStringList{"&b&p", "&w", "0.75", "0.75", "0.5", "0.5"}));
        QCOMPARE(pageSetup(program, kSaved), (QStringList{"&b&p", "", "", "", "", ""}));
    }

    void aRunWithoutRestoreKeepsTheEarlierSave()
    {
        MemoryKeyStore program, browser;
        setBrowser(browser, {"f", "h", "0.75", "0.7", "0.6", "0.5"});
        SettingsStore(program, &browser).SaveBrowserPageSetup();
        // The program ended without restoring; the browser still has the program's setup.
        SettingsStore next(program, &browser);
        next.SaveBrowserPageSetup();
        QCOMPARE(pageSetup(program, kSaved), (QStringList{"f", "h", "0.75", "0.7", "0.6", "0.5"}));
        next.RestoreBrowserPageSetup();
        QCOMPARE(pageSetup(browser, kBrowser), (QStringList{"f", "h", "0.75", "0.7", "0.6", "0.5"}));
    }

    void browserWithoutMarginsGetsOnlyFooterAndHeaderBack()
    {
        MemoryKeyStore program, browser;
        browser.write(kBrowser, QStringLiteral("footer"), QStringLiteral("F"));
        browser.write(kBrowser, QStringLiteral("header"), QStringLiteral("H"));
        SettingsStore store(program, &browser);
        store.SaveBrowserPageSetup();
        store.RestoreBrowserPageSetup();
        QCOMPARE(pageSetup(browser, kBrowser), (QStringList{"F", "H", "0.20", "0.20", "0.15", "0.15"}));
    }

    void missingSavedSectionRestoresDefaultMargins()
    {
        MemoryKeyStore program, browser;
        setBrowser(browser, kProgramSetup);
        SettingsStore(program, &browser).RestoreBrowserPageSetup();
        QCOMPARE(pageSetup(browser, kBrowser), (QStringList{"", "", "0.20", "0.20", "0.20", "0.20"}));
    }

    void withoutABrowserSetupNothingIsTouched()
    {
        MemoryKeyStore program;
        SettingsStore store(program);
        store.SaveBrowserPageSetup();
        store.RestoreBrowserPageSetup();
        QCOMPARE(pageSetup(program, kSaved), QStringList(6, QStringLiteral("<none>")));
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
