#include "account/CRAbout.h"
#include "account/SystemFacts.h"
#include "settings/CRGestioneRegistro.h"

#include <QLabel>
#include <QTest>

using namespace tavix;

class TestAbout : public QObject
{
    Q_OBJECT
private slots:
    void showsVersionUserAndClosesWithOneOnEsc_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("label");
        QTest::newRow("stored") << "1.2.0" << "Versione 1.2.0";
        QTest::newRow("missing") << "" << "Versione ";
    }
    void showsVersionUserAndClosesWithOneOnEsc()
    {
        QFETCH(QString, version);
        QFETCH(QString, label);
        MemoryKeyStore keys;
        SettingsStore settings(keys);
        if (!version.isEmpty())
            settings.WriteRootValue(setting::kVersione, version);
        settings.WriteRootValue(setting::kUser, QStringLiteral("geo@studio.it"));
        TAboutBox about(settings);
        QCOMPARE(about.windowTitle(), QStringLiteral("Informazioni"));
        QCOMPARE(about.findChild<QLabel *>(QStringLiteral("VersioneLabel"))->text(), label);
        QCOMPARE(about.findChild<QLabel *>(QStringLiteral("UserLabel"))->text(), QStringLiteral("geo@studio.it"));
        QVERIFY(!about.findChild<QLabel *>(QStringLiteral("CpuLabel"))->text().isEmpty());
        about.show();
        QTest::keyClick(&about, Qt::Key_Escape);
        QCOMPARE(about.result(), 1);
    }

    void systemTexts()
    {
        QCOMPARE(ProcessorText(386), QStringLiteral("386"));
        QCOMPARE(ProcessorText(486), QStringLiteral("PENTIUM O SUPERIORE"));
        QCOMPARE(ProcessorText(586), QStringLiteral("PENTIUM O SUPERIORE"));
        QCOMPARE(VersionText(5, 1, QString()), QStringLiteral("5.1 - "));
        QCOMPARE(VersionText(5, 1, QStringLiteral("Service Pack 2")), QStringLiteral("5.1 - Service Pack 2"));
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
