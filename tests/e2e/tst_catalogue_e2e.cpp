#include "RecordingNotifier.h"
#include "TafServerProcess.h"

#include "service/DMTAFQueryPhp.h"
#include "service/Error.h"
#include "service/ServiceConstants.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace tavix;

// The data module against a real archive service on loopback, with the fixture archive.
class TestCatalogueE2E : public QObject
{
    Q_OBJECT

    TafServerProcess server;
    std::unique_ptr<TDM_Data> dm;

    QStringList column(const QByteArray &packet, const char *field)
    {
        ResultTable t;
        t.LoadPacket(packet);
        QStringList out;
        const int f = t.fieldByName(QLatin1String(field));
        for (int r = 0; r < t.rowCount(); ++r)
            out << t.textAt(r, f);
        return out;
    }

private slots:
    void initTestCase()
    {
        QString error;
        QVERIFY2(server.start(&error), qPrintable(error));
        setServiceBaseOverride(server.baseUrl());
    }

    void init()
    {
        dm = std::make_unique<TDM_Data>();
        dm->ServiceUser = QString::fromUtf8(TafServerProcess::kUser);
        dm->ServicePassword = QString::fromUtf8(TafServerProcess::kPassword);
    }

    void lookups()
    {
        const auto roma = dm->QueryComuneCodeAndRegion(QStringLiteral("ROMA"));
        QCOMPARE(roma.code, QStringLiteral("H501"));
        QCOMPARE(roma.region, QStringLiteral("LAZIO"));
        QCOMPARE(dm->QueryComuneName(QStringLiteral("M320A")),
                 QStringLiteral("VALSAMOGGIA SEZ. A BAZZANO"));
        QCOMPARE(dm->QueryComuneProvince(QStringLiteral("H501")), QStringLiteral("ROMA"));
        QCOMPARE(dm->QueryComuneCode(QStringLiteral("NON ESISTE")), QString());
    }

    void selections()
    {
        const QString roma = QStringLiteral("ROMA");
        QCOMPARE(column(dm->QueryTafByComune(roma), "PF"), (QStringList{"01", "02", "03", "07"}));
        QCOMPARE(column(dm->QueryTafByPFFoglio(roma, QStringLiteral("02"), QStringLiteral("0120")), "PF"),
                 QStringList{"02"});
        QCOMPARE(column(dm->QueryTafByFogliInterval(roma, QStringLiteral("0010"), QStringLiteral("0200")), "Foglio"),
                 (QStringList{"0120", "0120", "0120"}));
        QCOMPARE(column(dm->QueryTafByReliabilityInterval(roma, QStringLiteral("5"), QStringLiteral("9")), "PF"),
                 (QStringList{"02", "03", "07"}));
        QCOMPARE(column(dm->QueryTafByFogliList(QStringLiteral("A34A/H501,0030/M320A")), "Comune"),
                 (QStringList{"H501", "M320A"}));
        QCOMPARE(column(dm->QueryTafByPFList(QStringLiteral("03/0120/H501")), "PF"), QStringList{"03"});
    }

    void everyTafFieldArrives()
    {
        ResultTable t;
        t.LoadPacket(dm->QueryTafByComune(QStringLiteral("ROMA")));
        for (const char *f : {"Comune", "Sezione", "Foglio", "PF", "Particella", "XCassini", "YCassini",
                              "NordGauss", "EstGauss", "Quota", "Immagini", "Attendibilita_P",
                              "Attendibilita_A", "Rif_Planim", "Rif_Altim", "Annotazioni", "Origine_CS",
                              "Fuso", "FG_ORIG", "PF_ORIG", "ULTIMA_VARIAZIONE", "CAUSALE", "XqYq", "Provincia"})
            t.fieldByName(QLatin1String(f));
        QCOMPARE(t.fieldCount(), 24);
        QCOMPARE(t.textAt(0, t.fieldByName(QStringLiteral("XCassini"))), QStringLiteral("-2210.5"));
        QVERIFY(t.isNullAt(0, t.fieldByName(QStringLiteral("XqYq"))));
    }

    void lists()
    {
        QCOMPARE(dm->QueryPFOfComuneFoglio(QStringLiteral("ROMA"), QStringLiteral("0120")),
                 QStringLiteral("01,02,03"));
        QVERIFY(dm->QueryFogliOfComune(QStringLiteral("ROMA")).split(QLatin1Char(',')).contains(u"A34A"_qs));
        QVERIFY(!dm->QueryReliabilitiesOfComune(QStringLiteral("ROMA")).isEmpty());
        QVERIFY(!dm->QueryTafUpdateDate().isEmpty());
    }

    void accountChecks()
    {
        QVERIFY(dm->QueryUserCheck(dm->ServiceUser, dm->ServicePassword, QStringLiteral("1.0"))
                    .startsWith(QLatin1String("OK")));
        QVERIFY(dm->QueryUserCheck(dm->ServiceUser, QStringLiteral("sbagliata"), QStringLiteral("1.0"))
                    .startsWith(QLatin1String("KO")));
        QCOMPARE(dm->QueryUpdateCheck(dm->ServiceUser, dm->ServicePassword, QStringLiteral("99.0")).address,
                 QString());
    }

    void aRefusedUserGetsNoRows()
    {
        dm->ServicePassword = QStringLiteral("sbagliata");
        QCOMPARE(column(dm->QueryTafByComune(QStringLiteral("ROMA")), "PF"), QStringList());
    }

    void uploadThenDownload()
    {
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("schizzo.png"));
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::white);
        QVERIFY(image.save(png));
        const QString answer = dm->UploadImages(dm->ServiceUser, QStringLiteral("H501"), QString(),
                                                QStringLiteral("0120"), QStringLiteral("03"),
                                                {QString(), QString(), png, QString()});
        QCOMPARE(answer, QString());

        const auto got = dm->DownloadImages(QStringLiteral("H501"), QString(), QStringLiteral("0120"),
                                            QStringLiteral("03"));
        QCOMPARE(got.status, QStringLiteral("OK"));
        QVERIFY(!got.localNames[2].isEmpty());
        QVERIFY(!QImage(got.localNames[2]).isNull());

        const QString refused = dm->UploadImages(dm->ServiceUser, QStringLiteral("H501"), QString(),
                                                 QStringLiteral("0999"), QStringLiteral("01"),
                                                 {png, QString(), QString(), QString()});
        QVERIFY(!refused.isEmpty());
    }

    void printedCardsReport()
    {
        dm->SendPrintedCards(QStringLiteral("01/0120/H501,02/0120/H501"));
    }

    void commandLineQueries_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QStringList user{"--user", QString::fromUtf8(TafServerProcess::kUser), "--password",
                               QString::fromUtf8(TafServerProcess::kPassword)};
        QTest::newRow("csv") << user + QStringList{"QueryTafByPFFoglio", "ROMA", "02", "0120", "--format", "csv"}
                             << 0 << "H501,,0120,02," << "";
        QTest::newRow("list") << user + QStringList{"QueryPFOfComuneFoglio", "ROMA", "0120"} << 0
                              << "01\n02\n03\n" << "";
        QTest::newRow("unknown operation") << QStringList{"QueryNulla"} << 2 << ""
                                           << "operazione sconosciuta";
        QTest::newRow("missing argument") << user + QStringList{"QueryTafByComune"} << 2 << ""
                                          << "vuole 1 argomenti";
        QTest::newRow("service down") << QStringList{"--service-base", "http://127.0.0.1:1/",
                                                     "QueryComuneName", "H501"}
                                      << 1 << "" << "Interrogazione fallita";
    }
    void commandLineQueries()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TAVIX_SERVICE_BASE"), server.baseUrl());
        cli.setProcessEnvironment(env);
        const QStringList base = arguments.startsWith(u"--service-base"_qs)
                                     ? arguments.mid(0, 2) + QStringList{"query"} + arguments.mid(2)
                                     : QStringList{"query"} + arguments;
        cli.start(QStringLiteral(TAVIX_CLI), base);
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), exitCode);
        QVERIFY2(QString::fromUtf8(cli.readAllStandardOutput()).contains(out), qPrintable(out));
        QVERIFY(QString::fromUtf8(cli.readAllStandardError()).contains(err));
    }

    void serviceDownShowsTheBoxOnce()
    {
        RecordingNotifier rec;
        server.stop();
        QVERIFY_THROWS_EXCEPTION(Error, dm->QueryTafByComune(QStringLiteral("ROMA")));
        QCOMPARE(rec.messages, QStringList{QStringLiteral("Errore|Interrogazione fallita")});
        QVERIFY(!dm->ClientDataSet1.isActive());
    }
};

QTEST_GUILESS_MAIN(TestCatalogueE2E)
#include "tst_catalogue_e2e.moc"
