#include "LoopbackHttpServer.h"
#include "RecordingNotifier.h"

#include "account/AccountUi.h"
#include "account/Connection.h"
#include "account/ServerAccess.h"
#include "service/DMTAFQueryPhp.h"
#include "service/ServiceConstants.h"
#include "settings/CRGestioneRegistro.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>

using namespace tavix;
using Req = LoopbackHttpServer::Request;
using Resp = LoopbackHttpServer::Response;

namespace {

// Records what the flows show and answers from a script.
class ScriptedUi : public AccountUi
{
public:
    QStringList log;
    QList<int> answers;       // message results, in order; 1 when exhausted
    int loginResult = 2;
    std::function<void()> onLogin;
    QString saveAs;

    int message(const QString &text, const QString &caption, int flags) override
    {
        log << QStringLiteral("box %1 %2: %3").arg(flags).arg(caption, text);
        return answers.isEmpty() ? 1 : answers.takeFirst();
    }
    void setBusyCursor(bool busy) override { busyDepth += busy ? 1 : -1; }
    void showWait(const QString &text) override { log << QStringLiteral("wait ") + text; }
    void closeWait() override { log << QStringLiteral("close wait"); }
    void processEvents() override {}
    int runLoginDialog() override
    {
        log << QStringLiteral("login dialog");
        if (onLogin)
            onLogin();
        return loginResult;
    }
    QString askSaveFile(const QString &name, const QString &) override
    {
        log << QStringLiteral("save ") + name;
        return saveAs;
    }
    void openWithShell(const QString &path) override { log << QStringLiteral("open ") + path; }
    void closeMainWindow() override { log << QStringLiteral("close main"); }
    int busyDepth = 0;
};

class FakeConnection : public Connection
{
public:
    State current{true, Lan};
    bool dialAccepted = true;
    int connectAfterPolls = -1; // after dial, connected after this many state queries
    int queries = 0;
    QStringList log;
    State state() override
    {
        ++queries;
        log << QStringLiteral("state");
        if (connectAfterPolls >= 0 && --connectAfterPolls < 0)
            current = {true, Modem};
        return current;
    }
    bool dial() override
    {
        log << QStringLiteral("dial");
        return dialAccepted;
    }
    void hangUp() override { log << QStringLiteral("hang up"); }
};

QByteArray packet(const QByteArray &fields, const QByteArray &rows)
{
    return "<?xml version=\"1.0\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>" + fields +
           "</FIELDS></METADATA><ROWDATA>" + rows + "</ROWDATA></DATAPACKET>";
}

QString tipo(const Req &r)
{
    return QUrlQuery(QUrl::fromEncoded("http://x" + r.target)).queryItemValue(QStringLiteral("tipoquery"));
}

} // namespace

class TestServerAccess : public QObject
{
    Q_OBJECT

    QByteArray userAnswer = "OK Benvenuto";
    QByteArray updateRow;
    std::unique_ptr<LoopbackHttpServer> server;
    std::unique_ptr<TDM_Data> dm;
    MemoryKeyStore keys;
    std::unique_ptr<SettingsStore> settings;
    FakeConnection connection;
    ScriptedUi ui;
    std::unique_ptr<ServerAccess> access;

    QStringList queriesSent() const
    {
        QStringList out;
        for (const Req &r : server->requests)
            out << (r.target.startsWith("/download/") ? QStringLiteral("download") : tipo(r));
        return out;
    }

private slots:
    void init()
    {
        userAnswer = "OK Benvenuto";
        updateRow.clear();
        server = std::make_unique<LoopbackHttpServer>([this](const Req &r) {
            if (r.target.startsWith("/download/"))
                return Resp{200, "INSTALLER", "application/octet-stream"};
            if (tipo(r) == QLatin1String("controlla_user"))
                return Resp{200, packet("<FIELD attrname=\"messaggio\" fieldtype=\"string\" WIDTH=\"200\"/>",
                                        "<ROW messaggio=\"" + userAnswer + "\"/>")};
            return Resp{200, packet("<FIELD attrname=\"percorsoremoto\" fieldtype=\"string\" WIDTH=\"200\"/>"
                                    "<FIELD attrname=\"fileremoto\" fieldtype=\"string\" WIDTH=\"200\"/>",
                                    updateRow)};
        });
        setServiceBaseOverride(server->url().toString());
        dm = std::make_unique<TDM_Data>();
        keys = MemoryKeyStore();
        settings = std::make_unique<SettingsStore>(keys);
        settings->WriteRootValue(setting::kUser, QStringLiteral("geo@studio.it"));
        settings->WriteRootValue(setting::kPwd, QStringLiteral("segreta"));
        settings->WriteRootValue(setting::kVersione, QStringLiteral("1.0"));
        connection = FakeConnection();
        ui = ScriptedUi();
        access = std::make_unique<ServerAccess>(*settings, *dm, connection, ui);
        access->dialWaitMs = 300;
    }

    void userCheckAnswers_data()
    {
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("message");
        QTest::newRow("ok and greeting") << "OK Benvenuto Mario" << true << "Benvenuto Mario";
        QTest::newRow("lower case") << "ok Benvenuto" << true << "Benvenuto";
        QTest::newRow("bare OK") << "OK" << true << "";
        QTest::newRow("refused") << "KO  Password errata " << false << "Password errata";
        QTest::newRow("empty") << "" << false << "";
        QTest::newRow("one char") << "O" << false << "";
    }
    void userCheckAnswers()
    {
        QFETCH(QString, messaggio);
        QFETCH(bool, accepted);
        QFETCH(QString, message);
        const UserCheckAnswer a = ParseUserCheckAnswer(messaggio);
        QCOMPARE(a.accepted, accepted);
        QCOMPARE(a.message, message);
    }

    void firstGateCallChecksConnectionUserAndUpdatesInOrder()
    {
        QVERIFY(access->CheckServerAccess());
        QCOMPARE(queriesSent(), (QStringList{"controlla_user", "controlla_aggiornamenti"}));
        QVERIFY(access->UserVerified);
        QVERIFY(access->UpdateChecked);
        QCOMPARE(dm->ServiceUser, QStringLiteral("geo@studio.it"));
        QCOMPARE(ui.busyDepth, 0);

        // The second call only asks the connection state and reloads the credentials.
        settings->WriteRootValue(setting::kPwd, QStringLiteral("nuova"));
        connection.log.clear();
        QVERIFY(access->CheckServerAccess());
        QCOMPARE(server->requests.size(), 2);
        QCOMPARE(connection.log, QStringList{"state"});
        QCOMPARE(dm->ServicePassword, QStringLiteral("nuova"));
    }

    void firstUseInvitesToRegisterAndOpensTheDialog()
    {
        userAnswer = "KO Utente sconosciuto";
        QVERIFY(!access->CheckServerAccess());
        QVERIFY(ui.log.contains(QStringLiteral(
            "box 64 Avviso: Per cominciare a lavorare con Tavix occorre che ti registri")));
        QCOMPARE(ui.log.last(), QStringLiteral("login dialog"));
        QVERIFY(!access->UserVerified);
        QCOMPARE(queriesSent(), QStringList{"controlla_user"});
    }

    void aRefusedRegisteredUserSeesTheServersMessage()
    {
        settings->WriteRegistered(true);
        userAnswer = "KO Password cambiata";
        ui.loginResult = 1;
        QVERIFY(access->CheckLogin());
        QCOMPARE(ui.log, (QStringList{"wait Attendere...", "close wait",
                                      "box 16 Errore: Password cambiata", "login dialog"}));
    }

    void noConnectionAndRefusedDialEndsQuietly()
    {
        connection.current = {false, 0};
        connection.dialAccepted = false;
        QVERIFY(!access->CheckServerAccess());
        QCOMPARE(ui.log.size(), 1);
        QVERIFY(ui.log[0].startsWith(QLatin1String("box 64 INFORMAZIONE: Per proseguire")));
        QVERIFY(server->requests.isEmpty());
    }

    void aDialledConnectionVerifiesTheUserAgain()
    {
        connection.current = {false, 0};
        connection.connectAfterPolls = 3;
        access->UserVerified = true;
        QVERIFY(access->EnsureConnection());
        QCOMPARE(queriesSent(), QStringList{"controlla_user"});
        QCOMPARE(ui.busyDepth, 0);
    }

    void hangUpOfferedOnlyForModems()
    {
        connection.current = {true, Connection::Lan};
        access->OfferHangUp();
        QVERIFY(ui.log.isEmpty());
        connection.current = {true, Connection::Modem};
        ui.answers = {6};
        access->OfferHangUp();
        QCOMPARE(ui.log, QStringList{"box 68 Informazione: Disconnettere prima di uscire?"});
        QCOMPARE(connection.log.last(), QStringLiteral("hang up"));
    }

    void anUpdateIsOfferedDownloadedAndDeclined()
    {
        QTemporaryDir dir;
        updateRow = "<ROW percorsoremoto=\"" + server->url(QStringLiteral("download/")).toEncoded() +
                    "\" fileremoto=\"TavixSetup-2.0.exe\"/>";
        ui.answers = {6, 7};
        ui.saveAs = dir.filePath(QStringLiteral("TavixSetup-2.0.exe"));
        QVERIFY(access->CheckServerAccess());
        QCOMPARE(queriesSent(), (QStringList{"controlla_user", "controlla_aggiornamenti", "download"}));
        QCOMPARE(server->requests.last().target, QByteArray("/download/TavixSetup-2.0.exe"));
        QVERIFY(ui.log.contains(QStringLiteral("save TavixSetup-2.0.exe")));
        QVERIFY(ui.log.contains(QStringLiteral("wait Attendere, download in corso...")));
        QFile f(ui.saveAs);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("INSTALLER"));
        QVERIFY(!ui.log.contains(QStringLiteral("close main")));

        // Accepting the installation hands the file over and closes the program.
        access->UpdateChecked = false;
        ui.answers = {6, 6};
        QVERIFY(!access->CheckServerAccess());
        QCOMPARE(ui.log.mid(ui.log.size() - 2),
                 (QStringList{"open " + ui.saveAs, "close main"}));
    }

    void declinedDownloadLetsTheOperationGoOn()
    {
        updateRow = "<ROW percorsoremoto=\"http://x/\" fileremoto=\"S.exe\"/>";
        ui.answers = {7};
        QVERIFY(access->CheckServerAccess());
        QCOMPARE(queriesSent(), (QStringList{"controlla_user", "controlla_aggiornamenti"}));
    }

    void updatesFolderHasNoDoubledSeparator()
    {
        QTemporaryDir dir;
        const QString expected = dir.path() + QStringLiteral("/Calderix/Aggiornamenti");
        QCOMPARE(UpdatesFolder(dir.path()), expected);
        QCOMPARE(UpdatesFolder(dir.path() + QLatin1Char('/')), expected);
        QVERIFY(QDir(expected).exists());
        QCOMPARE(UpdatesFolder(QString()), QString());
    }
};

QTEST_GUILESS_MAIN(TestServerAccess)
#include "tst_serveraccess.moc"
