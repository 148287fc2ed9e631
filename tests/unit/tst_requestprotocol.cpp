#include "service/Cp1252.h"
#include "service/Error.h"
#include "service/HttpTransport.h"
#include "service/ImageKind.h"
#include "service/MultipartForm.h"
#include "service/QueryAddress.h"
#include "service/RegionFile.h"
#include "service/TempFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace tavix;

class TestRequestProtocol : public QObject
{
    Q_OBJECT
private slots:
    void composedAddressKeepsPairOrderAndEmptyValues()
    {
        QueryAddress a(QStringLiteral("http://h/q.php"), QStringLiteral("TAF_Per_Fogli_CComuni"));
        a.add(QStringLiteral("user"), {})
            .add(QStringLiteral("pwd"), {})
            .add(QStringLiteral("filename"), {})
            .add(QStringLiteral("lfogli"), QStringLiteral("0120;0340"));
        QCOMPARE(a.text(), QStringLiteral("http://h/q.php?tipoquery=TAF_Per_Fogli_CComuni"
                                          "&user=&pwd=&filename=&lfogli=0120;0340"));
        QCOMPARE(a.url().toEncoded(),
                 QByteArray("http://h/q.php?tipoquery=TAF_Per_Fogli_CComuni"
                            "&user=&pwd=&filename=&lfogli=0120%3B0340"));
    }

    void valuesTravelPercentEncoded_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("apostrophes") << QStringLiteral("NomeComune='SANT''ANGELO'")
                                     << QByteArray("NomeComune%3D%27SANT%27%27ANGELO%27");
        QTest::newRow("delimiters") << QStringLiteral("a&b#c+d%e f")
                                    << QByteArray("a%26b%23c%2Bd%25e%20f");
        QTest::newRow("accents cp1252") << QStringLiteral("FORLÌ €") << QByteArray("FORL%CC%20%80");
        QTest::newRow("unreserved kept") << QStringLiteral("a.b-c_d~9") << QByteArray("a.b-c_d~9");
        QTest::newRow("e-mail") << QStringLiteral("geo@studio.it") << QByteArray("geo%40studio.it");
    }
    void valuesTravelPercentEncoded()
    {
        QFETCH(QString, value);
        QFETCH(QByteArray, wire);
        QCOMPARE(encodeQueryValue(value), wire);
        QueryAddress a(QStringLiteral("http://h/q.php"), QStringLiteral("x"));
        a.add(QStringLiteral("k"), value);
        QVERIFY(a.url().toEncoded().endsWith("&k=" + wire));
    }

    void lookupConditions()
    {
        QCOMPARE(NomeComuneCondition(QStringLiteral("SANT'ANGELO")),
                 QStringLiteral("NomeComune='SANT''ANGELO'"));
        QCOMPARE(NomeComuneCondition(QStringLiteral("ROMA")), QStringLiteral("NomeComune='ROMA'"));
        QCOMPARE(CodiceFiscaleCondition(QStringLiteral("H501")),
                 QStringLiteral("CodiceFiscale='H501'"));
    }

    void regionFiles_data()
    {
        QTest::addColumn<QString>("region");
        QTest::addColumn<QString>("file");
        QTest::newRow("exact") << "LAZIO" << "./taf/taf_lazio.csv";
        QTest::newRow("two words") << "EMILIA ROMAGNA" << "./taf/taf_emiliaromagna.csv";
        QTest::newRow("mixed case") << "Valle d'Aosta" << "./taf/taf_valdaosta.csv";
        QTest::newRow("blanks") << "  veneto " << "./taf/taf_veneto.csv";
        QTest::newRow("unknown") << "PADANIA" << "";
        QTest::newRow("empty") << "" << "";
    }
    void regionFiles()
    {
        QFETCH(QString, region);
        QFETCH(QString, file);
        QCOMPARE(RegionFile(region), file);
    }

    void imageLocalNames_data()
    {
        QTest::addColumn<QString>("remote");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("local");
        QTest::newRow("map extract jpg") << "img/A1/emp.jpg" << 2 << "j1p2g3c";
        QTest::newRow("aux jpg differs") << "img/A1/aus.jpg" << 3 << "j1p2g3d";
        QTest::newRow("monograph png") << "x.png" << 0 << "p1n2g3a";
        QTest::newRow("photo tif") << "x.tif" << 1 << "t1i2f3b";
        QTest::newRow("separators") << "a/b\\" << 0 << "_1b2_3a";
        QTest::newRow("short") << "ab" << 0 << "a1b23a";
    }
    void imageLocalNames()
    {
        QFETCH(QString, remote);
        QFETCH(int, kind);
        QFETCH(QString, local);
        QCOMPARE(ImageLocalName(QStringLiteral("/t/"), remote, static_cast<ImageKind>(kind)),
                 QStringLiteral("/t/") + local);
    }

    void base64Lines_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<QList<int>>("lineLengths"); // chars before each CR, then the rest
        QTest::newRow("48 bytes: one full group and its CR") << 48 << QList<int>{64, 0};
        QTest::newRow("49 bytes") << 49 << QList<int>{64, 4};
        QTest::newRow("96 bytes") << 96 << QList<int>{64, 64, 0};
        QTest::newRow("empty") << 0 << QList<int>{0};
    }
    void base64Lines()
    {
        QFETCH(int, bytes);
        QFETCH(QList<int>, lineLengths);
        QByteArray data(bytes, '\0');
        for (int i = 0; i < bytes; ++i)
            data[i] = char(i * 7);
        const QByteArray text = MultipartForm::base64Lines(data);
        QVERIFY(!text.contains('\n'));
        QList<int> lengths;
        for (const QByteArray &part : text.split('\r'))
            lengths << int(part.size());
        QCOMPARE(lengths, lineLengths);
        QCOMPARE(QByteArray::fromBase64(QByteArray(text).replace('\r', "")), data);
    }

    void multipartBodyFollowsTheFormRules()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("img.png"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(48, 'x'));
        f.close();

        MultipartForm form;
        form.addText(QStringLiteral("user"), QStringLiteral("first"));
        form.addText(QStringLiteral("comune"), QStringLiteral("SANT'ELPIDIO À"));
        form.addFile(QStringLiteral("file_emp"), path);
        form.addText(QStringLiteral("user"), QStringLiteral("geo@studio.it"));
        QCOMPARE(form.names(), (QStringList{"user", "comune", "file_emp"}));

        const QByteArray body = form.body("BND");
        const QByteArray expected =
            "--BND\r\nContent-Disposition: form-data; name=\"user\"\r\n\r\ngeo@studio.it\r\n"
            "--BND\r\nContent-Disposition: form-data; name=\"comune\"\r\n\r\nSANT'ELPIDIO \xC0\r\n"
            "--BND\r\nContent-Disposition: form-data; name=\"file_emp\"\r\n\r\n" +
            QByteArray(48, 'x').toBase64() + "\r\r\n--BND--\r\n";
        QCOMPARE(body, expected);
        QVERIFY(!body.contains("filename="));
        QVERIFY(!body.contains("Content-Type"));
    }

    void unreadableFileIsAnError()
    {
        MultipartForm form;
        form.addFile(QStringLiteral("file_planim"), QStringLiteral("/nonexistent/x.png"));
        QVERIFY_THROWS_EXCEPTION(Error, form.body("B"));
    }

    void answerTextIsJoinedAndTrimmed_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QByteArray("\r\n  \t\n") << QByteArray() << QString();
        QTest::newRow("lines") << QByteArray(" riga 1\nriga 2\r\n\x01") << QByteArray()
                               << QStringLiteral("riga 1\r\nriga 2");
        QTest::newRow("cp1252") << QByteArray("citt\xE0") << QByteArray("text/plain")
                                << QStringLiteral("città");
        QTest::newRow("utf-8") << QByteArray("citt\xC3\xA0") << QByteArray("text/plain; charset=UTF-8")
                               << QStringLiteral("città");
    }
    void answerTextIsJoinedAndTrimmed()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, contentType);
        QFETCH(QString, text);
        QCOMPARE(HttpTransport::answerText(body, contentType), text);
    }

    void cp1252RoundTrip()
    {
        const QString all = QStringLiteral("àèéìòù €‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
        QCOMPARE(fromCp1252(toCp1252(all)), all);
        QCOMPARE(toCp1252(QStringLiteral("Ω")), QByteArray("?"));
        QByteArray everyByte;
        for (int b = 1; b < 256; ++b)
            everyByte += char(b);
        QCOMPARE(toCp1252(fromCp1252(everyByte)), everyByte);
    }

    void tempFolderIsPrivateAndStable()
    {
        const QString folder = TempFolder();
        QVERIFY(folder.endsWith(QLatin1Char('/')));
        QCOMPARE(TempFolder(), folder);
        QFileInfo info(folder);
        QVERIFY(info.isDir());
        QCOMPARE(info.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                       QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
                 QFile::Permissions());
        QVERIFY(QDir(folder).dirName().startsWith(QLatin1String("tavix-")));
        QVERIFY(folder != QDir::tempPath() + QLatin1Char('/'));
    }
};

QTEST_GUILESS_MAIN(TestRequestProtocol)
#include "tst_requestprotocol.moc"
