// The archive service end to end: a tafserver on loopback with the fixture archive, asked the
// way the client asks (Windows-1252 percent-encoded values, multipart with Base64 text fields).

#include "TafServerProcess.h"

#include <QBuffer>
#include <QImage>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <httplib.h>
#include <pugixml.hpp>
#include <sqlite3.h>

#include <map>
#include <memory>
#include <vector>

namespace {

using Pairs = QList<std::pair<QString, QString>>;

struct Packet
{
    bool valid = false;
    std::vector<std::pair<std::string, std::string>> fields; // name, type
    std::vector<std::map<std::string, std::string>> rows;

    QString value(std::size_t row, const char *field) const
    {
        if (row >= rows.size())
            return QStringLiteral("<no row>");
        const auto it = rows[row].find(field);
        return it == rows[row].end() ? QString() : QString::fromStdString(it->second);
    }
    QString column(const char *field) const
    {
        QStringList values;
        for (std::size_t i = 0; i < rows.size(); ++i)
            values << value(i, field);
        return values.join(QLatin1Char(','));
    }
};

Packet parsePacket(const std::string &text)
{
    Packet packet;
    pugi::xml_document doc;
    if (!doc.load_string(text.c_str()))
        return packet;
    const pugi::xml_node root = doc.child("DATAPACKET");
    packet.valid = root && root.child("METADATA") && root.child("ROWDATA");
    for (const pugi::xml_node f : root.child("METADATA").child("FIELDS").children("FIELD"))
        packet.fields.emplace_back(f.attribute("attrname").value(),
                                   f.attribute("fieldtype").value());
    for (const pugi::xml_node r : root.child("ROWDATA").children("ROW")) {
        std::map<std::string, std::string> row;
        for (const pugi::xml_attribute a : r.attributes())
            row[a.name()] = a.value();
        packet.rows.push_back(row);
    }
    return packet;
}

// The client's wire form: each value as Windows-1252 bytes, unreserved characters kept.
std::string address(const char *page, const Pairs &pairs)
{
    QByteArray out = QByteArray("/") + page;
    char separator = '?';
    for (const auto &[key, value] : pairs) {
        out += separator + key.toLatin1() + '=' + value.toLatin1().toPercentEncoding();
        separator = '&';
    }
    return out.toStdString();
}

Pairs withUser(Pairs pairs, const QString &user = QString::fromUtf8(TafServerProcess::kUser),
               const QString &pwd = QString::fromUtf8(TafServerProcess::kPassword))
{
    pairs.prepend({QStringLiteral("pwd"), pwd});
    pairs.prepend({QStringLiteral("user"), user});
    return pairs;
}

QByteArray base64WithBreaks(const QByteArray &bytes)
{
    const QByteArray text = bytes.toBase64();
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); i += 64)
        out += text.mid(i, 64) + '\r';
    return out;
}

QByteArray pngImage(QColor colour)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A multipart body by the client's form rules: no file names, no part content types.
std::string multipart(const QList<std::pair<QByteArray, QByteArray>> &fields, const char *boundary)
{
    QByteArray body;
    for (const auto &[name, value] : fields)
        body += QByteArray("--") + boundary + "\r\nContent-Disposition: form-data; name=\"" + name +
                "\"\r\n\r\n" + value + "\r\n";
    body += QByteArray("--") + boundary + "--\r\n";
    return body.toStdString();
}

// First column of the first row, as text.
QString scalar(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *q = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &q, nullptr) != SQLITE_OK)
        return QStringLiteral("<%1>").arg(QString::fromUtf8(sqlite3_errmsg(db)));
    QString value;
    if (sqlite3_step(q) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(q, 0)));
    sqlite3_finalize(q);
    return value;
}

QList<std::pair<QByteArray, QByteArray>> uploadFields(const QByteArray &user, const QByteArray &pf,
                                                      const QByteArray &kindField,
                                                      const QByteArray &file)
{
    QList<std::pair<QByteArray, QByteArray>> fields = {
        {"user", user}, {"comune", "H501"}, {"sezione", ""}, {"foglio", "0120"}, {"pf", pf}};
    for (const QByteArray name : {"file_planim", "file_altim", "file_emp", "file_infoaus"})
        if (name != kindField)
            fields.append({name, QByteArray()});
    fields.append({kindField, file});
    return fields;
}

} // namespace

class TestTafServer : public QObject
{
    Q_OBJECT

    TafServerProcess m_server;
    std::unique_ptr<httplib::Client> m_http;

    Packet get(const char *page, const Pairs &pairs, int *status = nullptr)
    {
        const auto res = m_http->Get(address(page, pairs).c_str());
        if (status)
            *status = res ? res->status : -1;
        return res ? parsePacket(res->body) : Packet{};
    }

    std::pair<int, std::string> post(const char *page, const std::string &body)
    {
        const auto res = m_http->Post(page, body, "multipart/form-data; boundary=tavixconfine");
        return res ? std::pair{res->status, res->body} : std::pair{-1, std::string()};
    }

    Packet images(const char *pf)
    {
        return get("query.php",
                   withUser({{QStringLiteral("tipoquery"), QStringLiteral("download_img")},
                             {QStringLiteral("comune"), QStringLiteral("H501")},
                             {QStringLiteral("sezione"), QString()},
                             {QStringLiteral("foglio"), QStringLiteral("0120")},
                             {QStringLiteral("pf"), QString::fromLatin1(pf)}}));
    }

    Packet wholeRoma()
    {
        return get("query.php",
                   withUser({{QStringLiteral("tipoquery"), QStringLiteral("Taf_Per_NComune")},
                             {QStringLiteral("comune"), QStringLiteral("H501")},
                             {QStringLiteral("filename"), QString()}}));
    }

private slots:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_server.start(&error), qPrintable(error));
        m_http = std::make_unique<httplib::Client>("127.0.0.1", m_server.port());
        m_http->set_url_encode(false);
        m_http->set_connection_timeout(5);
        m_http->set_read_timeout(10);
    }

    void lookups_data()
    {
        QTest::addColumn<QString>("tipoquery");
        QTest::addColumn<QString>("condizione");
        QTest::addColumn<QString>("first"); // the answer's two fields of the first row, or empty
        const QString byName = QStringLiteral("codice_per_ncomune");
        const QString byCode = QStringLiteral("ncomune_per_codice");
        QTest::newRow("name") << byName << "NomeComune='ROMA'"
                              << "H501 LAZIO";
        QTest::newRow("doubled apostrophe") << byName << "NomeComune='L''AQUILA'"
                                            << "A345 ABRUZZO";
        QTest::newRow("apostrophe at the end") << byName << "NomeComune='CANTU'''"
                                               << "B639 LOMBARDIA";
        QTest::newRow("section") << byName << "NomeComune='VALSAMOGGIA SEZ. A BAZZANO'"
                                 << "M320A EMILIA ROMAGNA";
        QTest::newRow("region with apostrophe") << byName << "NomeComune='AOSTA'"
                                                << "A326 VALLE D'AOSTA";
        QTest::newRow("code") << byCode << "CodiceFiscale='A326'"
                              << "AOSTA AOSTA";
        QTest::newRow("section code") << byCode << "CodiceFiscale='M320B'"
                                      << "VALSAMOGGIA SEZ. B CASTELLO DI SERRAVALLE BOLOGNA";
        QTest::newRow("unknown name") << byName << "NomeComune='ATLANTIDE'"
                                      << "";
        QTest::newRow("accented byte") << byName << QStringLiteral("NomeComune='CITTÀ'") << "";
        QTest::newRow("injection OR") << byName << "NomeComune='ROMA' OR '1'='1'"
                                      << "";
        QTest::newRow("injection statement") << byName << "NomeComune='ROMA';DROP TABLE comuni;--"
                                             << "";
        QTest::newRow("single apostrophe") << byName << "NomeComune='L'AQUILA'"
                                           << "";
        QTest::newRow("other column") << byName << "Provincia='ROMA'"
                                      << "";
        QTest::newRow("unquoted") << byName << "NomeComune=ROMA"
                                  << "";
        QTest::newRow("unterminated") << byName << "NomeComune='ROMA"
                                      << "";
        QTest::newRow("empty") << byName << ""
                               << "";
        QTest::newRow("still there after the attempts") << byCode << "CodiceFiscale='H501'"
                                                        << "ROMA ROMA";
    }

    void lookups()
    {
        QFETCH(QString, tipoquery);
        QFETCH(QString, condizione);
        QFETCH(QString, first);
        int status = 0;
        const Packet p = get(
            "comuni.php",
            {{QStringLiteral("tipoquery"), tipoquery}, {QStringLiteral("condizione"), condizione}},
            &status);
        QCOMPARE(status, 200);
        QVERIFY(p.valid);
        QCOMPARE(p.fields.size(), std::size_t(2));
        const bool byName = tipoquery == QLatin1String("codice_per_ncomune");
        const char *a = byName ? "CodiceFiscale" : "NomeComune";
        const char *b = byName ? "Regione" : "Provincia";
        QCOMPARE(p.fields[0].first, std::string(a));
        QCOMPARE(p.fields[1].first, std::string(b));
        if (first.isEmpty())
            QCOMPARE(p.rows.size(), std::size_t(0));
        else
            QCOMPARE(p.value(0, a) + QLatin1Char(' ') + p.value(0, b), first);
    }

    void tafRecordFields()
    {
        const Packet p =
            get("query.php",
                withUser({{QStringLiteral("tipoquery"), QStringLiteral("Taf_Per_NComune")},
                          {QStringLiteral("comune"), QStringLiteral("H501")},
                          {QStringLiteral("filename"), QStringLiteral("./taf/taf_lazio.csv")}}));
        QVERIFY(p.valid);
        const std::vector<std::pair<std::string, std::string>> expected = {
            {"Comune", "string"},
            {"Sezione", "string"},
            {"Foglio", "string"},
            {"PF", "string"},
            {"Particella", "string"},
            {"XCassini", "r8"},
            {"YCassini", "r8"},
            {"NordGauss", "r8"},
            {"EstGauss", "r8"},
            {"Quota", "r8"},
            {"Immagini", "string"},
            {"Attendibilita_P", "string"},
            {"Attendibilita_A", "string"},
            {"Rif_Planim", "string"},
            {"Rif_Altim", "string"},
            {"Annotazioni", "string"},
            {"Origine_CS", "string"},
            {"Fuso", "string"},
            {"FG_ORIG", "string"},
            {"PF_ORIG", "string"},
            {"ULTIMA_VARIAZIONE", "string"},
            {"CAUSALE", "string"},
            {"XqYq", "r8"},
            {"Provincia", "string"}};
        QCOMPARE(p.fields, expected);
        QCOMPARE(p.rows.size(), std::size_t(4));
        QCOMPARE(p.column("Foglio"), QStringLiteral("0120,0120,0120,A34A"));
        QCOMPARE(p.column("PF"), QStringLiteral("01,02,03,07"));
        // Gauss and Cassini records of one point merged; padded numbers trimmed.
        QCOMPARE(p.value(0, "NordGauss"), QStringLiteral("4640970.125"));
        QCOMPARE(p.value(0, "EstGauss"), QStringLiteral("2311196.5"));
        QCOMPARE(p.value(0, "XCassini"), QStringLiteral("-2210.5"));
        QCOMPARE(p.value(0, "YCassini"), QStringLiteral("-23350.25"));
        QCOMPARE(p.value(0, "Fuso"), QStringLiteral("EST"));
        QCOMPARE(p.value(0, "Quota"), QStringLiteral("21.5"));
        QCOMPARE(p.value(0, "Rif_Planim"), QStringLiteral("SPIGOLO NE FABBRICATO & CORTILE \"A\""));
        QCOMPARE(p.value(0, "ULTIMA_VARIAZIONE"), QStringLiteral("15/03/2009"));
        QCOMPARE(p.value(0, "CAUSALE"), QStringLiteral("2009/0012345"));
        QCOMPARE(p.column("Attendibilita_P"), QStringLiteral("3,5,9,6"));
        QCOMPARE(p.column("Provincia"), QStringLiteral("ROMA,ROMA,ROMA,ROMA"));
        QCOMPARE(p.column("XqYq"), QStringLiteral(",,,"));
        QCOMPARE(p.value(2, "Rif_Altim"), QStringLiteral("PIANO STRADALE DAVANTI AL CAFFÈ"));
        QCOMPARE(p.value(1, "Quota"), QString());     // 9999.000: height not determined
        QCOMPARE(p.value(3, "NordGauss"), QString()); // a PF without Gauss coordinates
        QCOMPARE(p.value(3, "FG_ORIG"), QStringLiteral("0120"));
        QCOMPARE(p.value(3, "PF_ORIG"), QStringLiteral("2"));
    }

    void tafSelections_data()
    {
        QTest::addColumn<Pairs>("pairs");
        QTest::addColumn<QString>("expected"); // Comune/Foglio/PF of every row
        const auto q = [](const char *name) {
            return std::pair{QStringLiteral("tipoquery"), QString::fromLatin1(name)};
        };
        const auto kv = [](const char *k, const char *v) {
            return std::pair{QString::fromLatin1(k), QString::fromLatin1(v)};
        };
        QTest::newRow("comune, empty filename")
            << Pairs{q("Taf_Per_NComune"), kv("comune", "H501"), kv("filename", "")}
            << "H501/0120/01,H501/0120/02,H501/0120/03,H501/A34A/07";
        QTest::newRow("whole comune with sections")
            << Pairs{q("Taf_Per_NComune"), kv("comune", "M320"), kv("filename", "")}
            << "M320A/0030/5,M320B/0030/05";
        QTest::newRow("one section") << Pairs{q("Taf_Per_NComune"), kv("comune", "M320A"),
                                              kv("filename", "./taf/taf_emiliaromagna.csv")}
                                     << "M320A/0030/5";
        QTest::newRow("PF/foglio") << Pairs{q("TAF_Per_PFFoglio"), kv("comune", "H501"),
                                            kv("pf", "2"), kv("foglio", "0120"), kv("filename", "")}
                                   << "H501/0120/02";
        QTest::newRow("PF/foglio two digits, one-digit PF")
            << Pairs{q("TAF_Per_PFFoglio"), kv("comune", "M320A"), kv("pf", "05"),
                     kv("foglio", "0030"), kv("filename", "")}
            << "M320A/0030/5";
        QTest::newRow("PF/foglio empty")
            << Pairs{q("TAF_Per_PFFoglio"), kv("comune", "H501"), kv("pf", ""), kv("foglio", ""),
                     kv("filename", "")}
            << "";
        QTest::newRow("sheet interval")
            << Pairs{q("TAF_Per_IntervalloFogli"), kv("comune", "H501"), kv("dafoglio", "0010"),
                     kv("afoglio", "0500"), kv("filename", "")}
            << "H501/0120/01,H501/0120/02,H501/0120/03";
        QTest::newRow("sheet interval reversed, allegati in")
            << Pairs{q("TAF_Per_IntervalloFogli"), kv("comune", "H501"), kv("dafoglio", "A340"),
                     kv("afoglio", "0120"), kv("filename", "")}
            << "H501/0120/01,H501/0120/02,H501/0120/03,H501/A34A/07";
        QTest::newRow("reliability")
            << Pairs{q("TAF_Per_Int_Attendibilita"), kv("comune", "H501"), kv("davalore", "4"),
                     kv("avalore", "9"), kv("filename", "")}
            << "H501/0120/02,H501/0120/03,H501/A34A/07";
        QTest::newRow("sheet list") << Pairs{q("TAF_Per_Fogli_CComuni"), kv("filename", ""),
                                             kv("lfogli", "A34A;0030"), kv("lcomuni", "H501;M320B")}
                                    << "H501/A34A/07,M320B/0030/05";
        QTest::newRow("PF list") << Pairs{q("TAF_Per_PF_Fogli_CComuni"), kv("filename", ""),
                                          kv("lpf", "01;05;03"), kv("lfogli", "0120;0030;0120"),
                                          kv("lcomuni", "H501;M320A;H501")}
                                 << "H501/0120/01,M320A/0030/5,H501/0120/03";
        QTest::newRow("sheet list of unequal lengths")
            << Pairs{q("TAF_Per_Fogli_CComuni"), kv("filename", ""), kv("lfogli", "0120;0030"),
                     kv("lcomuni", "H501")}
            << "";
    }

    void tafSelections()
    {
        QFETCH(Pairs, pairs);
        QFETCH(QString, expected);
        const Packet p = get("query.php", withUser(pairs));
        QVERIFY(p.valid);
        QCOMPARE(p.fields.size(), std::size_t(24));
        QStringList rows;
        for (std::size_t i = 0; i < p.rows.size(); ++i)
            rows << p.value(i, "Comune") + QLatin1Char('/') + p.value(i, "Foglio") +
                        QLatin1Char('/') + p.value(i, "PF");
        QCOMPARE(rows.join(QLatin1Char(',')), expected);
    }

    void lists_data()
    {
        QTest::addColumn<Pairs>("pairs");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        const auto q = [](const char *name) {
            return std::pair{QStringLiteral("tipoquery"), QString::fromLatin1(name)};
        };
        const auto kv = [](const char *k, const char *v) {
            return std::pair{QString::fromLatin1(k), QString::fromLatin1(v)};
        };
        QTest::newRow("sheets") << Pairs{q("Fogli_PerNComune"), kv("comune", "H501"),
                                         kv("filename", "")}
                                << "Foglio"
                                << "0120,A34A";
        QTest::newRow("sheets of the sections, once")
            << Pairs{q("Fogli_PerNComune"), kv("comune", "M320"), kv("filename", "")} << "Foglio"
            << "0030";
        QTest::newRow("PF of a sheet") << Pairs{q("PF_PerNComuneEFoglio"), kv("comune", "H501"),
                                                kv("foglio", "0120"), kv("filename", "")}
                                       << "PF"
                                       << "01,02,03";
        QTest::newRow("reliabilities")
            << Pairs{q("Attendibilita_PerNComune"), kv("comune", "H501"), kv("filename", "")}
            << "Attendibilita_P"
            << "3,5,6,9";
        QTest::newRow("update date") << Pairs{q("data_agg_taf")} << "data_taf"
                                     << QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    }

    void lists()
    {
        QFETCH(Pairs, pairs);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        const Packet p = get("query.php", withUser(pairs));
        QVERIFY(p.valid);
        QCOMPARE(p.fields.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(p.fields[0].first), field);
        QCOMPARE(p.column(field.toLatin1().constData()), expected);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("pwd");
        QTest::addColumn<QString>("filename");
        const QString user = QString::fromUtf8(TafServerProcess::kUser);
        const QString pwd = QString::fromUtf8(TafServerProcess::kPassword);
        QTest::newRow("wrong password") << user << "pass word"
                                        << "";
        QTest::newRow("unknown user") << "nessuno@example.it" << pwd << "";
        QTest::newRow("no credentials") << ""
                                        << ""
                                        << "";
        QTest::newRow("path outside") << user << pwd << "../../etc/passwd";
        QTest::newRow("dot-dot inside") << user << pwd << "./taf/../taf/taf_lazio.csv";
        QTest::newRow("region file, other case") << user << pwd << "./taf/TAF_LAZIO.CSV";
        QTest::newRow("region file with a tail")
            << user << pwd << QStringLiteral("./taf/taf_lazio.csv%1").arg(QChar(0));
    }

    void refusals()
    {
        QFETCH(QString, user);
        QFETCH(QString, pwd);
        QFETCH(QString, filename);
        const Pairs pairs =
            withUser({{QStringLiteral("tipoquery"), QStringLiteral("Taf_Per_NComune")},
                      {QStringLiteral("comune"), QStringLiteral("H501")},
                      {QStringLiteral("filename"), filename}},
                     user, pwd);
        const auto res = m_http->Get(address("query.php", pairs).c_str());
        QVERIFY(res);
        QCOMPARE(res->status, 200);
        const Packet p = parsePacket(res->body);
        QVERIFY(p.valid);
        QCOMPARE(p.fields.size(), std::size_t(24));
        QCOMPARE(p.rows.size(), std::size_t(0));
        QVERIFY(!res->get_header_value("X-Tafserver-Rifiuto").empty());
    }

    void protocolErrors_data()
    {
        QTest::addColumn<QByteArray>("target");
        QTest::newRow("unknown tipoquery") << QByteArray("/query.php?tipoquery=Tutto");
        QTest::newRow("lookup on the query page")
            << QByteArray("/query.php?tipoquery=codice_per_ncomune&condizione=x");
        QTest::newRow("query on the comuni page")
            << QByteArray("/comuni.php?tipoquery=data_agg_taf");
        QTest::newRow("no tipoquery") << QByteArray("/query.php");
        QTest::newRow("broken escape")
            << QByteArray("/comuni.php?tipoquery=codice_per_ncomune&condizione=%ZZ");
        QTest::newRow("repeated key")
            << QByteArray("/query.php?tipoquery=data_agg_taf&user=a&user=b&pwd=");
    }

    void protocolErrors()
    {
        QFETCH(QByteArray, target);
        const auto res = m_http->Get(target.constData());
        QVERIFY(res);
        QCOMPARE(res->status, 400);
        QVERIFY(!res->body.empty());
    }

    void accountAndUpdates()
    {
        const auto check = [this](const QString &user, const QString &pwd) {
            return get("query.php",
                       {{QStringLiteral("tipoquery"), QStringLiteral("controlla_user")},
                        {QStringLiteral("user"), user},
                        {QStringLiteral("pwd"), pwd},
                        {QStringLiteral("versione"), QStringLiteral("0.1.0")}})
                .value(0, "messaggio");
        };
        const QString user = QString::fromUtf8(TafServerProcess::kUser);
        QCOMPARE(check(user, QString::fromUtf8(TafServerProcess::kPassword)),
                 QStringLiteral("OK Benvenuto ") + user);
        QVERIFY(check(user, QStringLiteral("sbagliata")).startsWith(QLatin1String("KO ")));
        QVERIFY(check(QString(), QString()).startsWith(QLatin1String("KO ")));

        const auto update = [this](const char *version) {
            return get(
                "query.php",
                {{QStringLiteral("tipoquery"), QStringLiteral("controlla_aggiornamenti")},
                 {QStringLiteral("versione"), QString::fromLatin1(version)},
                 {QStringLiteral("user"), QString::fromUtf8(TafServerProcess::kDemoUser)},
                 {QStringLiteral("pwd"), QString::fromUtf8(TafServerProcess::kDemoPassword)}});
        };
        const Packet upToDate = update(TAVIX_VERSION);
        QVERIFY(upToDate.valid);
        QCOMPARE(upToDate.rows.size(), std::size_t(0));
        const Packet old = update("0.0.9");
        QCOMPARE(old.value(0, "percorsoremoto"),
                 m_server.baseUrl() + QStringLiteral("aggiornamenti/"));
        QCOMPARE(old.value(0, "fileremoto"), QStringLiteral("TavixSetup-" TAVIX_VERSION ".exe"));
    }

    void uploadAndDownload()
    {
        QCOMPARE(wholeRoma().value(0, "Immagini"), QStringLiteral("NO"));
        const Packet before = images("01");
        QCOMPARE(before.rows.size(), std::size_t(1));
        QCOMPARE(before.value(0, "monografia_altim"), QString());

        const QByteArray png = pngImage(Qt::darkGreen);
        const auto [status, answer] =
            post("/upload.php", multipart(uploadFields(TafServerProcess::kUser, "01", "file_altim",
                                                       base64WithBreaks(png)),
                                          "tavixconfine"));
        QCOMPARE(status, 200);
        QCOMPARE(QString::fromStdString(answer), QString());

        QCOMPARE(wholeRoma().value(0, "Immagini"), QStringLiteral("SI")); // not a stale answer
        const Packet after = images("01");
        const QString path = after.value(0, "monografia_altim");
        QCOMPARE(path, QStringLiteral("immagini/H501/0120/01_altim.png"));
        QCOMPARE(after.value(0, "monografia_planim"), QString());
        const auto file = m_http->Get(("/" + path).toStdString().c_str());
        QVERIFY(file);
        QCOMPARE(file->status, 200);
        QCOMPARE(QByteArray::fromStdString(file->body), png);

        // The archive does not overwrite an image: replacing one is a request of its own.
        const auto again =
            post("/upload.php", multipart(uploadFields(TafServerProcess::kUser, "01", "file_altim",
                                                       base64WithBreaks(pngImage(Qt::red))),
                                          "tavixconfine"));
        QVERIFY(!again.second.empty());
        QCOMPARE(QByteArray::fromStdString(m_http->Get(("/" + path).toStdString().c_str())->body),
                 png);
    }

    void uploadRefusals_data()
    {
        QTest::addColumn<QByteArray>("user");
        QTest::addColumn<QByteArray>("pf");
        QTest::addColumn<QByteArray>("file");
        const QByteArray user = TafServerProcess::kUser;
        const QByteArray image = base64WithBreaks(pngImage(Qt::blue));
        QTest::newRow("not Base64")
            << user << QByteArray("02") << QByteArray("@@@ non e' base64 @@@");
        QTest::newRow("Base64 cut short")
            << user << QByteArray("02") << image.left(image.size() - 3);
        QTest::newRow("not an image")
            << user << QByteArray("02") << base64WithBreaks("testo qualsiasi");
        QTest::newRow("unknown point") << user << QByteArray("42") << image;
        QTest::newRow("unknown user")
            << QByteArray("nessuno@example.it") << QByteArray("02") << image;
        QTest::newRow("no file") << user << QByteArray("02") << QByteArray();
    }

    void uploadRefusals()
    {
        QFETCH(QByteArray, user);
        QFETCH(QByteArray, pf);
        QFETCH(QByteArray, file);
        const auto [status, answer] = post(
            "/upload.php", multipart(uploadFields(user, pf, "file_emp", file), "tavixconfine"));
        QCOMPARE(status, 200);
        QVERIFY2(!answer.empty(), "a refused upload must say why");
        QCOMPARE(images("02").value(0, "emp"), QString());
        QVERIFY(
            !QFile::exists(m_server.rootPath() + QStringLiteral("/immagini/H501/0120/02_emp.png")));
    }

    void oversizedBodyIsRefused()
    {
        const std::string huge(17 * 1024 * 1024, 'A');
        const auto res = m_http->Post("/upload.php", huge, "multipart/form-data; boundary=x");
        QVERIFY(!res || res->status == 413);
        QCOMPARE(get("comuni.php",
                     {{QStringLiteral("tipoquery"), QStringLiteral("ncomune_per_codice")},
                      {QStringLiteral("condizione"), QStringLiteral("CodiceFiscale='H501'")}})
                     .value(0, "NomeComune"),
                 QStringLiteral("ROMA"));
    }

    void slowClientDoesNotBlockOthers()
    {
        QTcpSocket slow;
        slow.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(m_server.port()));
        QVERIFY(slow.waitForConnected(5000));
        slow.write("GET /query.php?tipoquery=data_agg_taf HTTP/1.1\r\nHost: x\r\n"); // never ends
        QVERIFY(slow.waitForBytesWritten(5000));
        const Packet p = get(
            "comuni.php", {{QStringLiteral("tipoquery"), QStringLiteral("codice_per_ncomune")},
                           {QStringLiteral("condizione"), QStringLiteral("NomeComune='AOSTA'")}});
        QCOMPARE(p.value(0, "CodiceFiscale"), QStringLiteral("A326"));
    }

    void printedCardsAreStored()
    {
        const auto stored =
            post("/stampate.php", multipart({{"punto", "07_A34A_H501"}}, "tavixconfine"));
        QCOMPARE(stored.first, 200);
        QCOMPARE(stored.second, std::string());
        QCOMPARE(post("/stampate.php", multipart({{"altro", "x"}}, "tavixconfine")).first, 400);

        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open_v2(qPrintable(m_server.databasePath()), &db, SQLITE_OPEN_READONLY,
                                 nullptr),
                 SQLITE_OK);
        sqlite3_stmt *q = nullptr;
        sqlite3_prepare_v2(
            db, "SELECT count(*), min(indirizzo) FROM schede_stampate WHERE punto = '07_A34A_H501'",
            -1, &q, nullptr);
        QCOMPARE(sqlite3_step(q), SQLITE_ROW);
        const int count = sqlite3_column_int(q, 0);
        const QString address =
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(q, 1)));
        sqlite3_finalize(q);
        sqlite3_close(db);
        QCOMPARE(count, 1);
        QCOMPARE(address, QStringLiteral("127.0.0.1"));
    }

    void importReportsRejectedLines()
    {
        QFile fixture(QStringLiteral(TAVIX_FIXTURES_DIR "/taf/fixture.taf"));
        QVERIFY(fixture.open(QIODevice::ReadOnly));
        const QByteArray good = fixture.readLine();
        QByteArray badSheet = good;
        badSheet.replace(6, 4, "00X1");
        QTemporaryDir dir;
        QFile taf(dir.filePath(QStringLiteral("mixed.taf")));
        QVERIFY(taf.open(QIODevice::WriteOnly));
        taf.write(good + "H501 troppo corta\r\n" + badSheet);
        taf.close();
        QByteArray errors;
        const int code =
            TafServerProcess::run({QStringLiteral("import-taf"), QStringLiteral("--db"),
                                   dir.filePath(QStringLiteral("t.db")), taf.fileName()},
                                  &errors);
        QCOMPARE(code, 2);
        QVERIFY2(errors.contains("riga 2 scartata") && errors.contains("riga 3 scartata"),
                 errors.constData());
        QVERIFY2(errors.contains("1 record caricati"), errors.constData());
    }

    // The demo archive comes through the importer whole, in the right places, with its images.
    void demoArchive()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath(QStringLiteral("demo.db"));
        const QString root = dir.filePath(QStringLiteral("files"));
        QByteArray log;
        QCOMPARE(TafServerProcess::run({QStringLiteral("seed"), QStringLiteral("--db"), db,
                                        QStringLiteral("--root"), root},
                                       &log),
                 0);
        QVERIFY2(!log.contains("scartata"), log.constData());

        sqlite3 *handle = nullptr;
        QCOMPARE(sqlite3_open_v2(qPrintable(db), &handle, SQLITE_OPEN_READONLY, nullptr),
                 SQLITE_OK);
        const auto value = [handle](const char *sql) { return scalar(handle, sql); };
        QCOMPARE(value("SELECT group_concat(provincia, ',') FROM (SELECT DISTINCT c.provincia "
                       "FROM taf t JOIN comuni c ON c.codice = t.codice ORDER BY 1)"),
                 QStringLiteral("AOSTA,BOLOGNA,FIRENZE,L'AQUILA,NAPOLI,ROMA"));
        const int roma = value("SELECT count(*) FROM taf WHERE codice = 'H501'").toInt();
        QVERIFY2(roma >= 1800 && roma <= 2600, qPrintable(QString::number(roma)));
        // Every comune of the scope has points; sectioned comuni only under their sections.
        QCOMPARE(value("SELECT count(*) FROM comuni c WHERE provincia IN ('ROMA','AOSTA') "
                       "AND NOT EXISTS (SELECT 1 FROM taf t WHERE t.codice = c.codice)"),
                 QStringLiteral("0"));
        QCOMPARE(value("SELECT group_concat(s, '') FROM (SELECT DISTINCT sezione s FROM taf "
                       "WHERE codice = 'M320' ORDER BY 1)"),
                 QStringLiteral("ABCDE"));
        // Gauss-Boaga in the fuso of the place; Cassini-Soldner near a local origin.
        QCOMPARE(
            value("SELECT count(*) FROM taf WHERE codice = 'A326' AND nord IS NOT NULL AND (fuso "
                  "<> 'OVEST' OR "
                  "est NOT BETWEEN 1313000 AND 1760000 OR nord NOT BETWEEN 4302000 AND 5208000)"),
            QStringLiteral("0"));
        QCOMPARE(value("SELECT count(*) FROM taf WHERE codice = 'H501' AND nord IS NOT NULL AND "
                       "(fuso <> 'EST' OR "
                       "est NOT BETWEEN 2260000 AND 2820000)"),
                 QStringLiteral("0"));
        QCOMPARE(
            value("SELECT count(*) FROM taf WHERE abs(xcassini) > 100000 OR abs(ycassini) > 100000 "
                  "OR xcassini IS NULL"),
            QStringLiteral("0"));
        // The variety the client must cope with.
        QVERIFY(value("SELECT count(*) FROM taf WHERE nord IS NULL").toInt() > 0);
        QVERIFY(value("SELECT count(*) FROM taf WHERE length(pf) = 1").toInt() > 0);
        QVERIFY(value("SELECT count(*) FROM taf WHERE foglio >= 'A'").toInt() > 0);
        QVERIFY(value("SELECT count(*) FROM taf WHERE substr(foglio, 4) <> '0'").toInt() > 0);
        QVERIFY(value("SELECT count(*) FROM taf WHERE quota IS NULL").toInt() > 0);
        QVERIFY(value("SELECT count(*) FROM taf WHERE annotazioni <> ''").toInt() > 0);
        QVERIFY(value("SELECT max(pf_num) FROM taf").toInt() > 50);
        const QString image = value("SELECT percorso FROM immagini WHERE codice = 'M320' LIMIT 1");
        QVERIFY(!image.isEmpty());
        QVERIFY(!QImage(root + QLatin1Char('/') + image).isNull());
        QCOMPARE(
            value("SELECT count(*) FROM taf t WHERE immagini <> (SELECT count(*) FROM immagini i "
                  "WHERE i.codice = t.codice AND i.sezione = t.sezione AND i.foglio = t.foglio "
                  "AND i.pf_num = t.pf_num)"),
            QStringLiteral("0"));
        sqlite3_close(handle);
    }

    void cleanupTestCase()
    {
        m_http.reset();
        QCOMPARE(m_server.stop(), 0); // SIGTERM is a clean stop
    }
};

QTEST_GUILESS_MAIN(TestTafServer)
#include "tst_tafserver.moc"
