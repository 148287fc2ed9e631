#include "LoopbackHttpServer.h"
#include "RecordingNotifier.h"

#include "service/DMTAFQueryPhp.h"
#include "service/Error.h"
#include "service/ServiceConstants.h"

#include <QFile>
#include <QTest>
#include <QUrlQuery>

using namespace tavix;
using Req = LoopbackHttpServer::Request;
using Resp = LoopbackHttpServer::Response;

namespace {

QByteArray packet(const QByteArray &fields, const QByteArray &rows)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>" +
           fields + "</FIELDS></METADATA><ROWDATA>" + rows + "</ROWDATA></DATAPACKET>";
}

QByteArray field(const char *name, const char *type = "string")
{
    return QByteArray("<FIELD attrname=\"") + name + "\" fieldtype=\"" + type + "\" WIDTH=\"50\"/>";
}

const QByteArray kLookupRoma =
    packet(field("Regione") + field("CodiceFiscale"), "<ROW Regione=\"LAZIO\" CodiceFiscale=\"H501\"/>");

QString param(const Req &r, const char *key)
{
    const QUrl url = QUrl::fromEncoded("http://x" + r.target);
    return QUrlQuery(url).queryItemValue(QLatin1String(key), QUrl::FullyDecoded);
}

// The query string as sent, after the page name.
QByteArray queryOf(const Req &r)
{
    return r.target.mid(r.target.indexOf('?') + 1);
}

} // namespace

class TestQueryCatalogue : public QObject
{
    Q_OBJECT

    std::function<Resp(const Req &)> answer;
    std::unique_ptr<LoopbackHttpServer> server;
    std::unique_ptr<TDM_Data> dm;

private slots:
    void init()
    {
        answer = [](const Req &r) {
            if (param(r, "tipoquery") == QLatin1String("codice_per_ncomune"))
                return Resp{200, kLookupRoma};
            return Resp{200, packet(field("Foglio"), "<ROW Foglio=\"0120\"/><ROW Foglio=\"0340\"/>"
                                                     "<ROW Foglio=\"0340\"/>")};
        };
        server = std::make_unique<LoopbackHttpServer>([this](const Req &r) { return answer(r); });
        setServiceBaseOverride(server->url().toString());
        HttpTransport::Timeouts t;
        t.idleMs = 500;
        t.totalMs = 3000;
        t.postMs = 1000;
        dm = std::make_unique<TDM_Data>(t);
        dm->ServiceUser = QStringLiteral("geo@studio.it");
        dm->ServicePassword = QStringLiteral("p&w d");
    }

    void perComuneQueriesLookUpThenSendPairsInOrder_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray cred = "user=geo%40studio.it&pwd=p%26w%20d";
        const QByteArray file = "filename=.%2Ftaf%2Ftaf_lazio.csv";
        QTest::newRow("whole comune") << 0 << "tipoquery=Taf_Per_NComune&comune=H501&" + cred + "&" + file;
        QTest::newRow("pf/foglio") << 1
            << "tipoquery=TAF_Per_PFFoglio&comune=H501&pf=05&" + cred + "&foglio=0120&" + file;
        QTest::newRow("sheet interval") << 2
            << "tipoquery=TAF_Per_IntervalloFogli&comune=H501&dafoglio=0010&afoglio=0020&" + cred + "&" + file;
        QTest::newRow("reliability") << 3
            << "tipoquery=TAF_Per_Int_Attendibilita&comune=H501&davalore=10&avalore=50&" + cred + "&" + file;
        QTest::newRow("sheets of comune") << 4
            << "tipoquery=Fogli_PerNComune&" + cred + "&comune=H501&" + file;
        QTest::newRow("pf of sheet") << 5
            << "tipoquery=PF_PerNComuneEFoglio&comune=H501&" + cred + "&foglio=0120&" + file;
    }
    void perComuneQueriesLookUpThenSendPairsInOrder()
    {
        QFETCH(int, op);
        QFETCH(QByteArray, expected);
        answer = [](const Req &r) {
            if (param(r, "tipoquery") == QLatin1String("codice_per_ncomune"))
                return Resp{200, kLookupRoma};
            return Resp{200, packet(field("Foglio") + field("PF"), "<ROW Foglio=\"0120\" PF=\"05\"/>")};
        };
        const QString roma = QStringLiteral("ROMA");
        switch (op) {
        case 0: dm->QueryTafByComune(roma); break;
        case 1: dm->QueryTafByPFFoglio(roma, QStringLiteral("05"), QStringLiteral("0120")); break;
        case 2: dm->QueryTafByFogliInterval(roma, QStringLiteral("0010"), QStringLiteral("0020")); break;
        case 3: dm->QueryTafByReliabilityInterval(roma, QStringLiteral("10"), QStringLiteral("50")); break;
        case 4: dm->QueryFogliOfComune(roma); break;
        case 5: dm->QueryPFOfComuneFoglio(roma, QStringLiteral("0120")); break;
        }
        QCOMPARE(server->requests.size(), 2);
        QCOMPARE(server->requests[0].target,
                 "/" + comuniPage().toUtf8() +
                     "?tipoquery=codice_per_ncomune&condizione=NomeComune%3D%27ROMA%27");
        QCOMPARE(queryOf(server->requests[1]), expected);
        QVERIFY(server->requests[1].target.startsWith("/" + queryPage().toUtf8() + "?"));
    }

    void commaListsKeepOrderAndDuplicates()
    {
        QCOMPARE(dm->QueryFogliOfComune(QStringLiteral("ROMA")), QStringLiteral("0120,0340,0340"));
    }

    void listQueriesTakeItemsApartByPosition()
    {
        answer = [](const Req &) { return Resp{200, packet(field("PF"), "")}; };
        dm->QueryTafByFogliList(QStringLiteral("0120/A123,0340/B2345"));
        QCOMPARE(queryOf(server->requests.value(0)),
                 QByteArray("tipoquery=TAF_Per_Fogli_CComuni&user=geo%40studio.it&pwd=p%26w%20d"
                            "&filename=&lfogli=0120%3B0340&lcomuni=A123%3BB2345"));
        dm->QueryTafByPFList(QStringLiteral("5/0120/A123,12/0340/B2345"));
        QCOMPARE(queryOf(server->requests.value(1)),
                 QByteArray("tipoquery=TAF_Per_PF_Fogli_CComuni&user=geo%40studio.it&pwd=p%26w%20d"
                            "&filename=&lpf=05%3B12&lfogli=0120%3B0340&lcomuni=A123%3BB2345"));
    }

    void emptyListsSendNothing()
    {
        QCOMPARE(dm->QueryTafByFogliList(QString()), QByteArray());
        QCOMPARE(dm->QueryTafByPFList(QString()), QByteArray());
        QVERIFY(server->requests.isEmpty());
    }

    void unknownRegionSendsEmptyFilenameAndApostrophesAreDoubled()
    {
        answer = [](const Req &r) {
            if (param(r, "tipoquery") == QLatin1String("codice_per_ncomune"))
                return Resp{200, packet(field("Regione") + field("CodiceFiscale"),
                                        "<ROW Regione=\"Val d'Aosta\" CodiceFiscale=\"I331\"/>")};
            return Resp{200, packet(field("PF"), "")};
        };
        dm->QueryTafByComune(QStringLiteral("SAINT-PIERRE D'AOSTA"));
        QCOMPARE(param(server->requests[0], "condizione"),
                 QStringLiteral("NomeComune='SAINT-PIERRE D''AOSTA'"));
        QCOMPARE(param(server->requests[1], "filename"), QString());
        QVERIFY(queryOf(server->requests[1]).endsWith("&filename="));
    }

    void singleValuesAndNoRow()
    {
        answer = [](const Req &r) {
            const QString q = param(r, "tipoquery");
            if (q == QLatin1String("controlla_user"))
                return Resp{200, packet(field("messaggio"), "<ROW messaggio=\"ok Benvenuto\"/>")};
            if (q == QLatin1String("controlla_aggiornamenti"))
                return Resp{200, packet(field("percorsoremoto") + field("fileremoto"),
                                        "<ROW percorsoremoto=\"rel/\" fileremoto=\"Setup.exe\"/>")};
            return Resp{200, packet(field("NomeComune") + field("data_taf"), "")};
        };
        QCOMPARE(dm->QueryUserCheck(QStringLiteral("u"), QStringLiteral("p"), QStringLiteral("1.0")),
                 QStringLiteral("ok Benvenuto"));
        QCOMPARE(queryOf(server->requests.last()),
                 QByteArray("tipoquery=controlla_user&user=u&pwd=p&versione=1.0"));
        const auto update = dm->QueryUpdateCheck(QStringLiteral("u"), QStringLiteral("p"), QStringLiteral("1.0"));
        QCOMPARE(update.address, QStringLiteral("rel/Setup.exe"));
        QCOMPARE(update.fileName, QStringLiteral("Setup.exe"));
        QCOMPARE(queryOf(server->requests.last()),
                 QByteArray("tipoquery=controlla_aggiornamenti&versione=1.0&user=u&pwd=p"));
        QCOMPARE(dm->QueryComuneName(QStringLiteral("Z999")), QString());
        QCOMPARE(dm->QueryTafUpdateDate(), QString());
    }

    void failedLoadShowsTheBoxOnceThenErrorOrEmptyText()
    {
        RecordingNotifier rec;
        answer = [](const Req &r) {
            if (param(r, "tipoquery") == QLatin1String("codice_per_ncomune"))
                return Resp{200, kLookupRoma};
            return Resp{200, "this is not xml"};
        };
        QCOMPARE(dm->QueryTafByPFFoglio(QStringLiteral("ROMA"), QStringLiteral("05"), QStringLiteral("0120")),
                 QByteArray());
        QCOMPARE(rec.messages, QStringList{QStringLiteral("Errore|Interrogazione fallita")});
        QVERIFY(!dm->ClientDataSet1.isActive());

        rec.messages.clear();
        QVERIFY_THROWS_EXCEPTION(Error, dm->QueryTafByComune(QStringLiteral("ROMA")));
        QCOMPARE(rec.messages.size(), 1);
    }

    void unreachableServerFailsTheLookupFirst()
    {
        RecordingNotifier rec;
        setServiceBaseOverride(QStringLiteral("http://127.0.0.1:1/"));
        QVERIFY_THROWS_EXCEPTION(Error, dm->QueryTafByComune(QStringLiteral("ROMA")));
        QCOMPARE(rec.messages.size(), 1);
        QVERIFY(!dm->ClientDataSet1.isActive());
    }

    void xmlThatIsNotAPacketIsTheCallersError()
    {
        RecordingNotifier rec;
        answer = [](const Req &) { return Resp{200, "<html><body>404</body></html>"}; };
        QVERIFY_THROWS_EXCEPTION(Error, dm->QueryComuneName(QStringLiteral("H501")));
        QVERIFY(rec.messages.isEmpty());
    }

    void imagesAreDownloadedUnderTheirLocalNames()
    {
        answer = [](const Req &r) {
            if (r.target.contains("download_img"))
                return Resp{200, packet(field("monografia_planim") + field("monografia_altim") +
                                            field("emp") + field("info_ausiliarie"),
                                        "<ROW monografia_planim=\"img/a.png\" monografia_altim=\"\""
                                        " emp=\"img/e.jpg\" info_ausiliarie=\"img/i.jpg\"/>")};
            return Resp{200, "IMG:" + r.target, "image/png"};
        };
        const auto got = dm->DownloadImages(QStringLiteral("H501"), QString(), QStringLiteral("0120"),
                                            QStringLiteral("05"));
        QCOMPARE(got.status, QStringLiteral("OK"));
        QVERIFY(got.localNames[0].endsWith(QLatin1String("p1n2g3a")));
        QCOMPARE(got.localNames[1], QString());
        QVERIFY(got.localNames[2].endsWith(QLatin1String("j1p2g3c")));
        QVERIFY(got.localNames[3].endsWith(QLatin1String("j1p2g3d")));
        QFile e(got.localNames[2]);
        QVERIFY(e.open(QIODevice::ReadOnly));
        QCOMPARE(e.readAll(), QByteArray("IMG:/img/e.jpg"));
        QCOMPARE(queryOf(server->requests[0]),
                 QByteArray("tipoquery=download_img&user=geo%40studio.it&pwd=p%26w%20d&comune=H501"
                            "&sezione=&foglio=0120&pf=05"));
    }

    void uploadSendsEmptyFieldsFirstThenFiles()
    {
        answer = [](const Req &) { return Resp{200, "\r\n", "text/plain"}; };
        const QString file = QStringLiteral(TAVIX_FIXTURES_DIR "/upload48.bin");
        QCOMPARE(dm->UploadImages(QStringLiteral("geo@studio.it"), QStringLiteral("H501"), QString(),
                                  QStringLiteral("0120"), QStringLiteral("05"),
                                  {QString(), QString(), file, QString()}),
                 QString());
        const QByteArray body = server->requests.value(0).body;
        QStringList names;
        for (const QByteArray &part : body.split('\n')) {
            if (part.startsWith("Content-Disposition"))
                names << QString::fromLatin1(part.mid(part.indexOf("name=") + 6).chopped(2));
        }
        QCOMPARE(names, (QStringList{"user", "comune", "sezione", "foglio", "pf", "file_planim",
                                     "file_altim", "file_infoaus", "file_emp"}));
        QVERIFY(!body.contains("pwd"));
    }

    void printedCardsGoOneRequestPerEntry()
    {
        answer = [](const Req &) { return Resp{200, "OK", "text/plain"}; };
        dm->SendPrintedCards(QStringLiteral("05/0120/H501,\"07/0340/A 12\""));
        QCOMPARE(server->requests.size(), 2);
        QVERIFY(server->requests[0].body.contains("name=\"punto\"\r\n\r\n05/0120/H501\r\n"));
        QVERIFY(server->requests[1].body.contains("\r\n\r\n07/0340/A 12\r\n"));
        QVERIFY(server->requests[1].target.endsWith(printedCardsPage().toUtf8()));
    }
};

QTEST_GUILESS_MAIN(TestQueryCatalogue)
#include "tst_querycatalogue.moc"
