#include "ModalHelper.h"

#include "account/Help.h"
#include "service/Error.h"
#include "settings/CRGestioneRegistro.h"
#include "settings/CRImpostazioniGenerali.h"
#include "settings/ReferenceLists.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace tavix;

namespace {

// Keeps every write in its order; can be made to fail like an unwritable store.
class RecordingKeyStore : public MemoryKeyStore
{
public:
    void write(const QString &section, const QString &name, const QString &text) override
    {
        if (failWrites)
            throw Error(QStringLiteral("Impossibile scrivere l'impostazione %1").arg(name));
        writes << section + QLatin1Char('\\') + name + QLatin1Char('=') + text;
        MemoryKeyStore::write(section, name, text);
    }
    QStringList writes;
    bool failWrites = false;
};

const QStringList kProvinces{"LATINA", "RIETI", "ROMA", "GRUPPO DI PROVINCE"};
const QStringList kRoma{"CIAMPINO", "FIUMICINO", "ROMA"};
const QStringList kLatina{"APRILIA", "LATINA", "SABAUDIA"};

} // namespace

class TestImpostazioniGenerali : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    RecordingKeyStore keys;
    std::unique_ptr<SettingsStore> settings;

    template <typename T> static T *child(QWidget &form, const char *name)
    {
        auto *w = form.findChild<T *>(QLatin1String(name));
        Q_ASSERT(w);
        return w;
    }
    static QStringList itemsOf(QComboBox *combo)
    {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        return items;
    }
    void save(const QString &province, const QString &comune)
    {
        settings->WriteSetting(setting::kProvinciaDefault, province);
        settings->WriteSetting(setting::kComuneDefault, comune);
        keys.writes.clear();
    }
    static void showActive(QWidget &form)
    {
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        for (const auto &[name, lines] : {std::pair{"ROMA", kRoma}, std::pair{"LATINA", kLatina}}) {
            QFile file(folder.filePath(QLatin1String(name) + QLatin1String(".txt")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(lines.join(QLatin1String("\r\n")).toLatin1());
        }
        setComuniFolder(folder.path());
    }

    void init()
    {
        keys = RecordingKeyStore();
        settings = std::make_unique<SettingsStore>(keys);
        settings->WriteFirstStart(false);
        keys.writes.clear();
    }

    void freshSettingsSelectNothing()
    {
        TImpostazioniGeneraliForm form(*settings, kProvinces, kRoma);
        form.show();
        auto *prov = child<QComboBox>(form, "ProvCombo");
        auto *com = child<QComboBox>(form, "ComCombo");
        QCOMPARE(itemsOf(prov), kProvinces); // the main window's list, group marker included
        QCOMPARE(itemsOf(com), kRoma);
        QCOMPARE(prov->currentIndex(), -1);
        QCOMPARE(com->currentIndex(), -1);
        QVERIFY(child<QCheckBox>(form, "StampaCoordCB")->isChecked());
        for (const char *edit :
             {"Tecnico_Edit", "NIscrizione_Edit", "Qualifica_Edit", "ProvTecnico_Edit"})
            QVERIFY(child<QLineEdit>(form, edit)->text().isEmpty());
        QCOMPARE(child<QTabWidget>(form, "PageControl1")->currentWidget()->objectName(),
                 QStringLiteral("ImpStampa_TabSheet"));
        QCOMPARE(HelpTopicOf(&form), 3);
        // The long part of a hint goes to the panel at the top.
        form.findChild<QTabWidget *>()->setCurrentIndex(0);
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(prov, &enter);
        QCOMPARE(child<QLabel>(form, "StatusBar")->text(),
                 QStringLiteral("Provincia da visualizzare di default all'apertura del programma"));
    }

    void savedValuesAreSelectedIgnoringCase_data()
    {
        QTest::addColumn<QString>("savedProvince");
        QTest::addColumn<QString>("savedComune");
        QTest::addColumn<QStringList>("mainWindowComuni");
        QTest::addColumn<QString>("province");
        QTest::addColumn<QString>("comune");
        QTest::newRow("same case") << "ROMA"
                                   << "FIUMICINO" << kRoma << "ROMA"
                                   << "FIUMICINO";
        QTest::newRow("another case") << "roma"
                                      << "Fiumicino" << kRoma << "ROMA"
                                      << "FIUMICINO";
        QTest::newRow("main window on another province") << "ROMA"
                                                         << "FIUMICINO" << kLatina << "ROMA"
                                                         << "";
        QTest::newRow("saved province no longer listed") << "ANCONA"
                                                         << "" << kRoma << ""
                                                         << "";
    }
    void savedValuesAreSelectedIgnoringCase()
    {
        QFETCH(QString, savedProvince);
        QFETCH(QString, savedComune);
        QFETCH(QStringList, mainWindowComuni);
        QFETCH(QString, province);
        QFETCH(QString, comune);
        save(savedProvince, savedComune);
        TImpostazioniGeneraliForm form(*settings, kProvinces, mainWindowComuni);
        form.show();
        QCOMPARE(child<QComboBox>(form, "ProvCombo")->currentText(), province);
        QCOMPARE(child<QComboBox>(form, "ComCombo")->currentText(), comune);
        QCOMPARE(itemsOf(child<QComboBox>(form, "ComCombo")), mainWindowComuni);
    }

    void leavingTheProvinceLoadsItsComuni_data()
    {
        QTest::addColumn<int>("keysUp"); // from ROMA: 1 → RIETI, 2 → LATINA
        QTest::addColumn<QStringList>("comuni");
        QTest::addColumn<QString>("message");
        QTest::newRow("province with its file") << 2 << kLatina << "";
        QTest::newRow("file missing") << 1 << QStringList{} << "RIETI.txt";
    }
    void leavingTheProvinceLoadsItsComuni()
    {
        QFETCH(int, keysUp);
        QFETCH(QStringList, comuni);
        QFETCH(QString, message);
        save(QStringLiteral("ROMA"), QStringLiteral("CIAMPINO"));
        TImpostazioniGeneraliForm form(*settings, kProvinces, kRoma);
        showActive(form);
        child<QTabWidget>(form, "PageControl1")->setCurrentIndex(0);
        auto *prov = child<QComboBox>(form, "ProvCombo");
        auto *com = child<QComboBox>(form, "ComCombo");
        prov->setFocus();
        for (int i = 0; i < keysUp; ++i)
            QTest::keyClick(prov, Qt::Key_Up);
        QCOMPARE(com->currentIndex(), -1); // the change cleared the comune at once…
        QCOMPARE(itemsOf(com), kRoma);     // …but the list follows only on leaving the box

        ModalHelper modal([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
        QTest::keyClick(prov, Qt::Key_Tab);
        QCOMPARE(itemsOf(com), comuni);
        QCOMPARE(com->currentIndex(), -1);
        QTRY_COMPARE(modal.seen(), !message.isEmpty());
        if (!message.isEmpty()) {
            QVERIFY2(modal.text().contains(message), qPrintable(modal.text()));
            QVERIFY(form.isVisible());
        }
    }

    void typingOpensTheListAtTheFirstMatch()
    {
        save(QStringLiteral("ROMA"), QStringLiteral("CIAMPINO"));
        TImpostazioniGeneraliForm form(*settings, kProvinces, kRoma);
        showActive(form);
        child<QTabWidget>(form, "PageControl1")->setCurrentIndex(0);
        auto *prov = child<QComboBox>(form, "ProvCombo");
        prov->setFocus();
        QTest::keyClick(prov, Qt::Key_R);
        QTRY_VERIFY(prov->view()->isVisible());
        QCOMPARE(prov->view()->currentIndex().data().toString(), QStringLiteral("RIETI"));
        QTest::keyClick(prov->view(), Qt::Key_Return);
        QTRY_VERIFY(!prov->view()->isVisible());
        QCOMPARE(prov->currentText(), QStringLiteral("RIETI"));
        QCOMPARE(child<QComboBox>(form, "ComCombo")->currentIndex(), -1);
        QCOMPARE(itemsOf(child<QComboBox>(form, "ComCombo")), kRoma); // opening the list is no exit
    }

    void okWritesEverySettingInItsOrder()
    {
        save(QStringLiteral("roma"), QStringLiteral("fiumicino"));
        settings->WriteSetting(setting::kNumIscrizTecnico, QStringLiteral("77"));
        keys.writes.clear();
        TImpostazioniGeneraliForm form(*settings, kProvinces, kRoma);
        showActive(form);
        child<QCheckBox>(form, "StampaCoordCB")->setChecked(false);
        QTest::keyClicks(child<QLineEdit>(form, "Tecnico_Edit"), QStringLiteral("mario d'amico"));
        QTest::keyClicks(child<QLineEdit>(form, "Qualifica_Edit"), QStringLiteral("geometri"));
        QTest::keyClicks(child<QLineEdit>(form, "ProvTecnico_Edit"), QStringLiteral("rmx"));
        child<QPushButton>(form, "OkBT")->click();
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(keys.writes, (QStringList{
                                  "IMPOSTAZIONI\\ProvinciaDefault=ROMA",
                                  "IMPOSTAZIONI\\ComuneDefault=FIUMICINO",
                                  "IMPOSTAZIONI\\StampaCoord=0",
                                  "IMPOSTAZIONI\\NomeTecnico=MARIO D'AMICO",
                                  "IMPOSTAZIONI\\NumIscrizTecnico=77",
                                  "IMPOSTAZIONI\\QualificaTecnico=GEOMETRI",
                                  "IMPOSTAZIONI\\ProvTecnico=RM",
                              }));
    }

    void azzeraThenOkStoresNoProvinceAndNoComune()
    {
        save(QStringLiteral("ROMA"), QStringLiteral("ROMA"));
        TImpostazioniGeneraliForm form(*settings, kProvinces, kRoma);
        form.show();
        child<QPushButton>(form, "ResetProvinciaBT")->click();
        QCOMPARE(child<QComboBox>(form, "ProvCombo")->currentIndex(), -1);
        QCOMPARE(child<QComboBox>(form, "ComCombo")->currentIndex(), -1);
        child<QPushButton>(form, "OkBT")->click();
        QCOMPARE(keys.writes.mid(0, 2),
                 (QStringList{"IMPOSTAZIONI\\ProvinciaDefault=", "IMPOSTAZIONI\\ComuneDefault="}));
    }

    void escapeWritesNothing()
    {
        TImpostazioniGeneraliForm form(*settings, kProvinces, kRoma);
        showActive(form);
        QTest::keyClicks(child<QLineEdit>(form, "Tecnico_Edit"), QStringLiteral("x"));
        QTest::keyClick(child<QLineEdit>(form, "Tecnico_Edit"), Qt::Key_Escape);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QVERIFY(keys.writes.isEmpty());
    }

    void registrationNumberTakesDigitsOnly()
    {
        TImpostazioniGeneraliForm form(*settings, kProvinces, kRoma);
        showActive(form);
        auto *edit = child<QLineEdit>(form, "NIscrizione_Edit");
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("12a4"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, QStringLiteral(" -5.6"));
        QCOMPARE(edit->text(), QStringLiteral("12456"));
        edit->insert(QStringLiteral("7x")); // pasted or dropped text obeys the same rule
        QCOMPARE(edit->text(), QStringLiteral("12456"));
        QTest::keyClicks(edit, QStringLiteral("789012"));
        QCOMPARE(edit->text(), QStringLiteral("1245678901")); // at most 10
    }

    void aFailedWriteStillClosesWithOk()
    {
        TImpostazioniGeneraliForm form(*settings, kProvinces, kRoma);
        showActive(form);
        keys.failWrites = true;
        ModalHelper modal([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
        child<QPushButton>(form, "OkBT")->click();
        QVERIFY(modal.seen());
        QCOMPARE(modal.text(),
                 QStringLiteral("Impossibile scrivere l'impostazione ProvinciaDefault"));
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QVERIFY(!form.isVisible());
    }

    void firstStartShowsTheNoteFirst()
    {
        settings->WriteFirstStart(true);
        save(QStringLiteral("ROMA"), QString());
        QWidget owner;
        owner.setGeometry(100, 80, 900, 640);
        owner.show();
        TImpostazioniGeneraliForm form(*settings, kProvinces, kRoma, &owner);
        bool formOnScreen = true;
        QPoint noteCentre;
        bool frameless = false;
        ModalHelper modal([&](QWidget *note) {
            formOnScreen = form.windowHandle() && form.windowHandle()->isVisible();
            noteCentre = note->frameGeometry().center();
            frameless = note->windowFlags() & Qt::FramelessWindowHint;
            QVERIFY(
                ModalHelper::clickButton(note, QStringLiteral("Avvia le impostazioni generali")));
        });
        form.show();
        QVERIFY(modal.seen());
        QVERIFY(!modal.leftOpen());
        QCOMPARE(modal.className(), QStringLiteral("tavix::TInfoAvvioForm"));
        QCOMPARE(
            modal.text(),
            QStringLiteral("\nPrima di utilizzare il programma è consigliabile \n"
                           "definire alcune impostazioni generali.\n\n"
                           "Confermando questo messaggio con un clic sul pulsante sottostante \n"
                           "il programma visualizzerà automaticamente l'apposita finestra."));
        QVERIFY(frameless);
        QVERIFY(!formOnScreen);
        QVERIFY((noteCentre - owner.frameGeometry().center()).manhattanLength() <= 2);
        QVERIFY(form.isVisible());
        QCOMPARE(child<QComboBox>(form, "ProvCombo")->currentText(), QStringLiteral("ROMA"));
        QVERIFY(keys.writes.isEmpty()); // the first start is closed by its caller, not here
    }
};

QTEST_MAIN(TestImpostazioniGenerali)
#include "tst_impostazionigenerali.moc"
