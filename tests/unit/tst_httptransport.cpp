#include "LoopbackHttpServer.h"

#include "service/Error.h"
#include "service/HttpTransport.h"
#include "service/MultipartForm.h"
#include "service/QueryAddress.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace tavix;
using Resp = LoopbackHttpServer::Response;

namespace {

HttpTransport::Timeouts shortTimeouts()
{
    HttpTransport::Timeouts t;
    t.idleMs = 300;
    t.totalMs = 2000;
    t.postMs = 300;
    return t;
}

QUrl closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/q.php").arg(port));
}

} // namespace

class TestHttpTransport : public QObject
{
    Q_OBJECT
private slots:
    void getReachesTheServerAsComposed()
    {
        LoopbackHttpServer server([](const auto &) { return Resp{200, "<DATAPACKET/>"}; });
        QueryAddress a(server.url(QStringLiteral("comuni.php")).toString(),
                       QStringLiteral("codice_per_ncomune"));
        a.add(QStringLiteral("condizione"), NomeComuneCondition(QStringLiteral("SANT'ANGELO A & B")));
        HttpTransport http;
        QCOMPARE(http.get(a.url()), QByteArray("<DATAPACKET/>"));
        QCOMPARE(server.requests.size(), 1);
        QCOMPARE(server.requests[0].target,
                 QByteArray("/comuni.php?tipoquery=codice_per_ncomune&condizione="
                            "NomeComune%3D%27SANT%27%27ANGELO%20A%20%26%20B%27"));
    }

    void getFailuresAreErrorsWithinTheirBound_data()
    {
        QTest::addColumn<int>("mode"); // 0 error status, 1 no answer, 2 nobody listening
        QTest::newRow("error status") << 0;
        QTest::newRow("silent server") << 1;
        QTest::newRow("connection refused") << 2;
    }
    void getFailuresAreErrorsWithinTheirBound()
    {
        QFETCH(int, mode);
        LoopbackHttpServer server([mode](const auto &) {
            Resp r{500, "boom"};
            r.silent = mode == 1;
            return r;
        });
        HttpTransport http(shortTimeouts());
        QElapsedTimer clock;
        clock.start();
        QVERIFY_THROWS_EXCEPTION(Error, http.get(mode == 2 ? closedPort() : server.url()));
        QVERIFY(clock.elapsed() < 5000);
    }

    void downloadWritesOnlyWholeBodies()
    {
        LoopbackHttpServer server([](const LoopbackHttpServer::Request &r) {
            return r.target.endsWith("ok.png") ? Resp{200, "PNGDATA", "image/png"}
                                               : Resp{404, "missing"};
        });
        QTemporaryDir dir;
        HttpTransport http(shortTimeouts());
        const QString good = dir.filePath(QStringLiteral("p1n2g3a"));
        QVERIFY(http.download(server.url(QStringLiteral("img/ok.png")), good));
        QFile f(good);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("PNGDATA"));

        const QString bad = dir.filePath(QStringLiteral("p1n2g3b"));
        QVERIFY(!http.download(server.url(QStringLiteral("img/no.png")), bad));
        QVERIFY(!QFile::exists(bad));
    }

    void postSendsTheFormAndTrimsTheAnswer()
    {
        LoopbackHttpServer server([](const auto &) {
            return Resp{200, "\r\n  Immagine non valida \r\n", "text/plain"};
        });
        MultipartForm form;
        form.addText(QStringLiteral("punto"), QStringLiteral("05/0120/H501"));
        HttpTransport http(shortTimeouts());
        QCOMPARE(http.post(server.url(QStringLiteral("stampate.php")), form),
                 QStringLiteral("Immagine non valida"));
        const auto &req = server.requests.value(0);
        QCOMPARE(req.method, QByteArray("POST"));
        QVERIFY(req.headers.contains("multipart/form-data; boundary="));
        QVERIFY(req.body.contains("name=\"punto\"\r\n\r\n05/0120/H501\r\n"));
    }

    void postTimeoutIsTheTimeoutAnswer()
    {
        LoopbackHttpServer server([](const auto &) {
            Resp r;
            r.silent = true;
            return r;
        });
        MultipartForm form;
        form.addText(QStringLiteral("punto"), QStringLiteral("x"));
        HttpTransport http(shortTimeouts());
        QCOMPARE(http.post(server.url(), form),
                 QStringLiteral("[error 100: tiehttp timeout expired]"));
    }

    void postTransportFailureIsAnError()
    {
        MultipartForm form;
        form.addText(QStringLiteral("punto"), QStringLiteral("x"));
        HttpTransport http(shortTimeouts());
        QVERIFY_THROWS_EXCEPTION(Error, http.post(closedPort(), form));
    }
};

QTEST_GUILESS_MAIN(TestHttpTransport)
#include "tst_httptransport.moc"
