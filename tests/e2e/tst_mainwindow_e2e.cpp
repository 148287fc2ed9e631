#include "ModalHelper.h"
#include "TafServerProcess.h"

#include "account/Connection.h"
#include "account/ServerAccess.h"
#include "account/WidgetAccountUi.h"
#include "mainwin/CRMain.h"
#include "mainwin/TafDBGrid.h"
#include "service/DMTAFQueryPhp.h"
#include "service/ServiceConstants.h"
#include "settings/CRGestioneRegistro.h"
#include "settings/ReferenceLists.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTest>
#include <QPushButton>
#include <QToolButton>

using namespace tavix;

// The main window against a real archive service on loopback.
class TestMainWindow : public QObject
{
    Q_OBJECT

    TafServerProcess server;
    MemoryKeyStore keys;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<TDM_Data> dm;
    AlwaysConnected connection;
    WidgetAccountUi ui;
    std::unique_ptr<ServerAccess> access;
    std::unique_ptr<TCRMainForm> window;

    template <typename T> T *child(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    QComboBox *provincia() const { return child<QComboBox>("Provincia_CB"); }
    QComboBox *comune() const { return child<QComboBox>("Comune_CB"); }
    bool enabled(const char *action) const { return window->action(QLatin1String(action))->isEnabled(); }
    bool selectionsEnabled() const
    {
        for (const char *a : {"SelListaFogli_Action", "SelIntFogli_Action", "SelListaPF_Action",
                              "SelPFFoglio_Action", "SelAttendib_Action", "SelComune_Action"})
            if (!enabled(a))
                return false;
        return true;
    }
    bool resultActionsEnabled() const
    {
        return enabled("StampaElenco_Action") && enabled("UtilitaDistanzePF_Action") &&
               enabled("VisualizzaSchedaPF_Action");
    }
    void open(const QString &province, const QString &comuneName, bool firstStart = false)
    {
        keys = MemoryKeyStore();
        settings = std::make_unique<SettingsStore>(keys);
        settings->WriteRootValue(setting::kUser, QString::fromUtf8(TafServerProcess::kUser));
        settings->WriteRootValue(setting::kPwd, QString::fromUtf8(TafServerProcess::kPassword));
        settings->WriteRootValue(setting::kVersione, QStringLiteral("99.0")); // no update offered
        if (!firstStart)
            settings->WriteFirstStart(false);
        settings->WriteRegistered(true);
        settings->WriteSetting(setting::kProvinciaDefault, province);
        settings->WriteSetting(setting::kComuneDefault, comuneName);
        dm = std::make_unique<TDM_Data>();
        access = std::make_unique<ServerAccess>(*settings, *dm, connection, ui);
        window = std::make_unique<TCRMainForm>(*settings, *dm, *access);
        window->resize(1200, 700);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void chooseProvince(const QString &name)
    {
        provincia()->setCurrentIndex(provincia()->findText(name));
        emit provincia()->activated(provincia()->currentIndex());
    }

private slots:
    void initTestCase()
    {
        QString error;
        QVERIFY2(server.start(&error), qPrintable(error));
        setServiceBaseOverride(server.baseUrl());
        setComuniFolder(QStringLiteral(TAVIX_SOURCE_DIR "/data/FilesComuni"));
    }

    void cleanup() { window.reset(); }

    void withoutDefaultsNothingIsChosen()
    {
        open(QString(), QString());
        QCOMPARE(provincia()->count(), 103);
        QCOMPARE(provincia()->currentIndex(), -1);
        QCOMPARE(comune()->currentIndex(), -1);
        QVERIFY(!enabled("SelComune_Action") && !enabled("SelListaFogli_Action"));
        QVERIFY(enabled("SelZona_Action"));
        QVERIFY(!resultActionsEnabled());

        chooseProvince(QStringLiteral("ROMA"));
        QVERIFY(comune()->count() > 100);
        QCOMPARE(comune()->currentIndex(), -1);
        comune()->setCurrentIndex(comune()->findText(QStringLiteral("ROMA")));
        emit comune()->activated(comune()->currentIndex());
        QVERIFY(selectionsEnabled());
    }

    void leavingTheProvinceListReloadsTheComuni()
    {
        open(QStringLiteral("ROMA"), QStringLiteral("ROMA"));
        QCOMPARE(comune()->currentText(), QStringLiteral("ROMA"));
        provincia()->setFocus();
        provincia()->setCurrentIndex(provincia()->findText(QStringLiteral("AOSTA")));
        comune()->setFocus(); // Tab out
        QVERIFY(comune()->findText(QStringLiteral("CHATILLON")) >= 0);
        QCOMPARE(comune()->currentIndex(), -1);
        QVERIFY(!enabled("SelComune_Action"));
    }

    void enterInTheComuneListSelectsTheWholeComune()
    {
        open(QStringLiteral("ROMA"), QString());
        comune()->setFocus();
        QTest::keyClick(comune(), Qt::Key_Return); // no comune: nothing happens
        QVERIFY(child<TafDBGrid>("TAF_DBGrid")->isHidden());

        comune()->setCurrentIndex(comune()->findText(QStringLiteral("ROMA")));
        emit comune()->activated(comune()->currentIndex());
        QTest::keyClick(comune(), Qt::Key_Return);
        auto *grid = child<TafDBGrid>("TAF_DBGrid");
        QVERIFY(grid->isVisible());
        QCOMPARE(grid->model()->rowCount(), 4);
        QCOMPARE(child<QLabel>("SelezioneLabel")->text(), QStringLiteral("PROVINCIA E COMUNE"));
        QCOMPARE(child<QLabel>("TotPFLabel")->text(), QStringLiteral("4"));
        QCOMPARE(child<QLabel>("NComuneLabel")->text(), QStringLiteral("ROMA"));
        QVERIFY(resultActionsEnabled());

        // 22 visible columns with the archive's titles; XqYq and Provincia hidden.
        QStringList titles;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            titles << grid->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles.size(), 22);
        QCOMPARE(titles.mid(0, 6), (QStringList{"Comune", "Sez", "Foglio", "PF", "Particella", "X Cassini"}));
        QVERIFY(!titles.contains(u"XqYq"_qs) && !titles.contains(u"Provincia"_qs));
        QCOMPARE(grid->model()->index(0, 5).data().toString(), QStringLiteral("-2210.500"));

        // A comune change keeps the grid but disables the result actions.
        comune()->setCurrentIndex(comune()->findText(QStringLiteral("FIUMICINO")));
        emit comune()->activated(comune()->currentIndex());
        QVERIFY(grid->isVisible());
        QVERIFY(!resultActionsEnabled());
    }

    void aNegativeResultWarnsAndResets()
    {
        open(QStringLiteral("ROMA"), QStringLiteral("ROMA"));
        comune()->setCurrentIndex(comune()->findText(QStringLiteral("FIUMICINO")));
        emit comune()->activated(comune()->currentIndex());
        ModalHelper modal([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
        window->action(QStringLiteral("SelComune_Action"))->trigger();
        QVERIFY(modal.seen());
        QCOMPARE(modal.title(), QStringLiteral("AVVISO"));
        QCOMPARE(modal.text(), QStringLiteral("Ricerca negativa: i dati inseriti non hanno prodotto alcun risultato"));
        QVERIFY(child<TafDBGrid>("TAF_DBGrid")->isHidden());
        QCOMPARE(comune()->currentText(), QStringLiteral("ROMA"));
        QVERIFY(!resultActionsEnabled());
        QVERIFY(!window->ClientDataSet.isActive());
    }

    void aGroupMarkerStaysUntilRipristina()
    {
        open(QStringLiteral("ROMA"), QStringLiteral("ROMA"));
        window->action(QStringLiteral("SelComune_Action"))->trigger();
        window->MarkGroupResult(true, false);
        QCOMPARE(comune()->currentText(), QStringLiteral("GRUPPO DI COMUNI"));
        QVERIFY(!comune()->isEnabled() && provincia()->isEnabled());
        window->UpdateActionStates(true);
        QVERIFY(!enabled("SelComune_Action") && enabled("SelZona_Action"));

        child<QToolButton>("Ripristina_SB")->click();
        QVERIFY(comune()->isEnabled());
        QCOMPARE(comune()->findText(QStringLiteral("GRUPPO DI COMUNI")), -1);
        QCOMPARE(comune()->currentText(), QStringLiteral("ROMA"));
        QVERIFY(child<TafDBGrid>("TAF_DBGrid")->isHidden());
    }

    void firstStartShowsTheNoteThenTheSettingsOnce()
    {
        std::unique_ptr<ModalHelper> settingsDialog;
        ModalHelper note([&](QWidget *box) {
            settingsDialog = std::make_unique<ModalHelper>([](QWidget *dialog) {
                dialog->findChild<QPushButton *>(QStringLiteral("OkBT"))->click();
            });
            box->findChild<QPushButton *>(QStringLiteral("SpeedButton1"))->click();
        });
        open(QStringLiteral("ROMA"), QStringLiteral("ROMA"), true);
        QTRY_VERIFY(!settings->ReadFirstStart());
        QCOMPARE(note.className(), QStringLiteral("tavix::TInfoAvvioForm"));
        QVERIFY(settingsDialog && settingsDialog->seen());
        QVERIFY(child<QLabel>("Istruzioni_Label")->isVisible());
        QCOMPARE(comune()->currentText(), QStringLiteral("ROMA"));
    }

    void closingReportsPrintedCardsOnlyWhenThereAreSome()
    {
        open(QStringLiteral("ROMA"), QStringLiteral("ROMA"));
        window->close();
        QVERIFY(!access->UserVerified); // no card: the gate is not even asked
        open(QStringLiteral("ROMA"), QStringLiteral("ROMA"));
        window->PrintedCards << QStringLiteral("01/0120/H501") << QStringLiteral("02/0120/H501");
        window->close();
        QVERIFY(access->UserVerified);
    }

    void zoneSearchNeedsAResult()
    {
        open(QStringLiteral("ROMA"), QStringLiteral("ROMA"));
        ModalHelper modal([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
        window->action(QStringLiteral("SelZona_Action"))->trigger();
        QVERIFY(modal.seen());
        QVERIFY(modal.text().startsWith(QLatin1String("La ricerca per zona lavora solo su dati visualizzati")));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow_e2e.moc"
