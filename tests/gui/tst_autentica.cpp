#include "LoopbackHttpServer.h"
#include "ModalHelper.h"

#include "account/CRAutentica.h"
#include "account/Connection.h"
#include "account/HiddenPassword.h"
#include "account/ServerAccess.h"
#include "account/WidgetAccountUi.h"
#include "service/DMTAFQueryPhp.h"
#include "service/ServiceConstants.h"
#include "settings/CRGestioneRegistro.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUrlQuery>

using namespace tavix;
using Req = LoopbackHttpServer::Request;
using Resp = LoopbackHttpServer::Response;

class TestAutentica : public QObject
{
    Q_OBJECT

    std::unique_ptr<LoopbackHttpServer> server;
    std::unique_ptr<TDM_Data> dm;
    MemoryKeyStore keys;
    std::unique_ptr<SettingsStore> settings;
    AlwaysConnected connection;
    WidgetAccountUi ui;
    std::unique_ptr<ServerAccess> access;
    QByteArray answer = "OK Benvenuto";

    static QString sentPassword(const Req &r)
    {
        return QUrlQuery(QUrl::fromEncoded("http://x" + r.target))
            .queryItemValue(QStringLiteral("pwd"), QUrl::FullyDecoded);
    }

private slots:
    void init()
    {
        server = std::make_unique<LoopbackHttpServer>([this](const Req &) {
            return Resp{200, "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"messaggio\""
                             " fieldtype=\"string\" WIDTH=\"200\"/></FIELDS></METADATA><ROWDATA><ROW messaggio=\"" +
                                 answer + "\"/></ROWDATA></DATAPACKET>"};
        });
        setServiceBaseOverride(server->url().toString());
        dm = std::make_unique<TDM_Data>();
        keys = MemoryKeyStore();
        settings = std::make_unique<SettingsStore>(keys);
        access = std::make_unique<ServerAccess>(*settings, *dm, connection, ui);
    }

    void passwordKeys_data()
    {
        QTest::addColumn<QString>("typed"); // '<' stands for Backspace
        QTest::addColumn<QString>("hidden");
        QTest::newRow("letter space letter") << "a b" << "ab";
        QTest::newRow("three, backspace, fourth") << "abc<d" << "abd";
        QTest::newRow("refused characters") << "x\"'\\y" << "xy";
        QTest::newRow("backspace on empty") << "<<a" << "a";
        QTest::newRow("accented and symbols") << "è€#!" << "è€#!";
    }
    void passwordKeys()
    {
        QFETCH(QString, typed);
        QFETCH(QString, hidden);
        TAutenticaForm form(*access, *settings, ui);
        form.show();
        auto *pwd = form.findChild<QLineEdit *>(QStringLiteral("PwdEdit"));
        pwd->setFocus();
        for (QChar c : typed) {
            if (c == QLatin1Char('<'))
                QTest::keyClick(pwd, Qt::Key_Backspace);
            else if (c.unicode() < 0x80)
                QTest::keyClicks(pwd, QString(c));
            else // QTest only types ASCII: send the key event the keyboard would
                QTest::sendKeyEvent(QTest::Click, pwd, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        QCOMPARE(form.hiddenPassword(), hidden);
        QCOMPARE(pwd->text(), QString(hidden.size(), QLatin1Char('*')));
    }

    void okWithEmptyFieldsNamesTheUserFirst()
    {
        TAutenticaForm form(*access, *settings, ui);
        form.show();
        ModalHelper modal([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
        form.findChild<QPushButton *>(QStringLiteral("OKBT"))->click();
        QVERIFY(modal.seen());
        QCOMPARE(modal.text(), QStringLiteral("Inserire il nome utente (e-mail)"));
        QVERIFY(form.isVisible());
        QVERIFY(server->requests.isEmpty());
    }

    void acceptedUserIsStored()
    {
        answer = "ok Benvenuto";
        TAutenticaForm form(*access, *settings, ui);
        form.show();
        QTest::keyClicks(form.findChild<QLineEdit *>(QStringLiteral("UserEdit")), QStringLiteral("geo@studio.it"));
        QTest::keyClicks(form.findChild<QLineEdit *>(QStringLiteral("PwdEdit")), QStringLiteral("s3greta"));
        form.findChild<QPushButton *>(QStringLiteral("OKBT"))->click();
        QCOMPARE(form.result(), 1);
        QCOMPARE(sentPassword(server->requests.value(0)), QStringLiteral("s3greta"));
        QCOMPARE(settings->ReadRootValue(setting::kUser), QStringLiteral("geo@studio.it"));
        QCOMPARE(settings->ReadRootValue(setting::kPwd), QStringLiteral("s3greta"));
        QVERIFY(settings->ReadRegistered());
    }

    void refusedPasswordOverwritesNothing()
    {
        answer = "KO Password errata";
        settings->WriteRootValue(setting::kUser, QStringLiteral("old@studio.it"));
        settings->WriteRootValue(setting::kPwd, QStringLiteral("old"));
        TAutenticaForm form(*access, *settings, ui);
        form.show();
        auto *user = form.findChild<QLineEdit *>(QStringLiteral("UserEdit"));
        auto *pwd = form.findChild<QLineEdit *>(QStringLiteral("PwdEdit"));
        QTest::keyClicks(user, QStringLiteral("new@studio.it"));
        QTest::keyClicks(pwd, QStringLiteral("wrong"));
        ModalHelper modal([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
        form.findChild<QPushButton *>(QStringLiteral("OKBT"))->click();
        QVERIFY(modal.seen());
        QCOMPARE(modal.title(), QStringLiteral("Errore"));
        QCOMPARE(modal.text(), QStringLiteral("Password errata"));
        QVERIFY(form.isVisible());
        QCOMPARE(user->text(), QStringLiteral("new@studio.it"));
        QCOMPARE(pwd->text(), QString());
        QCOMPARE(form.hiddenPassword(), QString());
        QCOMPARE(settings->ReadRootValue(setting::kUser), QStringLiteral("old@studio.it"));
        QCOMPARE(settings->ReadRootValue(setting::kPwd), QStringLiteral("old"));
    }
};

QTEST_MAIN(TestAutentica)
#include "tst_autentica.moc"
