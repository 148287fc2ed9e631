#include "ModalHelper.h"
#include "TafServerProcess.h"

#include "account/CRAutentica.h"
#include "account/Connection.h"
#include "account/ServerAccess.h"
#include "account/WidgetAccountUi.h"
#include "service/DMTAFQueryPhp.h"
#include "service/ServiceConstants.h"
#include "settings/CRGestioneRegistro.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tavix;

namespace {

// The real windows, but the update's save dialog answers with a chosen path.
class TestAccountUi : public WidgetAccountUi
{
public:
    QString saveAs;
    QString proposed;
    QString askSaveFile(const QString &name, const QString &) override
    {
        proposed = name;
        return saveAs;
    }
    void openWithShell(const QString &path) override { opened = path; }
    QString opened;
};

void pressReturn(QWidget *box)
{
    ModalHelper::pressKey(box, Qt::Key_Return);
}

} // namespace

// Login, refusal and update offer, from the gate down to a real archive service.
class TestAccountE2E : public QObject
{
    Q_OBJECT

    TafServerProcess server;
    MemoryKeyStore keys;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<TDM_Data> dm;
    AlwaysConnected connection;
    TestAccountUi ui;
    std::unique_ptr<ServerAccess> access;

    const QString user = QStringLiteral("nuovo@studio.it");
    const QString password = QStringLiteral("s3greta");

private slots:
    void initTestCase()
    {
        QString error;
        QVERIFY2(server.start(&error), qPrintable(error));
        setServiceBaseOverride(server.baseUrl());
        QCOMPARE(TafServerProcess::run({QStringLiteral("add-user"), QStringLiteral("--db"),
                                        server.databasePath(), user, password}),
                 0);
    }

    void init()
    {
        keys = MemoryKeyStore();
        settings = std::make_unique<SettingsStore>(keys);
        settings->WriteRootValue(setting::kVersione, QStringLiteral("99.0"));
        dm = std::make_unique<TDM_Data>();
        access = std::make_unique<ServerAccess>(*settings, *dm, connection, ui);
        ui.setLoginDialogRunner([this] {
            TAutenticaForm login(*access, *settings, ui);
            return login.exec();
        });
    }

    void firstUseInvitesThenTheDialogAcceptsAndStores()
    {
        std::unique_ptr<ModalHelper> dialogHelper;
        ModalHelper invitation([&](QWidget *box) {
            // The login dialog comes next: fill it in and confirm.
            dialogHelper = std::make_unique<ModalHelper>([this](QWidget *dialog) {
                QTest::keyClicks(dialog->findChild<QLineEdit *>(QStringLiteral("UserEdit")), user);
                QTest::keyClicks(dialog->findChild<QLineEdit *>(QStringLiteral("PwdEdit")), password);
                dialog->findChild<QPushButton *>(QStringLiteral("OKBT"))->click();
            });
            pressReturn(box);
        });
        QVERIFY(access->CheckServerAccess());
        QVERIFY(invitation.seen());
        QCOMPARE(invitation.text(), QStringLiteral("Per cominciare a lavorare con Tavix occorre che ti registri"));
        QVERIFY(dialogHelper && dialogHelper->seen());
        QCOMPARE(dialogHelper->title(), QStringLiteral("Identificazione"));
        QCOMPARE(settings->ReadRootValue(setting::kUser), user);
        QCOMPARE(settings->ReadRootValue(setting::kPwd), password);
        QVERIFY(settings->ReadRegistered());
        QCOMPARE(dm->ServiceUser, user);
    }

    void aChangedPasswordShowsTheServersMessageAndKeepsTheStoredPair()
    {
        settings->WriteRegistered(true);
        settings->WriteRootValue(setting::kUser, user);
        settings->WriteRootValue(setting::kPwd, QStringLiteral("vecchia"));
        std::unique_ptr<ModalHelper> dialogHelper;
        ModalHelper refusal([&](QWidget *box) {
            dialogHelper = std::make_unique<ModalHelper>([](QWidget *dialog) {
                ModalHelper::pressKey(dialog, Qt::Key_Escape);
            });
            pressReturn(box);
        });
        QVERIFY(!access->CheckServerAccess());
        QCOMPARE(refusal.title(), QStringLiteral("Errore"));
        QVERIFY(!refusal.text().isEmpty());
        QVERIFY(dialogHelper && dialogHelper->seen());
        QVERIFY(!access->UserVerified);
        QCOMPARE(settings->ReadRootValue(setting::kPwd), QStringLiteral("vecchia"));
    }

    void anUpdateIsOfferedDownloadedAndDeclined()
    {
        QDir().mkpath(server.rootPath() + QStringLiteral("/aggiornamenti"));
        QFile installer(server.rootPath() + QStringLiteral("/aggiornamenti/TavixSetup-2.0.exe"));
        QVERIFY(installer.open(QIODevice::WriteOnly));
        installer.write("MZ installer");
        installer.close();
        QCOMPARE(TafServerProcess::run({QStringLiteral("add-release"), QStringLiteral("--db"),
                                        server.databasePath(), QStringLiteral("2.0"),
                                        QStringLiteral("TavixSetup-2.0.exe")}),
                 0);
        settings->WriteRootValue(setting::kUser, user);
        settings->WriteRootValue(setting::kPwd, password);
        settings->WriteRootValue(setting::kVersione, QStringLiteral("1.0"));
        QTemporaryDir folder;
        ui.saveAs = folder.filePath(QStringLiteral("TavixSetup-2.0.exe"));

        std::unique_ptr<ModalHelper> install;
        ModalHelper offer([&](QWidget *box) {
            install = std::make_unique<ModalHelper>([](QWidget *b) {
                ModalHelper::clickButton(b, QStringLiteral("No"));
            });
            ModalHelper::clickButton(box, QStringLiteral("Si"));
        });
        QVERIFY(access->CheckServerAccess()); // declined: the operation goes on
        QCOMPARE(offer.text(), QStringLiteral("E' disponibile una versione aggiornata di Tavix, vuoi scaricarla ora?"));
        QVERIFY(install && install->seen());
        QVERIFY(install->text().startsWith(QLatin1String("Vuoi aggiornare ora il programma?")));
        QCOMPARE(ui.proposed, QStringLiteral("TavixSetup-2.0.exe"));
        QFile got(ui.saveAs);
        QVERIFY(got.open(QIODevice::ReadOnly));
        QCOMPARE(got.readAll(), QByteArray("MZ installer"));
        QVERIFY(ui.opened.isEmpty());
        QVERIFY(access->UpdateChecked);
    }
};

QTEST_MAIN(TestAccountE2E)
#include "tst_account_e2e.moc"
