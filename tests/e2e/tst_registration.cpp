// The service's registration page end to end: a tafserver on loopback, the form posted the way a
// browser posts it (UTF-8, urlencoded), and the new account checked through the client's own
// login query.

#include "TafServerProcess.h"

#include "service/DMTAFQueryPhp.h"
#include "service/ServiceConstants.h"

#include <QTemporaryDir>
#include <QTest>

#include <httplib.h>
#include <sqlite3.h>

#include <memory>

using namespace tavix;

namespace {

struct Form
{
    QString email;
    QString password;
    QString passwordAgain;
    QString name;
};

// As a browser sends it: UTF-8, percent-encoded, blanks as '+'.
std::string urlencoded(const Form &form)
{
    const std::pair<const char *, QString> fields[] = {{"email", form.email},
                                                       {"password", form.password},
                                                       {"password2", form.passwordAgain},
                                                       {"nome", form.name}};
    QByteArray body;
    for (const auto &[name, value] : fields) {
        if (!body.isEmpty())
            body += '&';
        body += QByteArray(name) + '=' + value.toUtf8().toPercentEncoding(" ").replace(' ', '+');
    }
    return body.toStdString();
}

QString htmlEscaped(QString text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QLatin1String("&#39;"));
}

// Every account as one text, to see that a refused form changes nothing.
QString accounts(const QString &database)
{
    sqlite3 *db = nullptr;
    QString out;
    if (sqlite3_open_v2(database.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt *q = nullptr;
        sqlite3_prepare_v2(db, "SELECT email, hash, attivo, nome FROM utenti ORDER BY email", -1,
                           &q, nullptr);
        while (q && sqlite3_step(q) == SQLITE_ROW)
            for (int c = 0; c < 4; ++c)
                out +=
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(q, c))) +
                    QLatin1Char('|');
        sqlite3_finalize(q);
    }
    sqlite3_close(db);
    return out;
}

QString nameOf(const QString &database, const QString &email)
{
    sqlite3 *db = nullptr;
    QString out = QStringLiteral("<none>");
    sqlite3_open_v2(database.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *q = nullptr;
    sqlite3_prepare_v2(db, "SELECT nome FROM utenti WHERE email = ?1", -1, &q, nullptr);
    const QByteArray key = email.toUtf8();
    sqlite3_bind_text(q, 1, key.constData(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
    if (q && sqlite3_step(q) == SQLITE_ROW)
        out = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(q, 0)));
    sqlite3_finalize(q);
    sqlite3_close(db);
    return out;
}

} // namespace

Q_DECLARE_METATYPE(Form)

class TestRegistration : public QObject
{
    Q_OBJECT

    TafServerProcess m_server;
    std::unique_ptr<httplib::Client> m_http;

    std::pair<int, QString> post(const std::string &body,
                                 const char *type = "application/x-www-form-urlencoded")
    {
        const auto res = m_http->Post("/registrazione.php", body, type);
        return res ? std::pair{res->status, QString::fromStdString(res->body)}
                   : std::pair{-1, QString()};
    }

    // The program's login check, by the program's own query.
    QString login(const QString &user, const QString &password)
    {
        TDM_Data dm;
        return dm.QueryUserCheck(user, password, QStringLiteral("1.0.0"));
    }

private slots:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_server.start(&error), qPrintable(error));
        setServiceBaseOverride(m_server.baseUrl());
        m_http = std::make_unique<httplib::Client>("127.0.0.1", m_server.port());
        m_http->set_connection_timeout(5);
        m_http->set_read_timeout(10);
    }

    void formIsServed()
    {
        const auto res = m_http->Get("/registrazione.php");
        QVERIFY(res);
        QCOMPARE(res->status, 200);
        QVERIFY(res->get_header_value("Content-Type").starts_with("text/html"));
        const QString page = QString::fromStdString(res->body);
        for (const char *field : {"name=\"email\"", "name=\"password\"", "name=\"password2\"",
                                  "name=\"nome\"", "method=\"post\""})
            QVERIFY2(page.contains(QLatin1String(field)), field);
        QVERIFY(page.contains(QStringLiteral("Nome e cognome del tecnico")));
        QVERIFY(!page.contains(QLatin1String("<script")));
    }

    void registeredUserLogsIn()
    {
        const QString email = QStringLiteral("anna.bianchi@studio-tecnico.it");
        const QString password = QStringLiteral("Però€-9!"); // the euro sign only in Windows-1252
        const QString name = QStringLiteral("Anna <script>alert(1)</script> Bianchi");
        QCOMPARE(login(email, password).left(2), QStringLiteral("KO"));

        const auto [status, page] = post(urlencoded({email, password, password, name}));
        QCOMPARE(status, 200);
        QVERIFY2(page.contains(QStringLiteral("Registrazione completata")), qPrintable(page));
        QVERIFY(page.contains(htmlEscaped(name)));
        QVERIFY(!page.contains(QLatin1String("<script")));
        QVERIFY(!page.contains(password));
        QCOMPARE(nameOf(m_server.databasePath(), email), name);

        QCOMPARE(login(email, password), QStringLiteral("OK Benvenuto ") + email);
    }

    void refusals_data()
    {
        QTest::addColumn<Form>("form");
        QTest::addColumn<QString>("message");
        const QString mail = QStringLiteral("nuovo@example.it");
        const QString pwd = QStringLiteral("Zq9!x7");
        const QString name = QStringLiteral("Mario Rossi");
        const QString badMail = QStringLiteral("indirizzo e-mail non è valido");
        const QString untypable = QStringLiteral("La password non può contenere spazi");

        QTest::newRow("e-mail without @")
            << Form{QStringLiteral("nuovo.example.it"), pwd, pwd, name} << badMail;
        QTest::newRow("e-mail without domain")
            << Form{QStringLiteral("nuovo@example"), pwd, pwd, name} << badMail;
        QTest::newRow("e-mail with a blank")
            << Form{QStringLiteral("nu ovo@example.it"), pwd, pwd, name} << badMail;
        QTest::newRow("e-mail empty") << Form{QStringLiteral("  "), pwd, pwd, name}
                                      << QStringLiteral("Indicare l&#39;indirizzo e-mail");
        QTest::newRow("password short")
            << Form{mail, QStringLiteral("Zq9"), QStringLiteral("Zq9"), name}
            << QStringLiteral("La password deve avere almeno 4 caratteri");
        QTest::newRow("password blank")
            << Form{mail, QStringLiteral("Zq9 x7"), QStringLiteral("Zq9 x7"), name} << untypable;
        QTest::newRow("password quote")
            << Form{mail, QStringLiteral("Zq9\"x7"), QStringLiteral("Zq9\"x7"), name} << untypable;
        QTest::newRow("password apostrophe")
            << Form{mail, QStringLiteral("Zq9'x7"), QStringLiteral("Zq9'x7"), name} << untypable;
        QTest::newRow("password backslash")
            << Form{mail, QStringLiteral("Zq9\\x7"), QStringLiteral("Zq9\\x7"), name} << untypable;
        QTest::newRow("password unsendable")
            << Form{mail, QStringLiteral("Zq9ж7"), QStringLiteral("Zq9ж7"), name}
            << QStringLiteral("La password contiene caratteri non ammessi");
        QTest::newRow("passwords differ")
            << Form{mail, pwd, QStringLiteral("Zq9!x8"), QStringLiteral("<script>x</script>")}
            << QStringLiteral("Le due password non coincidono");
        QTest::newRow("name empty") << Form{mail, pwd, pwd, QStringLiteral(" ")}
                                    << QStringLiteral("Indicare nome e cognome del tecnico");
        QTest::newRow("already registered")
            << Form{QString::fromUtf8(TafServerProcess::kUser).toUpper(), pwd, pwd, name}
            << QStringLiteral("Questo indirizzo e-mail è già registrato");
    }

    void refusals()
    {
        QFETCH(Form, form);
        QFETCH(QString, message);
        const QString before = accounts(m_server.databasePath());
        QVERIFY(!before.isEmpty());

        const auto [status, page] = post(urlencoded(form));
        QCOMPARE(status, 200);
        QVERIFY2(page.contains(message), qPrintable(page));
        QVERIFY(page.contains(QStringLiteral("La registrazione non è stata eseguita")));
        QVERIFY(
            page.contains(QStringLiteral("value=\"%1\"").arg(htmlEscaped(form.email.trimmed()))));
        QVERIFY(
            page.contains(QStringLiteral("value=\"%1\"").arg(htmlEscaped(form.name.trimmed()))));
        QVERIFY(!page.contains(QLatin1String("<script")));
        QVERIFY(!page.contains(htmlEscaped(form.password)));
        QVERIFY(!page.contains(htmlEscaped(form.passwordAgain)));
        QCOMPARE(accounts(m_server.databasePath()), before);
    }

    void malformedRequests_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<int>("status");
        const QByteArray form = "application/x-www-form-urlencoded";
        const QByteArray valid = "email=x%40example.it&password=abcd&password2=abcd&nome=X";
        QTest::newRow("not a form")
            << valid << QByteArray("multipart/form-data; boundary=b") << 400;
        QTest::newRow("broken escape") << valid + "%G1" << form << 400;
        QTest::newRow("not UTF-8") << valid + "%E0" << form << 400;
        QTest::newRow("repeated field") << valid + "&email=y%40example.it" << form << 400;
        QTest::newRow("oversized") << valid + QByteArray(9000, 'a') << form << 413;
    }

    void malformedRequests()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, type);
        QFETCH(int, status);
        const QString before = accounts(m_server.databasePath());
        QCOMPARE(post(body.toStdString(), type.constData()).first, status);
        QCOMPARE(accounts(m_server.databasePath()), before);
    }

    // A database from before the technician's name was kept still opens, keeps its accounts
    // and gains the column.
    void olderDatabaseGainsNameColumn()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("vecchio.db"));
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db,
                              "CREATE TABLE utenti (email TEXT PRIMARY KEY COLLATE NOCASE, hash "
                              "TEXT NOT NULL, attivo INTEGER NOT NULL DEFAULT 1, creato TEXT NOT "
                              "NULL); INSERT INTO utenti VALUES ('vecchio@example.it', 'h', 1, "
                              "'2020-01-01T00:00:00Z');",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(db);

        QByteArray errors;
        QCOMPARE(TafServerProcess::run({QStringLiteral("add-user"), QStringLiteral("--db"), path,
                                        QStringLiteral("nuovo@example.it"), QStringLiteral("abcd")},
                                       &errors),
                 0);
        QCOMPARE(nameOf(path, QStringLiteral("vecchio@example.it")), QString());
        QCOMPARE(nameOf(path, QStringLiteral("nuovo@example.it")), QString());
        QVERIFY(accounts(path).startsWith(QLatin1String("nuovo@example.it|")));
    }

    void cleanupTestCase()
    {
        setServiceBaseOverride(QString());
        QCOMPARE(m_server.stop(), 0);
    }
};

QTEST_GUILESS_MAIN(TestRegistration)
#include "tst_registration.moc"
